// The mask check against the host's ProcessName, kept within what the host
// can take.
//
// With PN_CMPNAMELIST the host splits the list at commas and copies each
// mask into a path buffer of kPathSize (260) bytes without checking its
// length, so a mask of 260 characters or more (a long list joined by
// semicolons, say) would overflow a buffer inside the host. The Mask setting holds up to 511
// characters and the configuration dialog takes whatever the user types, so
// the check must cope with any list.
#pragma once

#include "platform/env.h"
#include "plugin/host_abi.h"
#include "support/path_size.h"

namespace tarnwick {
namespace plugin {

// True when `name` matches one of the comma-separated masks of `masks`, as
// the host's ProcessName judges it (the whole name, no PN_SKIPPATH).
//
// A mask fits the host's buffer when it is shorter than kPathSize (its
// terminator takes the last byte). When every mask of the list fits, the
// list goes to the host in one PN_CMPNAMELIST call, exactly as typed. Otherwise each mask
// that fits is compared on its own with PN_CMPNAME, and the masks that
// cannot fit (and empty ones) are skipped: they match nothing. False for a
// null list or name, or when memory for the name's copy runs out.
//
// The 3.x host's layer (`hostCopiesNoMask`) parses the list itself and
// copies no mask into a fixed buffer: the list always goes in one call,
// and means what that host's masks mean (`;` separates too, `|` starts the
// masks to exclude).
//
// REQUIRES: `functions.ProcessName` is not null. The host is handed copies
// of the name (ProcessName takes it writable) and of each single mask.
bool MatchMaskListSafely(platform::Env* env, const FarStandardFunctions& functions, const char* masks, const char* name,
                         bool hostCopiesNoMask = false);

}  // namespace plugin
}  // namespace tarnwick
