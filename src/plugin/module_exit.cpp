#include "plugin/module_exit.h"

#include "plugin/host.h"
#include "plugin/module.h"

namespace tarnwick {
namespace plugin {

using namespace store;

void PurgeAtExit(Module& m) {
    if (m.CurrentSettings.RemoveOld == 0) return;
    PurgeMissing(m.Positions, &m.Editors, m.CurrentSettings.CfgFile);
}

void ReleaseStores(Module& m) {
    DestroyAllRecords(m.Editors);
    UnloadDocument(m.Positions);
}

void ResetModuleState(Module& m) {
    ReleaseStores(m);
    ForgetHostTables(m);
    // A fresh object: everything as at load.
    m = Module{};
}


}  // namespace plugin
}  // namespace tarnwick
