#include <algorithm>
#include <cstring>
#include <string>

#include "core/console.h"
#include "kit/standard_functions.h"
#include "script/answers.h"
#include "script/ui_answers.h"

using namespace tarnwick;

namespace twhost {
namespace {

// The dialog's Cancel button: the button labelled Cancel, else the last
// button that is not the default one; -1 when there is none.
int CancelButton(const FarDialogItem* items, int count) {
    int fallback = -1;
    for (int i = 0; i < count; ++i) {
        if (items[i].Type != DI_BUTTON) continue;
        if (hostkit::CompareIgnoringCase(WithoutHotkeyMark(items[i].Data).c_str(), "Cancel", -1) == 0) return i;
        if (items[i].DefaultButton == 0) fallback = i;
    }
    return fallback;
}

int DefaultButton(const FarDialogItem* items, int count) {
    for (int i = 0; i < count; ++i) {
        if (items[i].Type == DI_BUTTON && items[i].DefaultButton != 0) return i;
    }
    return -1;
}

FarDialogItem& ItemOfType(FarDialogItem* items, int count, const Answer& answer, int type, const char* what) {
    if (answer.Number < 0 || answer.Number >= count) {
        AnswerDoesNotFit(answer, "dialog", "it has items 0 to " + std::to_string(count - 1));
    }
    FarDialogItem& item = items[answer.Number];
    if (item.Type != type) AnswerDoesNotFit(answer, "dialog", "item " + std::to_string(answer.Number) + " is not a " + what);
    return item;
}

void PutIntoField(FarDialogItem& item, const std::string& text) {
    std::size_t room = sizeof item.Data - 1;
    if (text.size() > room) Say("  (the field holds " + std::to_string(room) + " characters; the rest is cut)");
    std::size_t length = std::min(text.size(), room);
    std::memcpy(item.Data, text.data(), length);
    item.Data[length] = '\0';
}

}  // namespace

int AnswerDialog(ScriptState& script, FarDialogItem* items, int count) {
    while (true) {
        Answer answer = NextAnswer(script, "dialog", "dialog");
        switch (answer.Kind) {
            case AnswerKind::Check:
                ItemOfType(items, count, answer, DI_CHECKBOX, "check box").Selected = answer.On ? 1 : 0;
                break;
            case AnswerKind::SetField:
                PutIntoField(ItemOfType(items, count, answer, DI_EDIT, "edit field"), answer.Text);
                break;
            case AnswerKind::Ok:
            case AnswerKind::Enter: {
                int button = DefaultButton(items, count);
                if (button < 0) AnswerDoesNotFit(answer, "dialog", "it has no default button; use press N");
                return button;
            }
            case AnswerKind::Press:
                ItemOfType(items, count, answer, DI_BUTTON, "button");
                return answer.Number;
            case AnswerKind::Cancel: {
                int cancel = CancelButton(items, count);
                if (cancel < 0) AnswerDoesNotFit(answer, "dialog", "it has no button but the default one");
                return cancel;
            }
            case AnswerKind::Esc:
                return -1;
            default:
                AnswerDoesNotFit(answer, "dialog", "");
        }
    }
}

}  // namespace twhost
