// The files the text benchmarks read and change as other programs would.
#pragma once

#include <string>

namespace benchfiles {

// The whole content of the file at `path` ("" when it cannot be read).
std::string FileText(const std::string& path);

// Replaces the file's content as another program would, with a last-write
// time well after the one it had, so that size or time tell the change.
void ChangeFile(const std::string& path, const std::string& text);

}  // namespace benchfiles
