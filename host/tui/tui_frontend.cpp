#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {

MenuChoice TuiFrontend::ChooseFromMenu(const ShownMenu& menu) { return RunMenu(screen_, menu); }

int TuiFrontend::ShowMessage(const ShownMessage& message) { return RunMessage(screen_, message); }

int TuiFrontend::RunDialog(FarDialogItem* items, int count, const DialogPlace& place) {
    return twhost::RunDialog(screen_, items, count, place);
}

}  // namespace twhost
