#include "script/answers.h"

#include <sstream>

#include "core/console.h"
#include "script/script_state.h"
#include "script/script_support.h"

namespace twhost {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The answers of one word.
bool ParseWordAnswer(const std::string& word, AnswerKind* kind) {
    static const std::pair<const char*, AnswerKind> words[] = {
        {"yes", AnswerKind::Yes}, {"no", AnswerKind::No}, {"ok", AnswerKind::Ok}, {"cancel", AnswerKind::Cancel}};
    for (const auto& known : words) {
        if (word == known.first) {
            *kind = known.second;
            return true;
        }
    }
    return false;
}

// "key Enter", "key Esc", "key Del [N]" and "key LETTER".
void ParseKeyAnswer(const std::string& arg1, const std::string& arg2, Answer* result, std::string* error) {
    std::string key = Lower(arg1);
    if (key == "enter") {
        result->Kind = AnswerKind::Enter;
    } else if (key == "esc" || key == "escape") {
        result->Kind = AnswerKind::Esc;
    } else if (key == "del" || key == "delete") {
        result->Kind = AnswerKind::Del;
        if (!arg2.empty() && (!ParseInt(arg2, &result->Number) || result->Number < 1)) {
            *error = "key Del takes an optional item number (1 is the first item)";
        }
    } else if (arg1.size() == 1) {
        result->Kind = AnswerKind::Hotkey;
        result->Text = arg1;
    } else {
        *error = "key takes Enter, Esc, Del [N] or a hotkey character";
    }
}

// "press N", "check N on|off" and "set-field N ..." (the text is taken by
// the caller, from the whole line).
void ParseDialogAnswer(const std::string& word, const std::string& arg1, const std::string& arg2, Answer* result,
                       std::string* error) {
    bool haveIndex = ParseInt(arg1, &result->Number) && result->Number >= 0;
    if (word == "press") {
        result->Kind = AnswerKind::Press;
        if (!haveIndex) *error = "press needs a dialog item index";
    } else if (word == "check") {
        result->Kind = AnswerKind::Check;
        std::string state = Lower(arg2);
        if (!haveIndex || (state != "on" && state != "off")) *error = "check needs a dialog item index and on or off";
        result->On = state == "on";
    } else {
        result->Kind = AnswerKind::SetField;
        if (!haveIndex) *error = "set-field needs a dialog item index and the text";
    }
}

}  // namespace

bool ParseAnswer(const std::string& line, Answer* answer, std::string* error) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    word = Lower(word);
    std::string arg1;
    std::string arg2;
    in >> arg1 >> arg2;
    Answer result;
    std::string problem;
    if (word == "pick") {
        result.Kind = AnswerKind::Pick;
        if (!ParseInt(arg1, &result.Number) || result.Number < 1) problem = "pick needs an item number (1 is the first item)";
    } else if (word == "key") {
        ParseKeyAnswer(arg1, arg2, &result, &problem);
    } else if (word == "press" || word == "check" || word == "set-field") {
        ParseDialogAnswer(word, arg1, arg2, &result, &problem);
        if (result.Kind == AnswerKind::SetField) result.Text = RestAfter(line, 2);
    } else if (!ParseWordAnswer(word, &result.Kind)) {
        return false;
    }
    if (!problem.empty()) {
        *error = problem;
    } else {
        *answer = result;
    }
    return true;
}

std::string DescribeAnswer(const Answer& answer) {
    switch (answer.Kind) {
        case AnswerKind::Pick: return "pick " + std::to_string(answer.Number);
        case AnswerKind::Enter: return "key Enter";
        case AnswerKind::Del: return answer.Number > 0 ? "key Del " + std::to_string(answer.Number) : "key Del";
        case AnswerKind::Esc: return "key Esc";
        case AnswerKind::Hotkey: return "key " + answer.Text;
        case AnswerKind::Yes: return "yes";
        case AnswerKind::No: return "no";
        case AnswerKind::Ok: return "ok";
        case AnswerKind::Cancel: return "cancel";
        case AnswerKind::Press: return "press " + std::to_string(answer.Number);
        case AnswerKind::Check: return "check " + std::to_string(answer.Number) + (answer.On ? " on" : " off");
        case AnswerKind::SetField: return "set-field " + std::to_string(answer.Number) + " \"" + answer.Text + "\"";
        case AnswerKind::CheckUi: return answer.Text;
    }
    return "?";
}

Answer NextAnswer(ScriptState& script, const std::string& kind, const std::string& what) {
    std::deque<Answer>& queue = script.Answers;
    while (!queue.empty() && queue.front().Kind == AnswerKind::CheckUi) {
        Answer check = queue.front();
        queue.pop_front();
        std::string failure;
        if (check.UiKind != kind) {
            Fatal(kExitScriptFailed, "FAILED " + check.Where + ": the check was for a " + check.UiKind + ", but a " + what + " came", true);
        }
        if (!check.Verify(&failure)) Fatal(kExitScriptFailed, "FAILED " + check.Where + ": " + failure, true);
        Say("  (" + check.Text + ": ok)");
    }
    if (!queue.empty()) {
        Answer answer = queue.front();
        queue.pop_front();
        Say("  answer: " + DescribeAnswer(answer));
        return answer;
    }
    if (script.Prompt) {
        Answer answer;
        if (script.Prompt(what, &answer)) return answer;
        Fatal(kExitScriptFailed, "the input ended while the " + what + " waited for an answer", true);
    }
    Fatal(kExitScriptFailed, "FAILED: the plug-in showed a " + what + " but no answer was queued for it", true);
}

void AnswerDoesNotFit(const Answer& answer, const std::string& what, const std::string& why) {
    Fatal(kExitScriptFailed, answer.Where + ": answer '" + DescribeAnswer(answer) + "' does not fit the " + what +
                                  (why.empty() ? "" : ": " + why),
          true);
}

}  // namespace twhost
