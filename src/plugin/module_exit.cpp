#include "plugin/module_exit.h"

#include "plugin/host.h"
#include "plugin/module.h"
#include "store/position_file.h"

namespace tarnwick {
namespace plugin {

namespace {

// How often ExitFAR tries to write changes that earlier saves could not.
constexpr int kExitSaveAttempts = 5;

}  // namespace

void PurgeAtExit(Module& m) {
    if (m.CurrentSettings.RemoveOld == 0) return;
    store::PurgeMissing(m.Positions, m.CurrentSettings.CfgFile);
}

void SavePendingAtExit(Module& m) {
    // Each try waits for a busy file about 200 ms already.
    for (int attempt = 0; attempt < kExitSaveAttempts && store::HasPending(m.Positions); ++attempt) {
        store::UpdateScope update(m.Positions, m.CurrentSettings.CfgFile);
        if (SavePositions(m, true)) return;
    }
}

void ResetModuleState(Module& m) {
    ReleaseStores(m);
    ForgetHostTables(m);
    // A fresh object: everything as at load.
    m = Module{};
}


}  // namespace plugin
}  // namespace tarnwick
