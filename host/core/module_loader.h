// Loading the plug-in module at run time and finding its exports by their
// undecorated names: dlopen/dlsym natively, LoadLibraryA/GetProcAddress on
// Windows. Nothing of the plug-in is linked into the host.
#pragma once

#include <string>

#include "plugin/host_abi.h"

namespace twhost {

using SetStartupInfoFn = void(TW_STDCALL*)(const tarnwick::PluginStartupInfo*);
using GetPluginInfoFn = void(TW_STDCALL*)(tarnwick::PluginInfo*);
using OpenPluginFn = tarnwick::INT_PTR_T(TW_STDCALL*)(int, tarnwick::INT_PTR_T);
using ProcessEditorEventFn = int(TW_STDCALL*)(int, void*);
using ProcessViewerEventFn = int(TW_STDCALL*)(int, void*);
using ConfigureFn = int(TW_STDCALL*)(int);
using ExitFarFn = void(TW_STDCALL*)(void);
using LibMainFn = int(TW_STDCALL*)(void*, tarnwick::DWORD_T, void*);

struct PluginModule {
    void* Handle = nullptr;  // dlopen handle or HMODULE
    SetStartupInfoFn SetStartupInfo = nullptr;
    GetPluginInfoFn GetPluginInfo = nullptr;
    OpenPluginFn OpenPlugin = nullptr;
    ProcessEditorEventFn ProcessEditorEvent = nullptr;
    ProcessViewerEventFn ProcessViewerEvent = nullptr;  // optional
    ConfigureFn Configure = nullptr;
    ExitFarFn ExitFAR = nullptr;
    LibMainFn LibMain = nullptr;
};

// Loads the module at `path` and looks up its exports. A module without
// SetStartupInfo is refused. On failure `error` says why.
bool LoadPluginModule(const std::string& path, PluginModule* module, std::string* error);

// Unloads the module (FreeLibrary/dlclose) and clears the record. Returns
// false when the system kept the module in memory, so that a later load
// would not start from a fresh module state.
bool UnloadPluginModule(const std::string& path, PluginModule* module);

}  // namespace twhost
