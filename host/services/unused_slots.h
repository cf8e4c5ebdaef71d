// The host's service slots that the plug-in has no business calling. Each
// is filled with its own small function that names the slot and stops the
// host with EXIT_PLUGIN_FAULT, so a wrong offset or a stray call shows at
// once instead of running whatever happens to sit there.
#pragma once

#include "plugin/host_abi.h"

namespace twhost {

void FillUnusedStartupServices(tarnwick::PluginStartupInfo* info);
void FillUnusedStandardFunctions(tarnwick::FarStandardFunctions* table);

}  // namespace twhost
