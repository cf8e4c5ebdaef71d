// The unit of a stored position: the host's EditorSetPosition record.
//
// Six signed 32-bit integers, in the host's order. CurTabPos is never
// stored; it is -1 whenever a position is read or applied, which leaves the
// tab position to the host.
#pragma once

#include <cstdint>

namespace tarnwick {

struct EditorSetPosition {
    std::int32_t CurLine;
    std::int32_t CurPos;
    std::int32_t CurTabPos;
    std::int32_t TopScreenLine;
    std::int32_t LeftPos;
    std::int32_t Overtype;
};
static_assert(sizeof(EditorSetPosition) == 24, "host record EditorSetPosition is 24 bytes");

}  // namespace tarnwick
