// The host's trace: with --trace (or the script's "trace on") it prints a
// line for every call between itself and the plug-in.
#pragma once

#include <string>

namespace twhost {

// True while tracing is on.
bool Tracing();
// Prints `prefix` and `line` as one line of output.
void WriteTraceLine(const char* prefix, const std::string& line);

}  // namespace twhost

// Prints a trace line while tracing is on. The line is an expression that is
// evaluated only then, so that a service call costs one test when tracing is
// off (the plug-in calls some services once per stored item): hence a macro
// and not a function, whose argument would always be built.
#define TWHOST_TRACE(prefix, line)                                       \
    do {                                                                 \
        if (::twhost::Tracing()) ::twhost::WriteTraceLine(prefix, line); \
    } while (false)
