// The test registry tools over the Windows registry itself.
#include "common/registry_tools.h"

#include <windows.h>

namespace tarnwick {
namespace testing_support {

namespace {

// Registry key paths are built in buffers of this size.
constexpr DWORD kKeyPathSize = 2048;
// Key names are at most 255 characters.
constexpr DWORD kKeyNameSize = 256;

DWORD Length(const char* text) {
    DWORD n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

// Deletes the key at `path` (a buffer of kKeyPathSize bytes that is extended
// and restored while descending) after all its sub-keys.
bool DeleteKeyTree(char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return false;
    bool ok = true;
    DWORD base = Length(path);
    DWORD index = 0;
    for (;;) {
        char name[kKeyNameSize];
        DWORD name_size = kKeyNameSize;
        LONG result = RegEnumKeyExA(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        bool fits = base + 1 + name_size + 1 <= kKeyPathSize;
        bool deleted = false;
        if (fits) {
            path[base] = '\\';
            for (DWORD i = 0; i <= name_size; ++i) path[base + 1 + i] = name[i];
            deleted = DeleteKeyTree(path);
            path[base] = '\0';
        }
        // A sub-key that stays moves the enumeration past it.
        if (!deleted) {
            ok = false;
            ++index;
        }
    }
    RegCloseKey(key);
    if (RegDeleteKeyA(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) ok = false;
    return ok;
}

}  // namespace

bool RegistrySetRaw(const char* keyPath, const char* name, const void* bytes, std::uint32_t size) {
    if (keyPath == nullptr || (bytes == nullptr && size != 0)) return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = RegSetValueExA(key, name, 0, REG_SZ, static_cast<const BYTE*>(bytes), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool RegistryDeleteTree(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    char buffer[kKeyPathSize];
    DWORD length = Length(path);
    if (length + 1 > kKeyPathSize) return false;
    for (DWORD i = 0; i <= length; ++i) buffer[i] = path[i];
    return DeleteKeyTree(buffer);
}

}  // namespace testing_support
}  // namespace tarnwick
