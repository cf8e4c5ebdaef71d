// What a run of commands keeps between its lines: the answers queued for
// the UI still to come, and how to ask when none is left. main makes one for
// the run; the command runner and its commands queue answers and checks in
// it, and the line-oriented front end takes them out as the plug-in's UI
// comes up.
#pragma once

#include <deque>

#include "script/answers.h"

namespace twhost {

struct ScriptState {
    // Answers and checks (AnswerKind::CheckUi) in the order the UI will
    // come up; NextAnswer takes from the front.
    std::deque<Answer> Answers;
    // How the UI asks when the queue is empty: in interactive mode, a prompt
    // on the console; in script mode, none (an unanswered UI is an error).
    AnswerPrompt Prompt;
};

}  // namespace twhost
