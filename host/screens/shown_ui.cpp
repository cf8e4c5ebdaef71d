#include "screens/shown_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

ShownMenu g_menu;
ShownMessage g_message;
ShownDialog g_dialog;
bool g_haveMenu = false;
bool g_haveMessage = false;
bool g_haveDialog = false;
std::vector<std::string> g_sequence;

}  // namespace

const ShownMenu* LastMenu() { return g_haveMenu ? &g_menu : nullptr; }
const ShownMessage* LastMessage() { return g_haveMessage ? &g_message : nullptr; }
const ShownDialog* LastDialog() { return g_haveDialog ? &g_dialog : nullptr; }

void RememberMenu(const ShownMenu& menu) {
    g_menu = menu;
    g_haveMenu = true;
    g_sequence.push_back("menu");
}

void RememberMessage(const ShownMessage& message) {
    g_message = message;
    g_haveMessage = true;
    g_sequence.push_back("message");
}

void RememberDialog(const ShownDialog& dialog) {
    g_dialog = dialog;
    g_haveDialog = true;
    g_sequence.push_back("dialog");
}

const std::vector<std::string>& ShownSequence() { return g_sequence; }
void ClearShownSequence() { g_sequence.clear(); }

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
