#include <algorithm>
#include <curses.h>

#include "kit/standard_functions.h"
#include "tui/tui_screen.h"
#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

struct MessageView {
    const ShownMessage* Message = nullptr;
    int Focus = 0;
};

// A button's label with its hotkey: its own "&", else its first letter.
std::string ButtonLabel(const std::string& text) {
    return text.find('&') != std::string::npos ? text : "&" + text;
}

std::string ButtonRow(const ShownMessage& message) {
    std::string row;
    for (const std::string& button : message.Buttons) row += (row.empty() ? "" : " ") + ("[ " + WithoutHotkeyMark(button) + " ]");
    return row;
}

void PaintMessage(Screen& screen, const MessageView& view) {
    const ShownMessage& message = *view.Message;
    bool warning = (message.Flags & FMSG_WARNING) != 0;
    Paint paint = warning ? Paint::Warning : Paint::Dialog;
    std::string title = message.Lines.empty() ? "" : message.Lines[0];
    int width = std::max(TextWidth(title) + 6, TextWidth(ButtonRow(message)) + 8);
    for (std::size_t i = 1; i < message.Lines.size(); ++i) width = std::max(width, TextWidth(message.Lines[i]) + 8);
    width = std::min(width, ScreenColumns() - 4);
    int textLines = static_cast<int>(message.Lines.size() > 1 ? message.Lines.size() - 1 : 0);
    int height = std::min(textLines + (message.Buttons.empty() ? 0 : 1) + 4, ScreenRows() - 2);
    int x = (ScreenColumns() - width) / 2;
    int y = (ScreenRows() - height) / 2;
    screen.Fill(x, y, width, height, paint);
    screen.DrawFrame(x + 2, y + 1, width - 4, height - 2, true, paint, title, "");
    for (int i = 0; i < textLines && i < height - 4; ++i) {
        const std::string& line = message.Lines[static_cast<std::size_t>(i + 1)];
        int w = std::min(TextWidth(line), width - 6);
        screen.PutText(x + (width - w) / 2, y + 2 + i, line, paint, w);
    }
    int bx = x + (width - TextWidth(ButtonRow(message))) / 2;
    for (std::size_t i = 0; i < message.Buttons.size(); ++i) {
        bool focused = static_cast<int>(i) == view.Focus;
        Paint button = focused ? (warning ? Paint::WarningFocus : Paint::DialogFocus) : paint;
        std::string label = ButtonLabel(message.Buttons[i]);
        screen.PutText(bx, y + height - 3, "[ ", button, 2);
        screen.PutHotkeyText(bx + 2, y + height - 3, label, button, warning ? button : Paint::DialogHotkey, TextWidth(label));
        int w = TextWidth(WithoutHotkeyMark(label));
        screen.PutText(bx + 2 + w, y + height - 3, " ]", button, 2);
        bx += w + 5;
    }
    PlaceCursor(0, 0, false);
}

int ButtonWithHotkey(const ShownMessage& message, int key) {
    if (key <= 0 || key >= 256) return -1;
    for (std::size_t i = 0; i < message.Buttons.size(); ++i) {
        char hotkey = HotkeyOf(ButtonLabel(message.Buttons[i]));
        if (hotkey != '\0' && hostkit::FoldCase(hotkey) == hostkit::FoldCase(static_cast<char>(key))) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

int RunMessage(Screen& screen, const ShownMessage& message) {
    MessageView view;
    view.Message = &message;
    screen.PushPainter([&screen, &view] { PaintMessage(screen, view); });
    screen.RepaintAll();
    int result = -1;
    if (message.Buttons.empty()) {
        // Nothing to press: the box stays on the screen until it is redrawn.
        screen.PopPainter();
        return -1;
    }
    int count = static_cast<int>(message.Buttons.size());
    while (true) {
        int key = screen.ReadKey();
        int hotkey = ButtonWithHotkey(message, key & ~kKeyAlt);
        if (key == kKeyEsc || key == KEY_F(10)) break;
        if (key == '\r' || key == '\n' || key == KEY_ENTER || key == ' ') {
            result = view.Focus;
            break;
        }
        if (hotkey >= 0) {
            result = hotkey;
            break;
        }
        if (key == KEY_RIGHT || key == '\t' || key == KEY_DOWN) view.Focus = (view.Focus + 1) % count;
        if (key == KEY_LEFT || key == KEY_BTAB || key == KEY_UP) view.Focus = (view.Focus + count - 1) % count;
        screen.RepaintAll();
    }
    screen.PopPainter();
    screen.RepaintAll();
    return result;
}

}  // namespace twhost
