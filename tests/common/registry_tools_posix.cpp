// The test registry tools over the POSIX registry substitute's folders.
#include "common/registry_tools.h"

#include <string>

#include "platform/env_posix.h"
#include "platform/registry_paths_posix.h"

namespace tarnwick {
namespace testing_support {

using namespace platform::posix;

bool RegistrySetRaw(const char* keyPath, const char* name, const void* bytes, std::uint32_t size) {
    char folder[kSystemPathSize];
    char file[kSystemPathSize];
    if (!KeyFolder(keyPath, folder, sizeof folder) || !MakeFolders(folder)) return false;
    if (!ValueFile(folder, name, file, sizeof file)) return false;
    return WriteValueFile(platform::Env::Default(), file, bytes, size);
}

bool RegistryDeleteTree(const char* path) {
    char folder[kSystemPathSize];
    char root[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder) || !RegistryRoot(root, sizeof root)) return false;
    // The root stands for HKEY_CURRENT_USER itself, which cannot be deleted.
    if (Length(folder) == Length(root)) return false;
    if (!IsFolder(folder)) return false;
    return RemoveFolderTree(folder, sizeof folder);
}

}  // namespace testing_support
}  // namespace tarnwick
