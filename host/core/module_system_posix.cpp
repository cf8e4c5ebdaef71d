#include <dlfcn.h>

#include "core/module_system.h"

namespace twhost {

void* OpenModule(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "dlopen failed";
    }
    return handle;
}

void* FindModuleExport(void* handle, const char* name) { return dlsym(handle, name); }

bool CloseModule(const std::string& path, void* handle) {
    dlclose(handle);
    void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (still == nullptr) return true;
    dlclose(still);
    return false;
}

}  // namespace twhost
