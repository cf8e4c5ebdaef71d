// The Menu service: checks the plug-in's items, records the menu and lets
// the front end show it.
#include <string>

#include "core/console.h"
#include "core/trace.h"
#include "core/ui_frontend.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

// The break-key list ends with 0; a list longer than this is taken as
// unterminated.
constexpr int kMaxBreakKeys = 256;

#define Trace(line) TWHOST_TRACE("    [ui] ", line)

std::string Shown(const char* text) { return text == nullptr ? std::string() : ForConsole(text); }

ShownMenu ReadMenu(DWORD_T flags, const char* title, const char* bottom, const int* breakKeys,
                   const FarMenuItemEx* items, int itemsNumber) {
    ShownMenu menu;
    menu.Title = Shown(title);
    menu.Bottom = Shown(bottom);
    menu.ShowAmpersand = (flags & FMENU_SHOWAMPERSAND) != 0;
    for (int i = 0; i < itemsNumber; ++i) {
        ShownMenuItem item;
        item.Flags = items[i].Flags;
        item.Text = ForConsole(BoundedText(items[i].Text, sizeof items[i].Text, "Menu: the text of item " + std::to_string(i + 1)).c_str());
        menu.Items.push_back(item);
    }
    for (int i = 0; breakKeys != nullptr && i < kMaxBreakKeys && breakKeys[i] != 0; ++i) menu.BreakKeys.push_back(breakKeys[i]);
    return menu;
}

}  // namespace

int TW_STDCALL HostMenu(INT_PTR_T moduleNumber, int x, int y, int maxHeight, DWORD_T flags, const char* title,
                        const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
                        const FarMenuItemEx* items, int itemsNumber) {
    CheckModuleNumber(moduleNumber, "Menu");
    Trace("Menu(x " + std::to_string(x) + ", y " + std::to_string(y) + ", max height " + std::to_string(maxHeight) +
          ", flags " + Hex(flags) + ", help " + HelpTopicText(helpTopic) + ", " + std::to_string(itemsNumber) + " items)");
    if ((flags & FMENU_USEEXT) == 0) {
        Fatal(kExitPluginFault, "Menu: without FMENU_USEEXT the items would be the older record, which this host does not read", true);
    }
    CheckItemList(items, itemsNumber, "Menu");
    ShownMenu menu = ReadMenu(flags, title, bottom, breakKeys, items, itemsNumber);
    RememberMenu(menu);
    MenuChoice choice = CurrentUiFrontend().ChooseFromMenu(menu);
    if (breakCode != nullptr) *breakCode = choice.BreakCode;
    Trace("Menu = " + std::to_string(choice.Item) + ", break code " + std::to_string(choice.BreakCode));
    return choice.Item;
}

}  // namespace twhost
