// The Message service: reads the box's lines and buttons, records it and
// lets the front end show it.
#include <algorithm>
#include <iterator>
#include <string>

#include "core/console.h"
#include "core/host_state.h"
#include "core/trace.h"
#include "core/ui_frontend.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [ui] ", line)

// The highest FMSG_MB_* button set the host knows.
constexpr DWORD_T kLastButtonSet = 6;

DWORD_T ButtonSet(DWORD_T flags) { return (flags >> 16) & 0xF; }

std::vector<std::string> ButtonsOf(DWORD_T flags) {
    switch (ButtonSet(flags)) {
        case 1: return {"OK"};
        case 2: return {"OK", "Cancel"};
        case 3: return {"Abort", "Retry", "Ignore"};
        case 4: return {"Yes", "No"};
        case 5: return {"Yes", "No", "Cancel"};
        case 6: return {"Retry", "Cancel"};
        default: return {};
    }
}

std::string Shown(const char* text) { return text == nullptr ? std::string() : ForConsole(text); }

// Without a button set in the flags, the last `buttonsNumber` items are the
// buttons (the first item, the title, always stays text).
ShownMessage ReadMessage(DWORD_T flags, const char* const* items, int itemsNumber, int buttonsNumber) {
    ShownMessage message;
    message.Flags = flags;
    message.Buttons = ButtonsOf(flags);
    int textItems = itemsNumber;
    if (message.Buttons.empty() && buttonsNumber > 0) {
        int buttons = std::min(buttonsNumber, std::max(itemsNumber - 1, 0));
        textItems = itemsNumber - buttons;
        for (int i = textItems; i < itemsNumber; ++i) message.Buttons.push_back(Shown(items[i]));
    }
    for (int i = 0; i < textItems; ++i) message.Lines.push_back(Shown(items[i]));
    return message;
}

}  // namespace

int TW_STDCALL HostMessage(INT_PTR_T moduleNumber, DWORD_T flags, const char* helpTopic, const char* const* items,
                           int itemsNumber, int buttonsNumber) {
    CheckModuleNumber(moduleNumber, "Message");
    Trace("Message(flags " + Hex(flags) + ", help " + HelpTopicText(helpTopic) + ", " + std::to_string(itemsNumber) +
          " items, " + std::to_string(buttonsNumber) + " buttons)");
    CheckItemList(items, itemsNumber, "Message");
    if (ButtonSet(flags) > kLastButtonSet) Fatal(kExitPluginFault, "Message: unknown button flags in " + Hex(flags), true);
    // The 3.x layer keeps the meaning of FMSG_MB_OK and FMSG_MB_YESNO only.
    const DWORD_T kept[] = {0, ButtonSet(FMSG_MB_OK), ButtonSet(FMSG_MB_YESNO)};
    if (Plays3x() && std::find(std::begin(kept), std::end(kept), ButtonSet(flags)) == std::end(kept)) {
        Fatal(kExitPluginFault, "Message: the button set in " + Hex(flags) +
                                     " is lost in the 3.x host's layer (only FMSG_MB_OK and FMSG_MB_YESNO keep their meaning)", true);
    }
    ShownMessage message = ReadMessage(flags, items, itemsNumber, buttonsNumber);
    RememberMessage(message);
    int result = CurrentUiFrontend().ShowMessage(message);
    if (!message.Buttons.empty()) Trace("Message = " + std::to_string(result));
    return result;
}

}  // namespace twhost
