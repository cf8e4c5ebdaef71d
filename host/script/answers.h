// The queue of answers for the host's next menus, message boxes and
// dialogs. A script queues them before the command that shows the UI, in
// the order the UI will come up, so one command can run a whole menu loop:
//
//   pick 3        the plug-in menu: Enter on item 3 (the list)
//   key Del 2     the list: Del on its item 2
//   yes           the question: Yes
//   key Esc       the list again: Esc
//   key Esc       the plug-in menu again: Esc
//   menu          now open the menu
//
// Checks may sit between answers: they run against the UI that is shown
// next, before its answer is taken.
#pragma once

#include <functional>
#include <string>

namespace twhost {

enum class AnswerKind {
    Pick,      // menu: Enter on item Number (1-based)
    Enter,     // menu: Enter on the marked item; message: the first button; dialog: the default button
    Del,       // menu: Del on item Number, or on the marked item when Number is 0
    Esc,       // any: close it with Esc (-1)
    Hotkey,    // menu: the item whose hotkey is Text[0]
    Yes,       // message: the Yes button
    No,        // message: the No button
    Ok,        // message: the OK button; dialog: the default button
    Cancel,    // dialog: the Cancel button (else the last button that is not the default); message: its Cancel button
    Press,     // dialog: the button with index Number
    Check,     // dialog: set the check box with index Number to On (does not close it)
    SetField,  // dialog: put Text into the edit field with index Number (does not close it)
    CheckUi,  // a check of the UI being shown (see Verify)
};

struct Answer {
    AnswerKind Kind = AnswerKind::Esc;
    int Number = 0;
    bool On = false;
    std::string Text;
    std::string Where;  // "script.tws:12" for messages
    std::string UiKind; // for CheckUi: the UI it checks, "menu", "message" or "dialog"
    // For CheckUi: true when the shown UI passes; else `failure` says why.
    std::function<bool(std::string* failure)> Verify;
};

// Parses one answer command ("pick 3", "key Del", "yes", "check 2 off",
// "set-field 8 TEXT", ...). False when the line is not an answer command;
// `error` is set when it is one but malformed.
bool ParseAnswer(const std::string& line, Answer* answer, std::string* error);

// Asks the user for the answer to the UI called `what`; false when the
// input ended.
using AnswerPrompt = std::function<bool(const std::string& what, Answer* answer)>;

// The answers queued by a run of commands (script/script_state.h).
struct ScriptState;

std::string DescribeAnswer(const Answer& answer);

// The next answer for a UI of `kind` ("menu", "message", "dialog") just
// shown, called `what` in messages: first the checks queued for it run,
// then the queued answer is taken from `script`, else its prompt asks.
// Stops the host when a check fails, the UI is of another kind than a check
// expects, or no answer comes.
Answer NextAnswer(ScriptState& script, const std::string& kind, const std::string& what);
// Stops the host: the answer does not fit the UI shown (`why`, if given,
// says how).
[[noreturn]] void AnswerDoesNotFit(const Answer& answer, const std::string& what, const std::string& why);

}  // namespace twhost
