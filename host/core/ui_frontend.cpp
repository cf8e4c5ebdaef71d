#include "core/ui_frontend.h"

#include "core/console.h"
#include "core/host_state.h"

namespace twhost {
void SetUiFrontend(UiFrontend* frontend) { Host().Frontend = frontend; }

UiFrontend& CurrentUiFrontend() {
    if (Host().Frontend == nullptr) Fatal(kExitSetupFailed, "the host has no front end for menus, messages and dialogs", true);
    return *Host().Frontend;
}

}  // namespace twhost
