#include <string>
#include <vector>

#include "screens/text_frame.h"
#include "screens/text_screens.h"

using namespace tarnwick;

namespace twhost {

void PrintMenu(const ShownMenu& menu) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        const ShownMenuItem& item = menu.Items[i];
        if ((item.Flags & MIF_SEPARATOR) != 0) {
            lines.push_back("------");
            continue;
        }
        std::string number = std::to_string(i + 1);
        std::string line = ((item.Flags & MIF_SELECTED) != 0 ? "> " : "  ") + std::string(number.size() < 2 ? " " : "") +
                           number + ((item.Flags & MIF_CHECKED) != 0 ? " * " : "   ") +
                           (menu.ShowAmpersand ? item.Text : WithoutHotkeyMark(item.Text));
        if ((item.Flags & MIF_DISABLE) != 0) line += "   (disabled)";
        lines.push_back(line);
    }
    if (lines.empty()) lines.push_back("(no items)");
    std::string bottom = menu.Bottom;
    if (BreakKeyIndex(menu, kVirtualKeyDelete) >= 0 && bottom.empty()) bottom = "Del: break key";
    DrawFrame(menu.Title, bottom, lines, '-');
}

}  // namespace twhost
