// What the session does differently per system (session_win32.cpp,
// session_posix.cpp): the module's file names, the registry place the
// plug-in gets, and the process's set-up.
#pragma once

#include <vector>

#include "core/host_state.h"

namespace twhost {

// The names the module's file may have in the plug-in folder, in the order
// they are looked for.
const std::vector<const char*>& ModuleFileNames();

// Chooses host.RootKey and prints where the plug-in's settings live: on
// Windows a per-run key below HKEY_CURRENT_USER unless --root-key gave one;
// natively a registry folder (--registry, else TARNWICK_REGISTRY_ROOT, else
// inside the work folder) that the platform layer is pointed at.
void PrepareRegistryPlace(HostState& host);
// Removes the per-run registry key, if this run made one.
void RemoveRegistryPlace(HostState& host);

// Sets the process up as the real host runs (Windows: OEM file names).
void PrepareHostProcess();

}  // namespace twhost
