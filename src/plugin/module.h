// The module object: everything that lives from load to unload. The copies
// of the host's tables, the settings, the registry key, the default
// position-file path, the one position file held in memory and the table of
// the editors this process follows.
//
// One instance lives in static storage and is zero (empty strings, zero
// numbers, no document, empty table, no host tables) when the module is
// loaded. Only the exports and the unload hook reach it (LoadedModule);
// everything below takes the Module it works on as an argument. The host
// calls the plug-in on one thread, one call at a time; nothing is locked.
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"
#include "plugin/settings.h"
#include "store/editor_table.h"
#include "store/position_file.h"

namespace tarnwick {
namespace plugin {

struct Module {
    // The copies of the host's tables; zero until TakeHostTables succeeds.
    PluginStartupInfo HostInfo;
    FarStandardFunctions HostFunctions;
    // 1 when the host's record was smaller than the plug-in needs (or lacked
    // a service), so that nothing was taken. 0 at load and after a take.
    std::int32_t HostTooOld;
    // True after a successful TakeHostTables.
    bool HostReady;

    // The configuration; changed only by LoadSettings and the configuration dialog.
    Settings CurrentSettings;
    // The settings key below HKEY_CURRENT_USER; empty when HasPluginKey is false.
    char PluginKey[kPluginKeySize];
    bool HasPluginKey;
    // Default path of the position file, beside the module.
    char DefaultCfgFile[kPathSize];

    // The position file in memory and the editors tracked in this process.
    store::PositionFile Positions;
    store::EditorTable Editors;
    // True while the document reflects the file as of the last
    // LoadPositions (false when that Load failed, and before the first).
    bool PositionsCurrent;
};

// The module's one instance, for the exports, the unload hook and the tests
// that drive the exports.
Module& LoadedModule();

// Loads the configured position file into the module's document (see
// store::Load); true when the document reflects the file.
bool LoadPositions(Module& m);
// Saves the module's document to the configured position file, after a
// Load when `reloadFirst` is set (see store::Save). Without a reload, a
// document that the last LoadPositions could not bring up to date is not
// written (false): it may be older than the file, and would replace what
// another host wrote meanwhile; the change stays in memory.
bool SavePositions(Module& m, bool reloadFirst);

}  // namespace plugin
}  // namespace tarnwick
