#include "script/line_frontend.h"

#include <algorithm>

#include "screens/text_screens.h"
#include "script/ui_answers.h"

using namespace tarnwick;

namespace twhost {

MenuChoice LineFrontend::ChooseFromMenu(const ShownMenu& menu) {
    PrintMenu(menu);
    return AnswerMenu(script_, menu);
}

int LineFrontend::ShowMessage(const ShownMessage& message) {
    PrintMessage(message);
    if (message.Buttons.empty()) return -1;  // nothing to press: the box only shows
    return AnswerMessage(script_, message);
}

int LineFrontend::RunDialog(FarDialogItem* items, int count, const DialogPlace& place) {
    int width = place.X1 < 0 ? place.X2 : place.X2 - place.X1 + 1;
    PrintDialog(items, count, std::clamp(width, 10, 200));
    return AnswerDialog(script_, items, count);
}

}  // namespace twhost
