#include <algorithm>
#include <string>
#include <vector>

#include "core/console.h"
#include "screens/text_frame.h"
#include "screens/text_screens.h"

using namespace tarnwick;

namespace twhost {

void PrintMessage(const ShownMessage& message) {
    std::vector<std::string> lines(message.Lines.size() > 1 ? message.Lines.begin() + 1 : message.Lines.end(), message.Lines.end());
    std::string buttonRow;
    for (const std::string& button : message.Buttons) buttonRow += (buttonRow.empty() ? "" : " ") + ("[ " + WithoutHotkeyMark(button) + " ]");
    if (!buttonRow.empty()) {
        std::size_t width = DisplayWidth(buttonRow);
        for (const std::string& line : lines) width = std::max(width, DisplayWidth(line));
        lines.push_back(Centered(buttonRow, width, ' '));
    }
    std::string title = message.Lines.empty() ? "" : message.Lines[0];
    bool warning = (message.Flags & FMSG_WARNING) != 0;
    DrawFrame(warning ? title + " (warning)" : title, "", lines, warning ? '!' : '-');
}

}  // namespace twhost
