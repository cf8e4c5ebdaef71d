// The Dialog service: checks the items, records the dialog as shown and
// lets the front end run it; the user's changes land in the items.
#include <string>

#include "core/console.h"
#include "core/trace.h"
#include "core/ui_frontend.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [ui] ", line)

// The item types the host draws: text, single and double boxes, edit
// fields, buttons and check boxes.
bool KnownType(int type) {
    return type == DI_TEXT || type == kDialogSingleBox || type == DI_DOUBLEBOX || type == DI_EDIT || type == DI_BUTTON ||
           type == DI_CHECKBOX;
}

}  // namespace

int TW_STDCALL HostDialog(INT_PTR_T moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                          FarDialogItem* items, int itemsNumber) {
    CheckModuleNumber(moduleNumber, "Dialog");
    Trace("Dialog(" + std::to_string(x1) + ", " + std::to_string(y1) + ", " + std::to_string(x2) + ", " + std::to_string(y2) +
          ", help " + HelpTopicText(helpTopic) + ", " + std::to_string(itemsNumber) + " items)");
    CheckItemList(items, itemsNumber, "Dialog");
    ShownDialog dialog;
    for (int i = 0; i < itemsNumber; ++i) {
        const FarDialogItem& item = items[i];
        if (!KnownType(item.Type)) {
            Fatal(kExitPluginFault, "Dialog: item " + std::to_string(i) + " has type " + std::to_string(item.Type) +
                                         ", which this host does not draw",
                  true);
        }
        BoundedText(item.Data, sizeof item.Data, "Dialog: the Data of item " + std::to_string(i));
        dialog.Items.push_back(item);
    }
    RememberDialog(dialog);
    DialogPlace place{x1, y1, x2, y2};
    int result = CurrentUiFrontend().RunDialog(items, itemsNumber, place);
    Trace("Dialog = " + std::to_string(result));
    return result;
}

}  // namespace twhost
