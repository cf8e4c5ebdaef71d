// The front end behind the menu, message and dialog services. The services
// check what the plug-in hands them, record it (screens/shown_ui.h) and pass it to
// the front end, which shows it and returns what the user did: the
// line-oriented one prints it as text and takes a queued or typed answer,
// the full-screen one draws it on the terminal and reads the keyboard.
#pragma once

#include "core/shown_ui.h"
#include "plugin/host_abi.h"

namespace twhost {

struct MenuChoice {
    int Item = -1;       // 0-based, or -1 when the menu was left with Esc
    int BreakCode = -1;  // index in the menu's BreakKeys of the key that chose, or -1
};

// Where the plug-in asked the dialog to stand: X1 < 0 centres it, and X2
// and Y2 are then its width and height.
struct DialogPlace {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
};

class UiFrontend {
public:
    virtual ~UiFrontend() = default;
    // Shows the menu until the user chooses an item (Enter, a hotkey or a
    // break key on it) or leaves it (Esc). A chosen item is selectable.
    virtual MenuChoice ChooseFromMenu(const ShownMenu& menu) = 0;
    // Shows the message box; returns the button pressed (0-based) or -1 for
    // Esc. A box without buttons only shows: it returns -1 at once.
    virtual int ShowMessage(const ShownMessage& message) = 0;
    // Runs the dialog: the user may change the check boxes' Selected and the
    // edit fields' Data in `items` (keeping Data terminated within its
    // size). Returns the index of the item that closed it, or -1 for Esc.
    virtual int RunDialog(tarnwick::FarDialogItem* items, int count, const DialogPlace& place) = 0;
};

// The front end the services use. REQUIRES: set before the module is
// started; the front end must outlive every service call.
void SetUiFrontend(UiFrontend* frontend);
UiFrontend& CurrentUiFrontend();

}  // namespace twhost
