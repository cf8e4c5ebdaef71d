// The plug-in's unload hook on Windows: DllMain releases the stores when
// the module is unloaded.
#include <windows.h>

#include "plugin/module.h"
#include "plugin/module_exit.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID Reserved) {
    (void)Instance;
    // At process termination (Reserved not null) the heap goes with the
    // process: nothing is released then.
    if (Reason == DLL_PROCESS_DETACH && Reserved == nullptr) tarnwick::plugin::ReleaseStores(tarnwick::plugin::LoadedModule());
    return TRUE;
}
