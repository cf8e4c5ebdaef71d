#include "screens/text_frame.h"

#include <algorithm>

#include "core/console.h"

namespace twhost {

std::string Centered(const std::string& text, std::size_t width, char fill) {
    std::size_t size = DisplayWidth(text);
    if (size >= width) return text;
    std::size_t left = (width - size) / 2;
    return std::string(left, fill) + text + std::string(width - size - left, fill);
}

std::string Padded(const std::string& text, std::size_t width) {
    std::size_t size = DisplayWidth(text);
    return size >= width ? text : text + std::string(width - size, ' ');
}

void DrawFrame(const std::string& title, const std::string& bottom, const std::vector<std::string>& lines, char edge) {
    std::size_t width = std::max(DisplayWidth(title), DisplayWidth(bottom)) + 6;
    for (const std::string& line : lines) width = std::max(width, DisplayWidth(line) + 4);
    Say("  +" + Centered(title.empty() ? "" : " " + title + " ", width - 2, edge) + "+");
    for (const std::string& line : lines) Say("  | " + Padded(line, width - 4) + " |");
    Say("  +" + Centered(bottom.empty() ? "" : " " + bottom + " ", width - 2, edge) + "+");
}

}  // namespace twhost
