#include "core/trace.h"

#include "core/console.h"
#include "core/host_state.h"

namespace twhost {

bool Tracing() { return Host().Options.Trace; }

void WriteTraceLine(const char* prefix, const std::string& line) { Say(prefix + line); }

}  // namespace twhost
