// The line-oriented host's drawing: text in frames a person can read in a
// log, one console line at a time.
#pragma once

#include <string>
#include <vector>

namespace twhost {

// `text` centred in `width` columns, filled on both sides with `fill`.
std::string Centered(const std::string& text, std::size_t width, char fill);
// `text` filled with blanks to `width` columns.
std::string Padded(const std::string& text, std::size_t width);
// Prints a frame around `lines`, with a title in the top edge and a note in
// the bottom edge, drawn with `edge`.
void DrawFrame(const std::string& title, const std::string& bottom, const std::vector<std::string>& lines, char edge);

}  // namespace twhost
