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

#if !defined(_WIN32)
namespace {
// On Windows the release runs from DllMain when the module is unloaded;
// elsewhere from the module's destructor list.
__attribute__((destructor)) void ReleaseAtUnload() { ReleaseStores(); }
}  // namespace
#endif

}  // namespace plugin
}  // namespace tarnwick
