// The version this substitute host declares, and the check the real host
// makes with a module's optional GetMinFarVersion export before it calls
// anything else in the module.
#pragma once

#include <string>

#include "plugin/far_version.h"
#include "plugin/host_abi.h"

namespace twhost {

// The host this one stands in for: 1.75 build 2634, the newest build the
// interface notes were checked against.
constexpr int kHostFarVersion = tarnwick::MakeFarVersion(1, 75, 2634);

// The module's optional export: the oldest host version it works with.
using GetMinFarVersionFn = int(TW_STDCALL*)(void);

// The version the host declares: kHostFarVersion, unless the environment
// variable TARNWICK_HOST_VERSION gives another as "major.minor.build" (so
// that a test can play an older host). A malformed value is ignored.
int DeclaredHostVersion();

// "1.70 build 2087".
std::string FarVersionText(int version);

// True when a module asking for `wanted` runs in a host of version `host`:
// major, minor and build compared in that order.
bool HostIsNewEnough(int host, int wanted);

}  // namespace twhost
