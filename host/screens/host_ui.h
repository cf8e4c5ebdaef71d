// The host's Menu, Message and Dialog services: each draws its UI as a text
// frame a person can read, takes its answer from the answer queue (or asks
// at the console in interactive mode), and remembers what it showed for the
// script's checks.
#pragma once

#include <string>
#include <vector>

#include "plugin/host_abi.h"

namespace twhost {

struct ShownMenuItem {
    tarnwick::DWORD_T Flags = 0;
    std::string Text;
};

struct ShownMenu {
    std::string Title;
    std::string Bottom;
    std::vector<ShownMenuItem> Items;
};

struct ShownMessage {
    tarnwick::DWORD_T Flags = 0;
    std::vector<std::string> Lines;    // the title first
    std::vector<std::string> Buttons;
};

struct ShownDialog {
    std::vector<tarnwick::FarDialogItem> Items;  // as shown, before the answers
};

// What was shown last, or null when nothing of that kind was shown yet.
const ShownMenu* LastMenu();
const ShownMessage* LastMessage();
const ShownDialog* LastDialog();

// The kinds of UI shown since the last ClearShownSequence ("menu",
// "message", "dialog"), in order.
const std::vector<std::string>& ShownSequence();
void ClearShownSequence();

// The services, for the PluginStartupInfo record.
int TW_STDCALL HostMenu(tarnwick::INT_PTR_T moduleNumber, int x, int y, int maxHeight, tarnwick::DWORD_T flags,
                        const char* title, const char* bottom, const char* helpTopic, const int* breakKeys,
                        int* breakCode, const tarnwick::FarMenuItemEx* items, int itemsNumber);
int TW_STDCALL HostMessage(tarnwick::INT_PTR_T moduleNumber, tarnwick::DWORD_T flags, const char* helpTopic,
                           const char* const* items, int itemsNumber, int buttonsNumber);
int TW_STDCALL HostDialog(tarnwick::INT_PTR_T moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                          tarnwick::FarDialogItem* items, int itemsNumber);
const char* TW_STDCALL HostGetMsg(tarnwick::INT_PTR_T moduleNumber, int msgId);

// Text as the host shows it: "&" marks the hotkey and is not shown ("&&"
// shows one "&").
std::string WithoutHotkeyMark(const std::string& text);

}  // namespace twhost
