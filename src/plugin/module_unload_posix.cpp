// The plug-in's unload hook on POSIX systems: the module's destructor list
// releases the stores when the module is unloaded.
#include "plugin/module.h"
#include "plugin/module_exit.h"

namespace tarnwick {
namespace plugin {
namespace {

__attribute__((destructor)) void ReleaseAtUnload() { ReleaseStores(LoadedModule()); }

}  // namespace
}  // namespace plugin
}  // namespace tarnwick
