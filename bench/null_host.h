// A host whose services cost next to nothing, for driving the plug-in's
// exports in-process, built from the stand-in host kit
// (host/kit/stand_in_host.h): one simulated current editor and viewer,
// the host's code tables, menus that
// answer a preset choice, messages and dialogs that answer at once, the
// real host's standard functions but for TruncPathStr (leaves the path)
// and ProcessName (matches nothing).
#pragma once

#include <cstdint>
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

// Gives the editor the lines of `bytes` (hostkit::SetEditorText) and lays
// them out as the 1.75 host does, in a linked list of lines, one node
// allocated for each: from then on ECTL_GETSTRING really walks that list to
// the line asked for, from the cursor's line or from the first line by the
// host's rule, and ECTL_SETPOSITION walks it from the cursor's line to the
// new one, so that a benchmark's time holds what reading lines costs in the
// real host. A cursor moved by the benchmark itself (Editor().CurLine) is
// found again without a walk.
void SetEditorText(const std::string& bytes);
// The lines ECTL_GETSTRING gave since the text was set or the counters
// reset; the steps of the walks are the editor's WalkSteps.
long long LinesRead();
void ResetWalkCounters();
// The least any search through the text must do in the real host: walks the
// list once from the first line to the last and hashes each line's text
// (64-bit FNV-1a), as reading the lines once in order does.
std::uint64_t HashLinesInOrder();

// Hands the null host's tables to the plug-in (SetStartupInfo). The module
// "lives" at `moduleName`; its settings key is `rootKey`.
void StartPlugin(const std::string& moduleName, const std::string& rootKey);

}  // namespace benchhost
