#include "plugin/mask_match.h"

#include <cstddef>

#include "platform/env.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {
namespace {

// Length of the mask that starts at `mask` and ends at the next comma or at
// the end of the list.
std::size_t MaskLength(const char* mask) {
    std::size_t length = 0;
    while (mask[length] != '\0' && mask[length] != ',') ++length;
    return length;
}

// True when a mask of `length` characters and its terminator fit the
// host's path buffer.
bool FitsHostBuffer(std::size_t length) { return length < static_cast<std::size_t>(kPathSize); }

bool EveryMaskFits(const char* masks) {
    for (const char* mask = masks;; ++mask) {
        std::size_t length = MaskLength(mask);
        if (!FitsHostBuffer(length)) return false;
        mask += length;
        if (*mask == '\0') return true;
    }
}

// One PN_CMPNAME call per mask that fits; the first match ends the walk.
bool MatchMaskByMask(const FarStandardFunctions& functions, const char* masks, char* name) {
    char single[kPathSize];
    for (const char* mask = masks;; ++mask) {
        std::size_t length = MaskLength(mask);
        if (length > 0 && FitsHostBuffer(length)) {
            CopyBytes(single, mask, length);
            single[length] = '\0';
            if (functions.ProcessName(single, name, PN_CMPNAME) != 0) return true;
        }
        mask += length;
        if (*mask == '\0') return false;
    }
}

}  // namespace

bool MatchMaskListSafely(platform::Env* env, const FarStandardFunctions& functions, const char* masks, const char* name,
                         bool hostCopiesNoMask) {
    if (masks == nullptr || name == nullptr) return false;
    std::size_t size = StrLength(name) + 1;
    char* copy = static_cast<char*>(env->AllocZeroed(size));
    if (copy == nullptr) return false;
    CopyBounded(copy, name, size);
    bool match = hostCopiesNoMask || EveryMaskFits(masks) ? functions.ProcessName(masks, copy, PN_CMPNAMELIST) != 0
                                      : MatchMaskByMask(functions, masks, copy);
    env->Release(copy);
    return match;
}

}  // namespace plugin
}  // namespace tarnwick
