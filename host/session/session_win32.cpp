#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // RegDeleteTreeA
#endif
#include <windows.h>

#include <chrono>
#include <string>

#include "core/console.h"
#include "core/files.h"
#include "session/session_system.h"

namespace twhost {

const std::vector<const char*>& ModuleFileNames() {
    static const std::vector<const char*> names = {"Tarnwick.dll"};
    return names;
}

namespace {

// Deletes `key` below HKEY_CURRENT_USER when it holds no subkey and no value
// (the folder of every run's key, once no other run uses it).
void DeleteKeyIfEmpty(const char* key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
    DWORD subkeys = 1, values = 1;
    LONG status = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                                   nullptr, nullptr);
    RegCloseKey(handle);
    if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

}  // namespace

// A per-run key keeps the shape of the host's own: the 1.75 host's below
// Software\TarnwickHost, the 3.x host's as a user of its own
// (Software\Far Manager\Users\tw-<run>\Plugins), since a plug-in may tell
// the hosts apart by the key's beginning.
void PrepareRegistryPlace(HostState& host) {
    const bool named = Plays3x() && !host.UserName.empty();
    if (!host.Options.RootKey.empty() || named) {
        host.RootKey = host.Options.RootKey.empty() ? HostRootKey(host.Options.Line, host.UserName) : host.Options.RootKey;
    } else {
        unsigned long long tick = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007LL);
        std::string run = std::to_string(ProcessNumber()) + "-" + std::to_string(tick);
        if (Plays3x()) {
            host.UserName = "tw-" + run;
            host.RootKeyToDelete = "Software\\Far Manager\\Users\\" + host.UserName;
        } else {
            host.RootKeyToDelete = "Software\\TarnwickHost\\" + run;
        }
        host.RootKey = host.RootKeyToDelete + "\\Plugins";
        host.DeleteRootKey = true;
    }
    Say("registry: HKEY_CURRENT_USER\\" + host.RootKey + "\\Tarnwick" + (host.DeleteRootKey ? " (removed at exit)" : ""));
}

void RemoveRegistryPlace(HostState& host) {
    if (!host.DeleteRootKey) return;
    RegDeleteTreeA(HKEY_CURRENT_USER, host.RootKeyToDelete.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, host.RootKeyToDelete.c_str());
    DeleteKeyIfEmpty("Software\\TarnwickHost");
    DeleteKeyIfEmpty("Software\\Far Manager\\Users");
    DeleteKeyIfEmpty("Software\\Far Manager");
    host.DeleteRootKey = false;
}

// The real host works with OEM file names.
void PrepareHostProcess() { SetFileApisToOEM(); }

// Both the process's environment and the C runtime's copy of it, whichever
// the plug-in reads.
void SetUserVariable(const std::string& user) {
    SetEnvironmentVariableA("FARUSER", user.empty() ? nullptr : user.c_str());
    _putenv(("FARUSER=" + user).c_str());
}

}  // namespace twhost
