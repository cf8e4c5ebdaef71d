#include "plugin/module_exit.h"

#include "plugin/host.h"
#include "plugin/plugin_state.h"

namespace tarnwick {
namespace plugin {

using namespace store;

void PurgeAtExit() {
    if (CurrentSettings.RemoveOld == 0) return;
    PurgeMissing(Positions, &Editors, CurrentSettings.CfgFile);
}

void ReleaseStores() {
    DestroyAllRecords(Editors);
    UnloadDocument(Positions);
}

void ResetModuleState() {
    ReleaseStores();
    ForgetHostTables();
    ZeroPluginState();
}


}  // namespace plugin
}  // namespace tarnwick
