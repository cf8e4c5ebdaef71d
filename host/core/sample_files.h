// Sample text files to try the plug-in on: numbered lines with some long
// ones, so that there is something to scroll down and sideways.
#pragma once

#include <string>

namespace twhost {

// Writes a sample file of `lines` lines (1 to 1000000) at `path`, making
// its folder when missing. The lines end with the system's line end.
bool MakeSampleFile(const std::string& path, int lines, std::string* error);

}  // namespace twhost
