#include "core/plugin_calls.h"

#include <cstring>

#include "core/console.h"
#include "core/host_state.h"
#include "core/trace.h"

using namespace tarnwick;

namespace twhost {
namespace {

// Marks the time an export runs, so a fatal error from a service knows not
// to unload the module under its own feet.
struct InPlugin {
    InPlugin() { ++Host().CallDepth; }
    ~InPlugin() { --Host().CallDepth; }
    InPlugin(const InPlugin&) = delete;
    InPlugin& operator=(const InPlugin&) = delete;
};

#define Trace(line) TWHOST_TRACE("  [export] ", line)

bool NeedModule(const void* export_, const char* name, std::string* error) {
    if (Host().Module.Handle == nullptr) {
        *error = "no module is loaded (it was unloaded by quit)";
        return false;
    }
    if (export_ == nullptr) {
        *error = std::string("the module has no export named ") + name;
        return false;
    }
    return true;
}

void Remember(long long result) {
    Host().LastResult = result;
    Host().HaveLastResult = true;
}

}  // namespace

bool ModuleLoaded() { return Host().Module.Handle != nullptr; }

bool InsidePlugin() { return Host().CallDepth > 0; }

std::string EventName(int event) {
    switch (event) {
        case EE_READ: return "EE_READ";
        case EE_SAVE: return "EE_SAVE";
        case EE_REDRAW: return "EE_REDRAW";
        case EE_CLOSE: return "EE_CLOSE";
        case EE_GOTFOCUS: return "EE_GOTFOCUS";
        case EE_KILLFOCUS: return "EE_KILLFOCUS";
        default: return "event " + std::to_string(event);
    }
}

bool CallProcessEditorEvent(int event, void* param, std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(module.ProcessEditorEvent), "ProcessEditorEvent", error)) return false;
    Trace("ProcessEditorEvent(" + EventName(event) + ")");
    int result;
    {
        InPlugin guard;
        result = module.ProcessEditorEvent(event, param);
    }
    Trace("ProcessEditorEvent(" + EventName(event) + ") = " + std::to_string(result));
    Remember(result);
    return true;
}

std::string ViewerEventName(int event) {
    switch (event) {
        case VE_READ: return "VE_READ";
        case VE_CLOSE: return "VE_CLOSE";
        case VE_GOTFOCUS: return "VE_GOTFOCUS";
        case VE_KILLFOCUS: return "VE_KILLFOCUS";
        default: return "event " + std::to_string(event);
    }
}

bool CallProcessViewerEvent(int event, void* param, std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(&module), "ProcessViewerEvent", error)) return false;
    std::string name = ViewerEventName(event) + (param != nullptr ? ", id " + std::to_string(*static_cast<int*>(param)) : ", NULL");
    if (module.ProcessViewerEvent == nullptr) {
        Trace("(no ProcessViewerEvent for " + name + ")");
        return true;
    }
    Trace("ProcessViewerEvent(" + name + ")");
    int result;
    {
        InPlugin guard;
        result = module.ProcessViewerEvent(event, param);
    }
    Trace("ProcessViewerEvent(" + name + ") = " + std::to_string(result));
    Remember(result);
    return true;
}

namespace {

template <typename Call>
bool CallWithId(Call call, int event, int id, std::string* error) {
    if (Plays3x()) {
        INT_PTR_T wide = id;
        return call(event, &wide, error);
    }
    return call(event, &id, error);
}

}  // namespace

bool CallProcessEditorEventWithId(int event, int id, std::string* error) {
    return CallWithId(CallProcessEditorEvent, event, id, error);
}

bool CallProcessViewerEventWithId(int event, int id, std::string* error) {
    return CallWithId(CallProcessViewerEvent, event, id, error);
}

bool CallOpenPlugin(int openFrom, INT_PTR_T* result, std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(module.OpenPlugin), "OpenPlugin", error)) return false;
    Trace("OpenPlugin(" + std::to_string(openFrom) + ", 0)");
    {
        InPlugin guard;
        *result = module.OpenPlugin(openFrom, 0);
    }
    Trace("OpenPlugin = " + std::to_string(static_cast<long long>(*result)));
    Remember(static_cast<long long>(*result));
    return true;
}

bool CallConfigure(int item, int* result, std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(module.Configure), "Configure", error)) return false;
    Trace("Configure(" + std::to_string(item) + ")");
    {
        InPlugin guard;
        *result = module.Configure(item);
    }
    Trace("Configure = " + std::to_string(*result));
    Remember(*result);
    return true;
}

bool CallGetPluginInfo(PluginInfo* info, std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(module.GetPluginInfo), "GetPluginInfo", error)) return false;
    std::memset(info, 0, sizeof *info);
    info->StructSize = static_cast<int>(sizeof *info);
    Trace("GetPluginInfo");
    InPlugin guard;
    module.GetPluginInfo(info);
    return true;
}

bool CallExitFar(std::string* error) {
    PluginModule& module = Host().Module;
    if (!NeedModule(reinterpret_cast<const void*>(module.ExitFAR), "ExitFAR", error)) return false;
    Trace("ExitFAR");
    InPlugin guard;
    module.ExitFAR();
    return true;
}

void CallSetStartupInfo(const PluginStartupInfo* info) {
    Trace("SetStartupInfo(StructSize " + std::to_string(info->StructSize) + ")");
    InPlugin guard;
    Host().Module.SetStartupInfo(info);
}

}  // namespace twhost
