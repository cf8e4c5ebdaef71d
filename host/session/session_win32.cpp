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

void PrepareRegistryPlace(HostState& host) {
    if (!host.Options.RootKey.empty()) {
        host.RootKey = host.Options.RootKey;
    } else {
        unsigned long long tick = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007LL);
        host.RootKeyToDelete = "Software\\TarnwickHost\\" + std::to_string(ProcessNumber()) + "-" + std::to_string(tick);
        host.RootKey = host.RootKeyToDelete + "\\Plugins";
        host.DeleteRootKey = true;
    }
    Say("registry: HKEY_CURRENT_USER\\" + host.RootKey + "\\Tarnwick" + (host.DeleteRootKey ? " (removed at exit)" : ""));
}

void RemoveRegistryPlace(HostState& host) {
    if (!host.DeleteRootKey) return;
    RegDeleteTreeA(HKEY_CURRENT_USER, host.RootKeyToDelete.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, host.RootKeyToDelete.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarnwickHost");  // only when no other run uses it
    host.DeleteRootKey = false;
}

// The real host works with OEM file names.
void PrepareHostProcess() { SetFileApisToOEM(); }

}  // namespace twhost
