// The size of every path buffer of the plug-in: 259 characters and the
// terminator, as the host's MAX_PATH.
#pragma once

namespace tarnwick {

constexpr int kPathSize = 260;

}  // namespace tarnwick
