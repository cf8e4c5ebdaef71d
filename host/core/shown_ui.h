// What the plug-in's menus, message boxes and dialogs showed, as the menu,
// message and dialog services received it: the front end draws it and the
// script's checks look at the last one of each kind.
#pragma once

#include <string>
#include <vector>

#include "plugin/host_abi.h"

namespace twhost {

// The single-line box of a dialog, which the plug-in's interface header
// does not name (it uses only the double box).
constexpr int kDialogSingleBox = 2;

struct ShownMenuItem {
    tarnwick::DWORD_T Flags = 0;  // MIF_SELECTED, MIF_CHECKED, MIF_SEPARATOR, MIF_DISABLE
    std::string Text;             // converted for the console, "&" hotkey marks kept
};

struct ShownMenu {
    std::string Title;
    std::string Bottom;
    std::vector<ShownMenuItem> Items;
    std::vector<int> BreakKeys;   // the plug-in's break keys, in its order
    bool ShowAmpersand = false;   // FMENU_SHOWAMPERSAND: "&" is shown, no hotkeys
};

struct ShownMessage {
    tarnwick::DWORD_T Flags = 0;
    std::vector<std::string> Lines;    // the title first
    std::vector<std::string> Buttons;
};

struct ShownDialog {
    std::vector<tarnwick::FarDialogItem> Items;  // as shown, before the user changed anything
};

// The last UI of each kind and the sequence of kinds (a member of the
// host's state).
struct ShownUi {
    ShownMenu Menu;
    ShownMessage Message;
    ShownDialog Dialog;
    bool HaveMenu = false;
    bool HaveMessage = false;
    bool HaveDialog = false;
    std::vector<std::string> Sequence;
};

// What was shown last, or null when nothing of that kind was shown yet.
// The pointer stays valid until the next UI of that kind is shown.
const ShownMenu* LastMenu();
const ShownMessage* LastMessage();
const ShownDialog* LastDialog();

// Records a UI as the last one of its kind and appends its kind to the
// sequence.
void RememberMenu(const ShownMenu& menu);
void RememberMessage(const ShownMessage& message);
void RememberDialog(const ShownDialog& dialog);

// The kinds of UI shown since the last ClearShownSequence ("menu",
// "message", "dialog"), in order.
const std::vector<std::string>& ShownSequence();
void ClearShownSequence();

// The item the menu opens on: the first MIF_SELECTED one, else the first
// that can be chosen; -1 when no item can be.
int MarkedItem(const ShownMenu& menu);
// True when the item can be chosen (not a separator, not disabled).
bool Selectable(const ShownMenuItem& item);
// The index in the menu's break keys of `key`, or -1.
int BreakKeyIndex(const ShownMenu& menu, int key);

// Text as the host shows it: "&" marks the hotkey and is not shown ("&&"
// shows one "&").
std::string WithoutHotkeyMark(const std::string& text);
// The character after the first single "&", or '\0'.
char HotkeyOf(const std::string& text);
// Where the hotkey character stands in WithoutHotkeyMark(text), or -1.
int HotkeyColumn(const std::string& text);

}  // namespace twhost
