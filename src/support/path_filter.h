// A set of paths kept as bits of their FoldedHash (support/text.h), for
// the questions asked once per item of a large file ("is this path open
// here?"): a path whose bit is clear is certainly not in the set, so only
// the few whose bit is set need a real comparison. Paths that compare
// equal under any comparison hash alike, so nothing in the set is missed.
#pragma once

#include <cstdint>

namespace tarnwick {

struct PathFilter {
    std::uint32_t Bits[256];  // 8192 bits
};

inline void ClearPathFilter(PathFilter& filter) {
    for (std::uint32_t& word : filter.Bits) word = 0;
}

// Adds the path whose FoldedHash is `hash`.
inline void AddToPathFilter(PathFilter& filter, std::uint32_t hash) {
    const std::uint32_t bit = hash & 8191u;
    filter.Bits[bit >> 5] |= 1u << (bit & 31u);
}

// False when no path of that FoldedHash was added.
inline bool PathFilterMayHold(const PathFilter& filter, std::uint32_t hash) {
    const std::uint32_t bit = hash & 8191u;
    return (filter.Bits[bit >> 5] & (1u << (bit & 31u))) != 0;
}

}  // namespace tarnwick
