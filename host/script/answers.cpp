#include "answers.h"

#include "script_support.h"

#include <sstream>

namespace twhost {
namespace {

std::deque<Answer> g_queue;
AnswerPrompt g_prompt;

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
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
    if (word == "pick") {
        result.Kind = AnswerKind::Pick;
        if (!ParseInt(arg1, &result.Number) || result.Number < 1) {
            *error = "pick needs an item number (1 is the first item)";
            return true;
        }
    } else if (word == "key") {
        std::string key = Lower(arg1);
        if (key == "enter") {
            result.Kind = AnswerKind::Enter;
        } else if (key == "esc" || key == "escape") {
            result.Kind = AnswerKind::Esc;
        } else if (key == "del" || key == "delete") {
            result.Kind = AnswerKind::Del;
            if (!arg2.empty() && (!ParseInt(arg2, &result.Number) || result.Number < 1)) {
                *error = "key Del takes an optional item number (1 is the first item)";
                return true;
            }
        } else if (arg1.size() == 1) {
            result.Kind = AnswerKind::Hotkey;
            result.Text = arg1;
        } else {
            *error = "key takes Enter, Esc, Del [N] or a hotkey character";
            return true;
        }
    } else if (word == "yes") {
        result.Kind = AnswerKind::Yes;
    } else if (word == "no") {
        result.Kind = AnswerKind::No;
    } else if (word == "ok") {
        result.Kind = AnswerKind::Ok;
    } else if (word == "cancel") {
        result.Kind = AnswerKind::Cancel;
    } else if (word == "press") {
        result.Kind = AnswerKind::Press;
        if (!ParseInt(arg1, &result.Number) || result.Number < 0) {
            *error = "press needs a dialog item index";
            return true;
        }
    } else if (word == "check") {
        result.Kind = AnswerKind::Check;
        std::string state = Lower(arg2);
        if (!ParseInt(arg1, &result.Number) || result.Number < 0 || (state != "on" && state != "off")) {
            *error = "check needs a dialog item index and on or off";
            return true;
        }
        result.On = state == "on";
    } else if (word == "set-field") {
        result.Kind = AnswerKind::SetField;
        if (!ParseInt(arg1, &result.Number) || result.Number < 0) {
            *error = "set-field needs a dialog item index and the text";
            return true;
        }
        result.Text = RestAfter(line, 2);
    } else {
        return false;
    }
    *answer = result;
    return true;
}

std::deque<Answer>& AnswerQueue() { return g_queue; }

void SetAnswerPrompt(AnswerPrompt prompt) { g_prompt = std::move(prompt); }

const AnswerPrompt& GetAnswerPrompt() { return g_prompt; }

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

}  // namespace twhost
