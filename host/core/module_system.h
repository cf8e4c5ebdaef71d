// The system's own calls behind the module loader: dlopen natively,
// LoadLibraryA on Windows (module_system_posix.cpp, module_system_win32.cpp).
#pragma once

#include <string>

namespace twhost {

// Loads the module; null, with the system's reason in `error`, on failure.
void* OpenModule(const std::string& path, std::string* error);
// The address of an export by its exact name, or null.
void* FindModuleExport(void* handle, const char* name);
// Unloads the module. False when the system still keeps the module at
// `path` in memory afterwards.
bool CloseModule(const std::string& path, void* handle);

}  // namespace twhost
