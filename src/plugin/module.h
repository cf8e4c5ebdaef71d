// The module object: everything that lives from load to unload. The copies
// of the host's tables and its comparison, the environment, the settings,
// the registry key, the default position-file path, the position file held
// in memory and the table of the editors this process follows.
//
// One instance lives in static storage and is empty (empty strings, zero
// numbers, no position file, empty table, no host tables) when the module
// is loaded. Only the exports and the unload hook reach it (LoadedModule);
// everything below takes the Module it works on as an argument. The host
// calls the plug-in on one thread, one call at a time; nothing is locked.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "plugin/editor_table.h"
#include "plugin/host_abi.h"
#include "plugin/host_comparison.h"
#include "plugin/host_line.h"
#include "plugin/settings.h"
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
    // The host the tables came from (by their RootKey); Far1 until taken.
    HostLine Line;
    // The host's comparison of names (ASCII letters only until the tables
    // are taken).
    HostComparison Comparison;

    // Everything the plug-in takes from the system: the system itself
    // (platform::Env::Default()) from PrepareModule on, unless a test put
    // another one here before.
    platform::Env* Env;

    // The configuration; changed only by LoadSettings and the configuration dialog.
    Settings CurrentSettings;
    // The settings key below HKEY_CURRENT_USER; empty when HasPluginKey is false.
    char PluginKey[kPluginKeySize];
    bool HasPluginKey;
    // Default path of the position file, beside the module.
    char DefaultCfgFile[kPathSize];

    // The position file in memory: opened by the first LoadPositions, null
    // before (and when memory ran out for it).
    store::PositionFile* Positions;
    // The editors tracked in this process, and how the position file asks
    // them what is open here.
    EditorTable Editors;
    store::OpenFiles OpenHere;
    // True while the position file reflects the file as of the last
    // LoadPositions (false when that Load failed, and before the first).
    bool PositionsCurrent;
    // True while a restore moves the editor to set its bookmarks: the
    // redraws that come meanwhile are not the user's place.
    bool Restoring;
};

// The module's one instance, for the exports, the unload hook and the tests
// that drive the exports.
Module& LoadedModule();

// Sets what the module works with before its first use: the environment
// (the system's unless one is set), and the editor table's heap and
// comparison. Allocates nothing; calling it again changes nothing.
void PrepareModule(Module& m);

// The module's position file, opened first when it is not yet (null when
// memory runs out for it: every verb takes a null handle).
store::PositionFile* OpenPositions(Module& m);

// Loads the configured position file into memory (see store::Load); true
// when memory reflects the file.
bool LoadPositions(Module& m);
// Saves the position file to the configured path, after a Load when
// `reloadFirst` is set (see store::Save). Without a reload, a position file
// that the last LoadPositions could not bring up to date is not written
// (false): it may be older than the file, and would replace what another
// host wrote meanwhile; the change stays in memory.
bool SavePositions(Module& m, bool reloadFirst);

// Puts `place` into the item of (kind, path) in memory, or into a new item
// when the file has none; false when it can be neither updated nor added.
bool StoreItem(Module& m, store::ItemKind kind, const char* path, const store::StoredPlace& place);

// A file name the position file and the records can hold whole; a cut name
// could name another file.
bool UsableFileName(const char* fileName);

// A usable file name that names the file the host shows. The 3.x host's
// layer converts names to the OEM code page, and a character the page
// lacks becomes `?` or a look-alike: such a name is followed only when it
// names one existing file that no other file of its folder turns into
// (platform::Env::NamesOneFile), so that a position is never kept under a
// name that stands for another file. The 1.7x host's names are the file
// API's own.
bool FileNameToFollow(Module& m, const char* fileName);

// Releases every EditorRecord and closes the position file. Nothing is
// written to disk. Safe to call any number of times: the stores are empty
// afterwards. Runs when the module is unloaded.
void ReleaseStores(Module& m);

}  // namespace plugin
}  // namespace tarnwick
