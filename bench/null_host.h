// A host whose services cost next to nothing, for driving the plug-in's
// exports in-process, built from the stand-in host kit
// (host/kit/stand_in_host.h): one simulated current editor and viewer,
// the host's code tables, menus that
// answer a preset choice, messages and dialogs that answer at once, the
// real host's standard functions but for TruncPathStr (leaves the path)
// and ProcessName (matches nothing).
#pragma once

#include <string>

#include "kit/one_editor.h"
#include "kit/one_viewer.h"
#include "plugin/host_abi.h"

namespace benchhost {

using CurrentEditor = hostkit::OneEditor;

// The editor that ECTL_GETINFO reports, with its bookmarks and table.
CurrentEditor& Editor();
// The viewer that VCTL_GETINFO reports.
hostkit::OneViewer& Viewer();
// The host's code tables (CharTable).
hostkit::CodeTables& Tables();
// The item every Menu call answers (0: the first).
void SetMenuAnswer(int item);

// Hands the null host's tables to the plug-in (SetStartupInfo). The module
// "lives" at `moduleName`; its settings key is `rootKey`.
void StartPlugin(const std::string& moduleName, const std::string& rootKey);

}  // namespace benchhost
