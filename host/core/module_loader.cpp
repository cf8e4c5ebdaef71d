#include "module_loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace twhost {
namespace {

#if defined(_WIN32)
void* FindExport(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
void* FindExport(void* handle, const char* name) { return dlsym(handle, name); }
#endif

template <typename Fn>
void Bind(void* handle, const char* name, Fn* slot) {
    *slot = reinterpret_cast<Fn>(FindExport(handle, name));
}

}  // namespace

bool LoadPluginModule(const std::string& path, PluginModule* module, std::string* error) {
    *module = PluginModule{};
#if defined(_WIN32)
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) {
        *error = "LoadLibraryA failed with error " + std::to_string(GetLastError());
        return false;
    }
    module->Handle = handle;
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "dlopen failed";
        return false;
    }
    module->Handle = handle;
#endif
    Bind(handle, "SetStartupInfo", &module->SetStartupInfo);
    Bind(handle, "GetPluginInfo", &module->GetPluginInfo);
    Bind(handle, "OpenPlugin", &module->OpenPlugin);
    Bind(handle, "ProcessEditorEvent", &module->ProcessEditorEvent);
    Bind(handle, "Configure", &module->Configure);
    Bind(handle, "ExitFAR", &module->ExitFAR);
    Bind(handle, "LibMain", &module->LibMain);
    if (module->SetStartupInfo == nullptr) {
        *error = "the module has no export named SetStartupInfo";
#if defined(_WIN32)
        if (FindExport(handle, "_SetStartupInfo@4") != nullptr || FindExport(handle, "SetStartupInfo@4") != nullptr) {
            *error += " (its exports carry decorated names)";
        }
#endif
        UnloadPluginModule(path, module);
        return false;
    }
    return true;
}

bool UnloadPluginModule(const std::string& path, PluginModule* module) {
    bool released = true;
    if (module->Handle != nullptr) {
#if defined(_WIN32)
        FreeLibrary(static_cast<HMODULE>(module->Handle));
        released = GetModuleHandleA(path.c_str()) == nullptr;
#else
        dlclose(module->Handle);
        void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (still != nullptr) {
            released = false;
            dlclose(still);
        }
#endif
    }
    *module = PluginModule{};
    return released;
}

}  // namespace twhost
