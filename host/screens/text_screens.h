// The plug-in's menus, message boxes and dialogs printed as text, for the
// line-oriented host: what a person reads in the log of a script.
#pragma once

#include "core/shown_ui.h"
#include "plugin/host_abi.h"

namespace twhost {

// The menu in a frame: a marker on the selected item, item numbers for the
// answers, "*" on checked items, "(disabled)" after disabled ones.
void PrintMenu(const ShownMenu& menu);
// The box with its title in the top edge and its buttons in a row.
void PrintMessage(const ShownMessage& message);
// The dialog laid out at its coordinates in `width` columns, followed by
// the list of the controls a script can answer, by their index.
void PrintDialog(const tarnwick::FarDialogItem* items, int count, int width);

}  // namespace twhost
