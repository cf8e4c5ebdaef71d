// The line-oriented front end: prints each menu, message box and dialog as
// text and takes its answer from the script's queue (or the console's
// prompt in interactive mode).
#pragma once

#include "core/ui_frontend.h"

namespace twhost {

struct ScriptState;

class LineFrontend : public UiFrontend {
public:
    // REQUIRES: `script` outlives the front end; it holds the answers queued
    // by the run of commands.
    explicit LineFrontend(ScriptState& script) : script_(script) {}

    MenuChoice ChooseFromMenu(const ShownMenu& menu) override;
    int ShowMessage(const ShownMessage& message) override;
    int RunDialog(tarnwick::FarDialogItem* items, int count, const DialogPlace& place) override;

private:
    ScriptState& script_;
};

}  // namespace twhost
