#include "core/host_state.h"

namespace twhost {

HostState& Host() {
    static HostState state;
    return state;
}

}  // namespace twhost
