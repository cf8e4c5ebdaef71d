#include <string>

#include "script/answers.h"
#include "script/ui_answers.h"

namespace twhost {
namespace {

int ButtonNamed(const ShownMessage& message, const std::string& name) {
    for (std::size_t i = 0; i < message.Buttons.size(); ++i) {
        if (WithoutHotkeyMark(message.Buttons[i]) == name) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

int AnswerMessage(ScriptState& script, const ShownMessage& message) {
    Answer answer = NextAnswer(script, "message", "message box");
    int result = -1;
    switch (answer.Kind) {
        case AnswerKind::Ok: result = ButtonNamed(message, "OK"); break;
        case AnswerKind::Yes: result = ButtonNamed(message, "Yes"); break;
        case AnswerKind::No: result = ButtonNamed(message, "No"); break;
        case AnswerKind::Enter: result = 0; break;
        case AnswerKind::Cancel: result = ButtonNamed(message, "Cancel"); break;
        case AnswerKind::Esc: return -1;
        default: AnswerDoesNotFit(answer, "message box", "");
    }
    if (result < 0) AnswerDoesNotFit(answer, "message box", "it has no such button");
    return result;
}

}  // namespace twhost
