#include "services/ui_frontend.h"

#include "screens/console.h"

namespace twhost {
namespace {

UiFrontend* g_frontend = nullptr;

}  // namespace

void SetUiFrontend(UiFrontend* frontend) { g_frontend = frontend; }

UiFrontend& CurrentUiFrontend() {
    if (g_frontend == nullptr) Fatal(kExitSetupFailed, "the host has no front end for menus, messages and dialogs", true);
    return *g_frontend;
}

}  // namespace twhost
