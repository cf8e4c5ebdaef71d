#include <string>

#include "kit/standard_functions.h"
#include "script/answers.h"
#include "script/ui_answers.h"

using namespace tarnwick;

namespace twhost {
namespace {

void NeedSelectable(const ShownMenu& menu, const Answer& answer, int index) {
    int count = static_cast<int>(menu.Items.size());
    if (index < 0 || index >= count) AnswerDoesNotFit(answer, "menu", "it has " + std::to_string(count) + " items");
    const ShownMenuItem& item = menu.Items[static_cast<std::size_t>(index)];
    if ((item.Flags & MIF_SEPARATOR) != 0) AnswerDoesNotFit(answer, "menu", "that item is a separator");
    if ((item.Flags & MIF_DISABLE) != 0) AnswerDoesNotFit(answer, "menu", "that item is disabled");
}

int ItemWithHotkey(const ShownMenu& menu, char key) {
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        char hotkey = HotkeyOf(menu.Items[i].Text);
        if (hotkey != '\0' && hostkit::FoldCase(hotkey) == hostkit::FoldCase(key)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

MenuChoice AnswerMenu(ScriptState& script, const ShownMenu& menu) {
    Answer answer = NextAnswer(script, "menu", "menu");
    MenuChoice choice;
    switch (answer.Kind) {
        case AnswerKind::Pick:
            choice.Item = answer.Number - 1;
            break;
        case AnswerKind::Enter:
            choice.Item = MarkedItem(menu);
            break;
        case AnswerKind::Del:
            choice.BreakCode = BreakKeyIndex(menu, kVirtualKeyDelete);
            if (choice.BreakCode < 0) AnswerDoesNotFit(answer, "menu", "Del is not one of its break keys");
            choice.Item = answer.Number > 0 ? answer.Number - 1 : MarkedItem(menu);
            break;
        case AnswerKind::Hotkey:
            choice.Item = ItemWithHotkey(menu, answer.Text[0]);
            if (choice.Item < 0) AnswerDoesNotFit(answer, "menu", "no item has that hotkey");
            break;
        case AnswerKind::Esc:
            return choice;
        default:
            AnswerDoesNotFit(answer, "menu", "");
    }
    NeedSelectable(menu, answer, choice.Item);
    return choice;
}

}  // namespace twhost
