#include "script/line_frontend.h"

#include <algorithm>

#include "screens/text_screens.h"
#include "script/ui_answers.h"

using namespace tarnwick;

namespace twhost {
namespace {

class TextFrontend : public UiFrontend {
public:
    MenuChoice ChooseFromMenu(const ShownMenu& menu) override {
        PrintMenu(menu);
        return AnswerMenu(menu);
    }

    int ShowMessage(const ShownMessage& message) override {
        PrintMessage(message);
        if (message.Buttons.empty()) return -1;  // nothing to press: the box only shows
        return AnswerMessage(message);
    }

    int RunDialog(FarDialogItem* items, int count, const DialogPlace& place) override {
        int width = place.X1 < 0 ? place.X2 : place.X2 - place.X1 + 1;
        PrintDialog(items, count, std::clamp(width, 10, 200));
        return AnswerDialog(items, count);
    }
};

}  // namespace

UiFrontend& LineFrontend() {
    static TextFrontend frontend;
    return frontend;
}

}  // namespace twhost
