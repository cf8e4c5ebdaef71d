// The full-screen front end's menus, message boxes and dialogs, drawn over
// the screen as the host draws them and driven by the keyboard. The plug-in's
// UI reaches them through TuiFrontend; the host's own questions call them
// directly.
#pragma once

#include "core/ui_frontend.h"

namespace twhost {

MenuChoice RunMenu(const ShownMenu& menu);
int RunMessage(const ShownMessage& message);
int RunDialog(tarnwick::FarDialogItem* items, int count, const DialogPlace& place);

// The front end the services use in the full-screen host.
UiFrontend& TuiFrontend();

// The key code the plug-in's break-key list uses for an ncurses key, or 0.
int VirtualKeyOf(int key);

}  // namespace twhost
