#include <windows.h>

#include "core/module_system.h"

namespace twhost {

void* OpenModule(const std::string& path, std::string* error) {
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) *error = "LoadLibraryA failed with error " + std::to_string(GetLastError());
    return handle;
}

void* FindModuleExport(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

bool CloseModule(const std::string& path, void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
    return GetModuleHandleA(path.c_str()) == nullptr;
}

}  // namespace twhost
