// The full-screen front end's menus, message boxes and dialogs, drawn over
// the screen as the host draws them and driven by the keyboard. The plug-in's
// UI reaches them through TuiFrontend; the host's own questions call them
// directly.
#pragma once

#include "core/ui_frontend.h"
#include "tui/tui_screen.h"

namespace twhost {

MenuChoice RunMenu(Screen& screen, const ShownMenu& menu);
int RunMessage(Screen& screen, const ShownMessage& message);
int RunDialog(Screen& screen, tarnwick::FarDialogItem* items, int count, const DialogPlace& place);

// The front end the services use in the full-screen host: the plug-in's UI
// on the full-screen host's Screen.
class TuiFrontend : public UiFrontend {
public:
    // REQUIRES: `screen` outlives the front end.
    explicit TuiFrontend(Screen& screen) : screen_(screen) {}

    MenuChoice ChooseFromMenu(const ShownMenu& menu) override;
    int ShowMessage(const ShownMessage& message) override;
    int RunDialog(tarnwick::FarDialogItem* items, int count, const DialogPlace& place) override;

private:
    Screen& screen_;
};

// The key code the plug-in's break-key list uses for an ncurses key, or 0.
int VirtualKeyOf(int key);

}  // namespace twhost
