// The script's checks of the UI the plug-in showed: menus, message boxes,
// dialogs and the sequence of what came up.
#include <functional>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/shown_ui.h"
#include "script/answers.h"
#include "script/script_checks.h"
#include "script/script_state.h"

using namespace tarnwick;

namespace twhost {

namespace {

// A check of the UI: run now against what was shown last, or, while answers
// are queued, against the next UI shown.
bool UiCheck(const Args& args, const char* kind, std::function<bool(std::string*)> verify, std::string* error) {
    std::deque<Answer>& queue = args.Script->Answers;
    if (args.NextUi || !queue.empty()) {
        Answer check;
        check.Kind = AnswerKind::CheckUi;
        check.UiKind = kind;
        check.Where = args.Where;
        check.Text = args.Line;
        check.Verify = std::move(verify);
        queue.push_back(check);
        return true;
    }
    return verify(error);
}

bool NeedMenu(const ShownMenu** menu, std::string* failure) {
    *menu = LastMenu();
    if (*menu == nullptr) {
        *failure = "no menu was shown";
        return false;
    }
    return true;
}

}  // namespace

bool CmdExpectMenuCount(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    return UiCheck(args, "menu", [wanted](std::string* failure) {
        const ShownMenu* menu;
        if (!NeedMenu(&menu, failure)) return false;
        if (static_cast<int>(menu->Items.size()) != wanted) {
            *failure = "expected " + std::to_string(wanted) + " menu items, the menu \"" + menu->Title + "\" had " +
                       std::to_string(menu->Items.size());
            return false;
        }
        return true;
    }, error);
}

bool CmdExpectMenuItem(const Args& args, std::string* error) {
    int number;
    if (!NeedInt(args, 1, &number, error)) return false;
    std::string what = RestAfter(args.Line, 2);
    return UiCheck(args, "menu", [number, what](std::string* failure) {
        const ShownMenu* menu;
        if (!NeedMenu(&menu, failure)) return false;
        if (number < 1 || number > static_cast<int>(menu->Items.size())) {
            *failure = "the menu has no item " + std::to_string(number);
            return false;
        }
        const ShownMenuItem& item = menu->Items[static_cast<std::size_t>(number - 1)];
        bool ok;
        if (what == "selected") {
            ok = (item.Flags & MIF_SELECTED) != 0;
        } else if (what == "unselected") {
            ok = (item.Flags & MIF_SELECTED) == 0;
        } else if (what == "disabled") {
            ok = (item.Flags & MIF_DISABLE) != 0;
        } else if (what == "enabled") {
            ok = (item.Flags & MIF_DISABLE) == 0;
        } else {
            ok = Contains(WithoutHotkeyMark(item.Text), what) || Contains(item.Text, what);
        }
        if (!ok) *failure = "expected menu item " + std::to_string(number) + " to be " + (what.empty() ? "\"\"" : "\"" + what + "\"") +
                            "; it is \"" + item.Text + "\" with flags " + Hex(item.Flags);
        return ok;
    }, error);
}

bool CmdExpectMenuMarked(const Args& args, std::string* error) {
    int wanted = 0;
    if (args.Words[1] != "none" && !NeedInt(args, 1, &wanted, error)) return false;
    return UiCheck(args, "menu", [wanted](std::string* failure) {
        const ShownMenu* menu;
        if (!NeedMenu(&menu, failure)) return false;
        std::vector<int> marked;
        for (std::size_t i = 0; i < menu->Items.size(); ++i) {
            if ((menu->Items[i].Flags & MIF_SELECTED) != 0) marked.push_back(static_cast<int>(i + 1));
        }
        bool ok = wanted == 0 ? marked.empty() : (marked.size() == 1 && marked[0] == wanted);
        if (!ok) {
            std::string list;
            for (int m : marked) list += " " + std::to_string(m);
            *failure = "expected " + (wanted == 0 ? std::string("no marked item") : "item " + std::to_string(wanted) + " alone marked") +
                       "; marked:" + (list.empty() ? " none" : list);
        }
        return ok;
    }, error);
}

bool CmdExpectMenuText(const Args& args, std::string* error) {
    bool title = args.Words[0] == "expect-menu-title";
    std::string text = RestAfter(args.Line, 1);
    return UiCheck(args, "menu", [title, text](std::string* failure) {
        const ShownMenu* menu;
        if (!NeedMenu(&menu, failure)) return false;
        const std::string& actual = title ? menu->Title : menu->Bottom;
        if (!Contains(actual, text) || (text.empty() && !actual.empty())) {
            *failure = std::string("expected the menu's ") + (title ? "title" : "bottom line") + " to hold \"" + text + "\"; it is \"" +
                       actual + "\"";
            return false;
        }
        return true;
    }, error);
}

bool CmdExpectMessage(const Args& args, std::string* error) {
    std::string text = RestAfter(args.Line, 1);
    return UiCheck(args, "message", [text](std::string* failure) {
        const ShownMessage* message = LastMessage();
        if (message == nullptr) {
            *failure = "no message box was shown";
            return false;
        }
        std::string all;
        for (const std::string& line : message->Lines) {
            if (Contains(line, text)) return true;
            all += " \"" + line + "\"";
        }
        *failure = "expected a message holding \"" + text + "\"; the last one had:" + all;
        return false;
    }, error);
}

bool CmdExpectMessageKind(const Args& args, std::string* error) {
    std::string kind = args.Words[1];
    std::string buttons = args.Words.size() > 2 ? args.Words[2] : "";
    if (kind != "warning" && kind != "plain") {
        *error = "expect-message-kind takes warning or plain, and optionally the buttons (OK, Yes,No)";
        return false;
    }
    return UiCheck(args, "message", [kind, buttons](std::string* failure) {
        const ShownMessage* message = LastMessage();
        if (message == nullptr) {
            *failure = "no message box was shown";
            return false;
        }
        bool warning = (message->Flags & FMSG_WARNING) != 0;
        std::string actual;
        for (const std::string& button : message->Buttons) actual += (actual.empty() ? "" : ",") + WithoutHotkeyMark(button);
        if (warning != (kind == "warning") || (!buttons.empty() && buttons != actual)) {
            *failure = "expected a " + kind + " box" + (buttons.empty() ? "" : " with " + buttons) + "; it was " +
                       (warning ? "a warning" : "plain") + " with " + (actual.empty() ? "no buttons" : actual) + " (flags " +
                       Hex(message->Flags) + ")";
            return false;
        }
        return true;
    }, error);
}

namespace {

bool DialogItemOf(int index, int type, const char* what, const FarDialogItem** item, std::string* failure) {
    const ShownDialog* dialog = LastDialog();
    if (dialog == nullptr) {
        *failure = "no dialog was shown";
        return false;
    }
    if (index < 0 || index >= static_cast<int>(dialog->Items.size()) || dialog->Items[static_cast<std::size_t>(index)].Type != type) {
        *failure = "dialog item " + std::to_string(index) + " is not a " + what;
        return false;
    }
    *item = &dialog->Items[static_cast<std::size_t>(index)];
    return true;
}

}  // namespace

bool CmdExpectDialogCheck(const Args& args, std::string* error) {
    int index;
    bool on;
    if (!NeedInt(args, 1, &index, error) || !NeedOnOff(args.Words[2], &on, error)) return false;
    return UiCheck(args, "dialog", [index, on](std::string* failure) {
        const FarDialogItem* item;
        if (!DialogItemOf(index, DI_CHECKBOX, "check box", &item, failure)) return false;
        if ((item->Selected != 0) != on) {
            *failure = "expected check box " + std::to_string(index) + (on ? " set" : " clear") + "; its Selected is " +
                       std::to_string(item->Selected);
            return false;
        }
        return true;
    }, error);
}

bool CmdExpectDialogField(const Args& args, std::string* error) {
    int index;
    if (!NeedInt(args, 1, &index, error)) return false;
    bool isPath = args.Words[0] == "expect-dialog-path";
    std::string wanted = isPath ? Resolve(RestAfter(args.Line, 2)) : RestAfter(args.Line, 2);
    return UiCheck(args, "dialog", [index, wanted](std::string* failure) {
        const FarDialogItem* item;
        if (!DialogItemOf(index, DI_EDIT, "edit field", &item, failure)) return false;
        if (wanted != item->Data) {
            *failure = "expected field " + std::to_string(index) + " to hold \"" + wanted + "\"; it holds \"" + item->Data + "\"";
            return false;
        }
        return true;
    }, error);
}

bool CmdExpectShown(const Args& args, std::string* error) {
    std::vector<std::string> wanted(args.Words.begin() + 1, args.Words.end());
    if (wanted.size() == 1 && wanted[0] == "nothing") wanted.clear();
    if (!args.Script->Answers.empty()) {
        *error = "expect-shown looks at the last command; give it after the command, not among queued answers";
        return false;
    }
    if (wanted != ShownSequence()) {
        std::string actual;
        for (const std::string& kind : ShownSequence()) actual += " " + kind;
        *error = "expected the UI shown to be" + (args.Words.size() > 1 ? RestAfter(args.Line, 0).substr(args.Words[0].size()) : "") +
                 "; it was" + (actual.empty() ? " nothing" : actual);
        return false;
    }
    return true;
}

}  // namespace twhost
