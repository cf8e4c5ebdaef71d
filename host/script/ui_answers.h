// How the script's answers (answers.h) act on the UI shown: the menu item
// chosen, the button pressed, the dialog's check boxes and fields changed.
// The answers come from the run's state (script/script_state.h). An answer
// that does not fit the UI stops the host with kExitScriptFailed.
#pragma once

#include "core/ui_frontend.h"
#include "plugin/host_abi.h"

namespace twhost {

struct ScriptState;

MenuChoice AnswerMenu(ScriptState& script, const ShownMenu& menu);
// REQUIRES: the message has buttons.
int AnswerMessage(ScriptState& script, const ShownMessage& message);
// Takes answers until one closes the dialog; the others change `items`.
int AnswerDialog(ScriptState& script, tarnwick::FarDialogItem* items, int count);

}  // namespace twhost
