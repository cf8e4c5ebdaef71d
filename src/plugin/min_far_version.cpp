// The optional export through which the host learns, before it calls
// anything else, which host version the plug-in needs. Kept apart from the
// other entry points because it needs nothing of the plug-in's state.

#include "plugin/far_version.h"
#include "plugin/host_abi.h"

extern "C" {

int TW_STDCALL GetMinFarVersion(void);

int TW_STDCALL GetMinFarVersion(void) { return tarnwick::kMinFarVersion; }

}  // extern "C"
