// The Windows environment's registry: the current user's keys, through advapi32.
#include <windows.h>

#include "platform/env_win32.h"

namespace tarnwick {
namespace platform {

struct RegistryKey {
    HKEY handle;
};

namespace win32 {

namespace {

DWORD Length(const char* text) {
    DWORD n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

RegistryKey* WrapKey(HKEY handle) {
    RegistryKey* key = static_cast<RegistryKey*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(RegistryKey)));
    if (key == nullptr) {
        RegCloseKey(handle);
        return nullptr;
    }
    key->handle = handle;
    return key;
}

}  // namespace

RegistryKey* Win32Env::RegistryOpenForRead(const char* path) {
    if (path == nullptr) return nullptr;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return nullptr;
    return WrapKey(handle);
}

RegistryKey* Win32Env::RegistryCreateForWrite(const char* path) {
    if (path == nullptr) return nullptr;
    HKEY handle;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (result != ERROR_SUCCESS) return nullptr;
    return WrapKey(handle);
}

void Win32Env::RegistryClose(RegistryKey* key) {
    if (key == nullptr) return;
    RegCloseKey(key->handle);
    HeapFree(GetProcessHeap(), 0, key);
}

bool Win32Env::RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
    if (key == nullptr || buffer == nullptr || size == nullptr) return false;
    DWORD count = *size;
    LONG result = RegQueryValueExA(key->handle, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &count);
    if (result != ERROR_SUCCESS || count > *size) return false;
    *size = count;
    return true;
}

bool Win32Env::RegistrySetString(RegistryKey* key, const char* name, const char* text) {
    if (key == nullptr || text == nullptr) return false;
    return RegSetValueExA(key->handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), Length(text) + 1) ==
           ERROR_SUCCESS;
}

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
