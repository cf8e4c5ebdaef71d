// What the session does differently per system (session_win32.cpp,
// session_posix.cpp): the module's file names, the registry place the
// plug-in gets, and the process's set-up.
#pragma once

#include <string>
#include <vector>

#include "core/host_state.h"

namespace twhost {

// The names the module's file may have in the plug-in folder, in the order
// they are looked for.
const std::vector<const char*>& ModuleFileNames();

// Chooses host.RootKey (and, for the 3.x host, host.UserName) and prints
// where the plug-in's settings live: on Windows a per-run key below
// HKEY_CURRENT_USER unless --root-key gave one; natively a registry folder
// (--registry, else TARNWICK_REGISTRY_ROOT, else inside the work folder)
// that the platform layer is pointed at. The 1.75 host's key is
// `Software\Far\Plugins`; the 3.x host's keeps its shape (HostRootKey) even
// when it is made per run, so that a plug-in can tell the hosts apart by it.
void PrepareRegistryPlace(HostState& host);
// Removes the per-run registry key, if this run made one.
void RemoveRegistryPlace(HostState& host);

// Sets the process up as the real host runs (Windows: OEM file names).
void PrepareHostProcess();

// Sets the environment variable FARUSER to `user`, or removes it when
// `user` is empty, as the 3.x host does for its plug-ins.
void SetUserVariable(const std::string& user);

// The root key the host gives the plug-in: `Software\Far\Plugins` for the
// 1.75 host; `Software\Far Manager\Plugins` for the 3.x host, or
// `Software\Far Manager\Users\<user>\Plugins` when it runs for a named user.
std::string HostRootKey(HostLine line, const std::string& user);

}  // namespace twhost
