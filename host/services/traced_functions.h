// The host's standard functions: the kit's (kit/standard_functions.h), each
// with a trace line, and ProcessName stopping the host with
// kExitPluginFault when the plug-in asks for more than the real host does.
#pragma once

#include "kit/stand_in_host.h"

namespace twhost {

// Names the traced functions in `host`'s standard-function slots.
void UseTracedStandardFunctions(hostkit::StandInHost* host);

}  // namespace twhost
