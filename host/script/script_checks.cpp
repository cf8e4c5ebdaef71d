#include "script_checks.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "answers.h"
#include "console.h"
#include "editors.h"
#include "files.h"
#include "host_state.h"
#include "host_ui.h"
#include "plugin_calls.h"
#include "position_text.h"
#include "session.h"
#include "standard_functions.h"

using namespace tarnwick;

namespace twhost {

bool CmdExpectPos(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    const int actual[5] = {editor->CurLine, editor->CurPos, editor->TopScreenLine, editor->LeftPos, editor->Overtype};
    const char* names[5] = {"line", "col", "top", "left", "overtype"};
    for (std::size_t i = 1; i < args.Words.size() && i <= 5; ++i) {
        if (args.Words[i] == "-") continue;
        int wanted;
        if (!NeedInt(args, i, &wanted, error)) return false;
        if (wanted != actual[i - 1]) {
            *error = std::string("expected ") + names[i - 1] + " " + std::to_string(wanted) + ", but " + DescribeEditor(*editor);
            return false;
        }
    }
    return true;
}

bool CmdExpectEditors(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    if (static_cast<int>(AllEditors().size()) != wanted) {
        *error = "expected " + std::to_string(wanted) + " editors, there are " + std::to_string(AllEditors().size());
        return false;
    }
    return true;
}

bool CmdExpectCfgText(const Args& args, std::string* error) {
    bool wantIt = args.Words[0] == "expect-cfg-contains";
    std::string text = RestAfter(args.Line, 1);
    std::string content;
    ReadWholeFile(Host().CfgPath, &content);
    if (Contains(content, text) != wantIt) {
        *error = "expected " + Host().CfgPath + (wantIt ? " to contain \"" : " not to contain \"") + text + "\"";
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

bool CmdExpectCfgItem(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    std::string path = Resolve(args.Words[1]);
    std::vector<const TextItem*> items = FindEditorItems(lines, path);
    if (args.Words[0] == "expect-cfg-no-item") {
        if (!items.empty()) {
            *error = "expected no item for " + path + " in " + Host().CfgPath;
            ShowFile(Host().CfgPath);
            return false;
        }
        return true;
    }
    if (items.size() != 1) {
        *error = "expected one item for " + path + " in " + Host().CfgPath + ", found " + std::to_string(items.size());
        ShowFile(Host().CfgPath);
        return false;
    }
    const char* names[5] = {"line", "column", "top", "left", "overtype"};
    for (std::size_t i = 2; i < args.Words.size() && i < 7; ++i) {
        if (args.Words[i] == "-") continue;
        const std::string* value = items[0]->Find(names[i - 2]);
        if (value == nullptr || *value != args.Words[i]) {
            *error = "expected " + std::string(names[i - 2]) + "=\"" + args.Words[i] + "\" in the item for " + path + ", found " +
                     (value == nullptr ? std::string("none") : "\"" + *value + "\"");
            ShowFile(Host().CfgPath);
            return false;
        }
    }
    return true;
}

bool CmdExpectCfgItems(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    if (CountItems(lines) != wanted) {
        *error = "expected " + std::to_string(wanted) + " items in " + Host().CfgPath + ", found " + std::to_string(CountItems(lines));
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

bool CmdExpectFile(const Args& args, std::string* error) {
    bool wantIt = args.Words[0] == "expect-file-exists";
    std::string path = Resolve(RestAfter(args.Line, 1));
    if (FileExists(path) != wantIt) {
        *error = "expected " + path + (wantIt ? " to exist" : " not to exist");
        return false;
    }
    return true;
}

bool CmdExpectReturn(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    if (!Host().HaveLastResult || Host().LastResult != wanted) {
        *error = "expected the last call to return " + std::to_string(wanted) + ", it returned " +
                 (Host().HaveLastResult ? std::to_string(Host().LastResult) : std::string("nothing yet"));
        return false;
    }
    return true;
}

bool CmdExpectPluginFlags(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if (static_cast<int>(info.Flags) != wanted) {
        *error = "expected plug-in flags " + std::to_string(wanted) + ", GetPluginInfo gave " + std::to_string(info.Flags) + " (" +
                 FlagNames(info.Flags) + ")";
        return false;
    }
    return true;
}

namespace {

// A check of the UI: run now against what was shown last, or, while answers
// are queued, against the next UI shown.
bool UiCheck(const Args& args, const char* kind, std::function<bool(std::string*)> verify, std::string* error) {
    std::deque<Answer>& queue = AnswerQueue();
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

}  // namespace

namespace {

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
    if (!AnswerQueue().empty()) {
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

// Checks of the host's own standard functions.
bool CmdHostCheckMask(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 2, &wanted, error)) return false;
    std::string masks = RestAfter(args.Line, 3);
    bool match = MatchMaskList(masks.c_str(), args.Words[1].c_str(), false);
    if (match != (wanted != 0)) {
        *error = "expected the masks \"" + masks + "\" to " + (wanted != 0 ? "match " : "not match ") + args.Words[1];
        return false;
    }
    return true;
}

bool CmdHostCheckTrunc(const Args& args, std::string* error) {
    int length;
    if (!NeedInt(args, 1, &length, error) || args.Words.size() < 4) {
        *error = "host-check-trunc N \"PATH\" \"RESULT\"";
        return false;
    }
    std::vector<char> buffer(args.Words[2].begin(), args.Words[2].end());
    buffer.push_back('\0');
    TruncatePath(buffer.data(), length);
    if (args.Words[3] != buffer.data()) {
        *error = "expected TruncPathStr to give \"" + args.Words[3] + "\", it gave \"" + std::string(buffer.data()) + "\"";
        return false;
    }
    return true;
}

}  // namespace twhost
