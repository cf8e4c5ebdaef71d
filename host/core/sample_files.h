// Sample text files to try the plug-in on: numbered lines with some long
// ones, so that there is something to scroll down and sideways.
#pragma once

#include <string>

namespace twhost {

// Writes a sample file of `lines` lines (1 to 1000000) at `path`, making
// its folder when missing. The lines end with the system's line end.
// Lines end as this system's text files do, or in LF alone when `lf` is
// set (byte offsets that are the same on every system, for the viewer).
bool MakeSampleFile(const std::string& path, int lines, std::string* error, bool lf = false);

}  // namespace twhost
