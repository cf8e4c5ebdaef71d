#include "core/module_loader.h"

#include "core/host_state.h"
#include "core/host_version.h"
#include "core/module_system.h"

namespace twhost {
namespace {

template <typename Fn>
void Bind(void* handle, const char* name, Fn* slot) {
    *slot = reinterpret_cast<Fn>(FindModuleExport(handle, name));
}

// A module without SetStartupInfo is refused (and unloaded).
bool CheckStartupExport(const std::string& path, PluginModule* module, std::string* error) {
    void* handle = module->Handle;
    if (module->SetStartupInfo == nullptr) {
        *error = "the module has no export named SetStartupInfo";
        // A module built without undecorated names exports "_Name@4".
        if (FindModuleExport(handle, "_SetStartupInfo@4") != nullptr || FindModuleExport(handle, "SetStartupInfo@4") != nullptr) {
            *error += " (its exports carry decorated names)";
        }
        UnloadPluginModule(path, module);
        return false;
    }
    return true;
}

}  // namespace

bool LoadPluginModule(const std::string& path, PluginModule* module, std::string* error) {
    *module = PluginModule{};
    void* handle = OpenModule(path, error);
    if (handle == nullptr) return false;
    module->Handle = handle;
    Bind(handle, "SetStartupInfo", &module->SetStartupInfo);
    Bind(handle, "GetPluginInfo", &module->GetPluginInfo);
    Bind(handle, "OpenPlugin", &module->OpenPlugin);
    Bind(handle, "ProcessEditorEvent", &module->ProcessEditorEvent);
    Bind(handle, "ProcessViewerEvent", &module->ProcessViewerEvent);
    Bind(handle, "Configure", &module->Configure);
    Bind(handle, "ExitFAR", &module->ExitFAR);
    Bind(handle, "LibMain", &module->LibMain);
    // As the real host does: ask an exporting module, before anything else,
    // which host it needs, and refuse it when this host is older. The 3.x
    // layer asks too, but compares the answer with nothing.
    GetMinFarVersionFn getMinFarVersion = nullptr;
    Bind(handle, "GetMinFarVersion", &getMinFarVersion);
    if (getMinFarVersion != nullptr) {
        int wanted = getMinFarVersion();
        int declared = DeclaredHostVersion();
        if (!Plays3x() && !HostIsNewEnough(declared, wanted)) {
            *error = "the module needs host version " + FarVersionText(wanted) + "; this host is " + FarVersionText(declared);
            UnloadPluginModule(path, module);
            return false;
        }
    }
    return CheckStartupExport(path, module, error);
}

bool UnloadPluginModule(const std::string& path, PluginModule* module) {
    bool released = module->Handle == nullptr || CloseModule(path, module->Handle);
    *module = PluginModule{};
    return released;
}

}  // namespace twhost
