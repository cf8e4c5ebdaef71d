#include "core/shown_ui.h"

#include "core/host_state.h"

using namespace tarnwick;

namespace twhost {
const ShownMenu* LastMenu() { return Host().Shown.HaveMenu ? &Host().Shown.Menu : nullptr; }
const ShownMessage* LastMessage() { return Host().Shown.HaveMessage ? &Host().Shown.Message : nullptr; }
const ShownDialog* LastDialog() { return Host().Shown.HaveDialog ? &Host().Shown.Dialog : nullptr; }

void RememberMenu(const ShownMenu& menu) {
    Host().Shown.Menu = menu;
    Host().Shown.HaveMenu = true;
    Host().Shown.Sequence.push_back("menu");
}

void RememberMessage(const ShownMessage& message) {
    Host().Shown.Message = message;
    Host().Shown.HaveMessage = true;
    Host().Shown.Sequence.push_back("message");
}

void RememberDialog(const ShownDialog& dialog) {
    Host().Shown.Dialog = dialog;
    Host().Shown.HaveDialog = true;
    Host().Shown.Sequence.push_back("dialog");
}

const std::vector<std::string>& ShownSequence() { return Host().Shown.Sequence; }
void ClearShownSequence() { Host().Shown.Sequence.clear(); }

bool Selectable(const ShownMenuItem& item) { return (item.Flags & (MIF_SEPARATOR | MIF_DISABLE)) == 0; }

int MarkedItem(const ShownMenu& menu) {
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        if ((menu.Items[i].Flags & MIF_SELECTED) != 0) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        if (Selectable(menu.Items[i])) return static_cast<int>(i);
    }
    return -1;
}

int BreakKeyIndex(const ShownMenu& menu, int key) {
    for (std::size_t i = 0; i < menu.BreakKeys.size(); ++i) {
        if (menu.BreakKeys[i] == key) return static_cast<int>(i);
    }
    return -1;
}

std::string WithoutHotkeyMark(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

char HotkeyOf(const std::string& text) {
    int column = HotkeyColumn(text);
    return column < 0 ? '\0' : WithoutHotkeyMark(text)[static_cast<std::size_t>(column)];
}

int HotkeyColumn(const std::string& text) {
    int column = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') return column;
            ++i;
        }
        ++column;
    }
    return -1;
}

}  // namespace twhost
