// The module-wide state that lives from load to unload: the settings, the
// registry key, the default position-file path, the one position file held
// in memory and the table of the editors this process follows.
//
// Everything here is in static storage and zero (empty strings, zero
// numbers, no document, empty table) when the module is loaded. The host
// calls the plug-in on one thread, one call at a time; nothing is locked.
#pragma once

#include "plugin/settings.h"
#include "store/editor_table.h"
#include "store/position_file.h"

namespace tarnwick {
namespace plugin {

// The configuration; changed only by LoadSettings and the configuration dialog.
extern Settings CurrentSettings;

// The settings key below HKEY_CURRENT_USER; empty when HasPluginKey is false.
extern char PluginKey[kPluginKeySize];
extern bool HasPluginKey;

// Default path of the position file, beside the module.
extern char DefaultCfgFile[kPathSize];

// The position file in memory and the editors tracked in this process.
extern store::PositionFile Positions;
extern store::EditorTable Editors;

// Sets every field above back to its load-time value. Releases nothing:
// the stores must already be empty (see ReleaseStores).
void ZeroPluginState();

}  // namespace plugin
}  // namespace tarnwick
