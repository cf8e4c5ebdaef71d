#include <cstdlib>
#include <string>

#include "core/console.h"
#include "core/files.h"
#include "session/session_system.h"

namespace twhost {

const std::vector<const char*>& ModuleFileNames() {
    static const std::vector<const char*> names = {"libTarnwick.so", "Tarnwick.so", "Tarnwick.dll"};
    return names;
}

void PrepareRegistryPlace(HostState& host) {
    host.RootKey = host.Options.RootKey.empty() ? HostRootKey(host.Options.Line, host.UserName) : host.Options.RootKey;
    std::string folder;
    if (!host.Options.RegistryDir.empty()) {
        folder = AbsolutePath(host.Options.RegistryDir);
    } else if (const char* given = std::getenv("TARNWICK_REGISTRY_ROOT"); given != nullptr && given[0] != '\0') {
        folder = given;
    } else {
        folder = JoinPath(host.WorkDir, "registry");
    }
    MakeFolders(folder);
    setenv("TARNWICK_REGISTRY_ROOT", folder.c_str(), 1);
    Say("registry: " + host.RootKey + "\\Tarnwick in the folder " + folder);
}

// The registry folder is the user's or lies in the work folder, which goes
// with it.
void RemoveRegistryPlace(HostState&) {}

void PrepareHostProcess() {}

void SetUserVariable(const std::string& user) {
    if (user.empty()) {
        unsetenv("FARUSER");
    } else {
        setenv("FARUSER", user.c_str(), 1);
    }
}

}  // namespace twhost
