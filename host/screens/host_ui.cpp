#include "host_ui.h"

#include <algorithm>
#include <cstring>

#include "answers.h"
#include "console.h"
#include "host_state.h"
#include "language_file.h"
#include "standard_functions.h"

using namespace tarnwick;

namespace twhost {
namespace {

ShownMenu g_menu;
ShownMessage g_message;
ShownDialog g_dialog;
bool g_haveMenu = false;
bool g_haveMessage = false;
bool g_haveDialog = false;
std::vector<std::string> g_sequence;

constexpr int MAX_BREAK_KEYS = 256;

void Trace(const std::string& line) {
    if (Host().Options.Trace) Say("    [ui] " + line);
}

void CheckModuleNumber(INT_PTR_T moduleNumber, const char* service) {
    if (moduleNumber != HOST_MODULE_NUMBER) {
        Fatal(EXIT_PLUGIN_FAULT, std::string(service) + ": ModuleNumber " + std::to_string(static_cast<long long>(moduleNumber)) +
                                     " is not the one the host gave the plug-in (" +
                                     std::to_string(static_cast<long long>(HOST_MODULE_NUMBER)) + ")",
              true);
    }
}

// A text field of a record, which must end within its `size` bytes.
std::string BoundedText(const char* text, std::size_t size, const std::string& what) {
    const void* end = std::memchr(text, '\0', size);
    if (end == nullptr) Fatal(EXIT_PLUGIN_FAULT, what + " is not terminated within its " + std::to_string(size) + " bytes", true);
    return std::string(text, static_cast<const char*>(end));
}

std::string Shown(const char* text) { return text == nullptr ? std::string() : ForConsole(text); }

[[noreturn]] void AnswerDoesNotFit(const Answer& answer, const std::string& what, const std::string& why) {
    Fatal(EXIT_SCRIPT_FAILED, answer.Where + ": answer '" + DescribeAnswer(answer) + "' does not fit the " + what +
                                  (why.empty() ? "" : ": " + why),
          true);
}

// The next answer for the UI just drawn, after the checks queued for it.
Answer NextAnswer(const std::string& kind, const std::string& what) {
    std::deque<Answer>& queue = AnswerQueue();
    while (!queue.empty() && queue.front().Kind == AnswerKind::CheckUi) {
        Answer check = queue.front();
        queue.pop_front();
        std::string failure;
        if (check.UiKind != kind) {
            Fatal(EXIT_SCRIPT_FAILED, "FAILED " + check.Where + ": the check was for a " + check.UiKind + ", but a " + what + " came", true);
        }
        if (!check.Verify(&failure)) Fatal(EXIT_SCRIPT_FAILED, "FAILED " + check.Where + ": " + failure, true);
        Say("  (" + check.Text + ": ok)");
    }
    if (!queue.empty()) {
        Answer answer = queue.front();
        queue.pop_front();
        Say("  answer: " + DescribeAnswer(answer));
        return answer;
    }
    if (GetAnswerPrompt()) {
        Answer answer;
        if (GetAnswerPrompt()(what, &answer)) return answer;
        Fatal(EXIT_SCRIPT_FAILED, "the input ended while the " + what + " waited for an answer", true);
    }
    Fatal(EXIT_SCRIPT_FAILED, "FAILED: the plug-in showed a " + what + " but no answer was queued for it", true);
}

std::string Centered(const std::string& text, std::size_t width, char fill) {
    std::size_t size = DisplayWidth(text);
    if (size >= width) return text;
    std::size_t left = (width - size) / 2;
    return std::string(left, fill) + text + std::string(width - size - left, fill);
}

std::string Padded(const std::string& text, std::size_t width) {
    std::size_t size = DisplayWidth(text);
    return size >= width ? text : text + std::string(width - size, ' ');
}

// A frame around `lines`, with a title in the top edge and a note in the
// bottom edge.
void DrawFrame(const std::string& title, const std::string& bottom, const std::vector<std::string>& lines, char edge) {
    std::size_t width = std::max(DisplayWidth(title), DisplayWidth(bottom)) + 6;
    for (const std::string& line : lines) width = std::max(width, DisplayWidth(line) + 4);
    Say("  +" + Centered(title.empty() ? "" : " " + title + " ", width - 2, edge) + "+");
    for (const std::string& line : lines) Say("  | " + Padded(line, width - 4) + " |");
    Say("  +" + Centered(bottom.empty() ? "" : " " + bottom + " ", width - 2, edge) + "+");
}

int MarkedItem(const ShownMenu& menu) {
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        if ((menu.Items[i].Flags & MIF_SELECTED) != 0) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        if ((menu.Items[i].Flags & (MIF_SEPARATOR | MIF_DISABLE)) == 0) return static_cast<int>(i);
    }
    return -1;
}

char HotkeyOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') return text[i + 1];
            ++i;
        }
    }
    return '\0';
}

void DrawMenu(const ShownMenu& menu, bool showAmpersand, int delKey) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        const ShownMenuItem& item = menu.Items[i];
        if ((item.Flags & MIF_SEPARATOR) != 0) {
            lines.push_back("------");
            continue;
        }
        std::string number = std::to_string(i + 1);
        std::string line = ((item.Flags & MIF_SELECTED) != 0 ? "> " : "  ") + std::string(number.size() < 2 ? " " : "") +
                           number + ((item.Flags & MIF_CHECKED) != 0 ? " * " : "   ") +
                           (showAmpersand ? item.Text : WithoutHotkeyMark(item.Text));
        if ((item.Flags & MIF_DISABLE) != 0) line += "   (disabled)";
        lines.push_back(line);
    }
    if (lines.empty()) lines.push_back("(no items)");
    std::string bottom = menu.Bottom;
    if (delKey >= 0 && bottom.empty()) bottom = "Del: break key";
    DrawFrame(menu.Title, bottom, lines, '-');
}

std::vector<std::string> ButtonsOf(DWORD_T flags) {
    switch ((flags >> 16) & 0xF) {
        case 1: return {"OK"};
        case 2: return {"OK", "Cancel"};
        case 3: return {"Abort", "Retry", "Ignore"};
        case 4: return {"Yes", "No"};
        case 5: return {"Yes", "No", "Cancel"};
        case 6: return {"Retry", "Cancel"};
        default: return {};
    }
}

int ButtonNamed(const ShownMessage& message, const std::string& name) {
    for (std::size_t i = 0; i < message.Buttons.size(); ++i) {
        if (WithoutHotkeyMark(message.Buttons[i]) == name) return static_cast<int>(i);
    }
    return -1;
}

// The dialog's Cancel button: the button labelled Cancel, else the last
// button that is not the default one; -1 when there is none.
int CancelButton(const FarDialogItem* items, int count) {
    int fallback = -1;
    for (int i = 0; i < count; ++i) {
        if (items[i].Type != DI_BUTTON) continue;
        if (CompareIgnoringCase(WithoutHotkeyMark(items[i].Data).c_str(), "Cancel", -1) == 0) return i;
        if (items[i].DefaultButton == 0) fallback = i;
    }
    return fallback;
}

// ---- Dialog drawing ----------------------------------------------------

struct Canvas {
    std::vector<std::string> Rows;
    void Put(int x, int y, const std::string& text) {
        if (x < 0 || y < 0 || y > 200 || x > 400) return;
        if (Rows.size() <= static_cast<std::size_t>(y)) Rows.resize(static_cast<std::size_t>(y) + 1);
        std::string& row = Rows[static_cast<std::size_t>(y)];
        std::size_t end = static_cast<std::size_t>(x) + text.size();
        if (row.size() < end) row.resize(end, ' ');
        row.replace(static_cast<std::size_t>(x), text.size(), text);
    }
};

// The canvas holds the plug-in's own bytes, one column each; rows are
// converted for the console when printed.
std::string ItemText(const FarDialogItem& item) { return WithoutHotkeyMark(item.Data); }

std::string ButtonText(const FarDialogItem& item) {
    return item.DefaultButton != 0 ? "{ " + ItemText(item) + " }" : "[ " + ItemText(item) + " ]";
}

void DrawDialog(const FarDialogItem* items, int count, int width) {
    Canvas canvas;
    int boxLeft = 0;
    int boxRight = width - 1;
    for (int i = 0; i < count; ++i) {
        const FarDialogItem& item = items[i];
        if (item.Type == DI_DOUBLEBOX || item.Type == 2 /* single box */) {
            char edge = item.Type == DI_DOUBLEBOX ? '=' : '-';
            int w = std::max(item.X2 - item.X1 + 1, 2);
            boxLeft = item.X1;
            boxRight = item.X1 + w - 1;
            std::string title = item.Data[0] != '\0' ? " " + ItemText(item) + " " : "";
            canvas.Put(item.X1, item.Y1, "+" + Centered(title, static_cast<std::size_t>(w - 2), edge) + "+");
            for (int y = item.Y1 + 1; y < item.Y2; ++y) {
                canvas.Put(item.X1, y, "|");
                canvas.Put(boxRight, y, "|");
            }
            canvas.Put(item.X1, item.Y2, "+" + std::string(static_cast<std::size_t>(w - 2), edge) + "+");
        }
    }
    std::vector<int> groupRows;
    for (int i = 0; i < count; ++i) {
        const FarDialogItem& item = items[i];
        switch (item.Type) {
            case DI_TEXT:
                if ((item.Flags & DIF_SEPARATOR) != 0) {
                    std::string text = item.Data[0] != '\0' ? " " + ItemText(item) + " " : "";
                    canvas.Put(boxLeft, item.Y1,
                               "+" + Centered(text, static_cast<std::size_t>(std::max(boxRight - boxLeft - 1, 0)), '-') + "+");
                } else if (item.X1 < 0 || (item.Flags & DIF_CENTERGROUP) != 0) {
                    canvas.Put(std::max((width - static_cast<int>(ItemText(item).size())) / 2, 0), item.Y1, ItemText(item));
                } else {
                    canvas.Put(item.X1, item.Y1, ItemText(item));
                }
                break;
            case DI_CHECKBOX:
                canvas.Put(item.X1, item.Y1, std::string(item.Selected != 0 ? "[x] " : "[ ] ") + ItemText(item));
                break;
            case DI_EDIT: {
                int w = item.X2 >= item.X1 ? item.X2 - item.X1 + 1 : 20;
                std::string text = item.Data;
                if (static_cast<int>(text.size()) > w) text = text.substr(0, static_cast<std::size_t>(w - 1)) + ">";
                canvas.Put(item.X1, item.Y1, text + std::string(static_cast<std::size_t>(w) - text.size(), '_'));
                break;
            }
            case DI_BUTTON:
                if ((item.Flags & DIF_CENTERGROUP) != 0) {
                    if (std::find(groupRows.begin(), groupRows.end(), item.Y1) == groupRows.end()) groupRows.push_back(item.Y1);
                } else {
                    canvas.Put(item.X1, item.Y1, ButtonText(item));
                }
                break;
            default:
                break;
        }
    }
    for (int row : groupRows) {
        std::string line;
        for (int i = 0; i < count; ++i) {
            if (items[i].Type == DI_BUTTON && (items[i].Flags & DIF_CENTERGROUP) != 0 && items[i].Y1 == row) {
                line += (line.empty() ? "" : " ") + ButtonText(items[i]);
            }
        }
        canvas.Put(std::max((width - static_cast<int>(line.size())) / 2, 0), row, line);
    }
    // Leading and trailing blank rows are left out.
    std::size_t first = 0;
    while (first < canvas.Rows.size() && canvas.Rows[first].find_first_not_of(' ') == std::string::npos) ++first;
    std::size_t last = canvas.Rows.size();
    while (last > first && canvas.Rows[last - 1].find_first_not_of(' ') == std::string::npos) --last;
    for (std::size_t y = first; y < last; ++y) {
        std::string row = canvas.Rows[y];
        while (!row.empty() && row.back() == ' ') row.pop_back();
        Say("  " + ForConsole(row.c_str()));
    }
    // The controls a script can answer, by their index in the dialog.
    for (int i = 0; i < count; ++i) {
        const FarDialogItem& item = items[i];
        std::string focus = item.Focus != 0 ? "  (focus)" : "";
        if (item.Type == DI_CHECKBOX) {
            Say("    #" + std::to_string(i) + " check box " + (item.Selected != 0 ? "[x] " : "[ ] ") + ForConsole(ItemText(item).c_str()) + focus);
        } else if (item.Type == DI_EDIT) {
            Say("    #" + std::to_string(i) + " field \"" + ForConsole(item.Data) + "\"" + focus);
        } else if (item.Type == DI_BUTTON) {
            Say("    #" + std::to_string(i) + " button " + ForConsole(ItemText(item).c_str()) + (item.DefaultButton != 0 ? " (default)" : "") + focus);
        }
    }
}

}  // namespace

std::string WithoutHotkeyMark(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

const ShownMenu* LastMenu() { return g_haveMenu ? &g_menu : nullptr; }
const ShownMessage* LastMessage() { return g_haveMessage ? &g_message : nullptr; }
const ShownDialog* LastDialog() { return g_haveDialog ? &g_dialog : nullptr; }
const std::vector<std::string>& ShownSequence() { return g_sequence; }
void ClearShownSequence() { g_sequence.clear(); }

int TW_STDCALL HostMenu(INT_PTR_T moduleNumber, int x, int y, int maxHeight, DWORD_T flags, const char* title,
                        const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
                        const FarMenuItemEx* items, int itemsNumber) {
    CheckModuleNumber(moduleNumber, "Menu");
    Trace("Menu(x " + std::to_string(x) + ", y " + std::to_string(y) + ", max height " + std::to_string(maxHeight) +
          ", flags " + Hex(flags) + ", help " + (helpTopic != nullptr ? "\"" + std::string(helpTopic) + "\"" : "none") +
          ", " + std::to_string(itemsNumber) + " items)");
    if ((flags & FMENU_USEEXT) == 0) {
        Fatal(EXIT_PLUGIN_FAULT, "Menu: without FMENU_USEEXT the items would be the older record, which this host does not read", true);
    }
    if (itemsNumber < 0 || (itemsNumber > 0 && items == nullptr)) {
        Fatal(EXIT_PLUGIN_FAULT, "Menu: " + std::to_string(itemsNumber) + " items at " + (items == nullptr ? "null" : "an address"), true);
    }
    ShownMenu menu;
    menu.Title = Shown(title);
    menu.Bottom = Shown(bottom);
    for (int i = 0; i < itemsNumber; ++i) {
        ShownMenuItem item;
        item.Flags = items[i].Flags;
        item.Text = ForConsole(BoundedText(items[i].Text, sizeof items[i].Text, "Menu: the text of item " + std::to_string(i + 1)).c_str());
        menu.Items.push_back(item);
    }
    int delKey = -1;
    if (breakKeys != nullptr) {
        for (int i = 0; i < MAX_BREAK_KEYS && breakKeys[i] != 0; ++i) {
            if (breakKeys[i] == VK_DELETE_KEY && delKey < 0) delKey = i;
        }
    }
    g_menu = menu;
    g_haveMenu = true;
    g_sequence.push_back("menu");
    DrawMenu(menu, (flags & FMENU_SHOWAMPERSAND) != 0, delKey);

    Answer answer = NextAnswer("menu", "menu");
    int count = static_cast<int>(menu.Items.size());
    auto selectable = [&](int index) {
        if (index < 0 || index >= count) AnswerDoesNotFit(answer, "menu", "it has " + std::to_string(count) + " items");
        if ((menu.Items[static_cast<std::size_t>(index)].Flags & MIF_SEPARATOR) != 0) AnswerDoesNotFit(answer, "menu", "that item is a separator");
        if ((menu.Items[static_cast<std::size_t>(index)].Flags & MIF_DISABLE) != 0) AnswerDoesNotFit(answer, "menu", "that item is disabled");
    };
    int result = -1;
    int code = -1;
    switch (answer.Kind) {
        case AnswerKind::Pick:
            result = answer.Number - 1;
            selectable(result);
            break;
        case AnswerKind::Enter:
            result = MarkedItem(menu);
            selectable(result);
            break;
        case AnswerKind::Del:
            if (delKey < 0) AnswerDoesNotFit(answer, "menu", "Del is not one of its break keys");
            result = answer.Number > 0 ? answer.Number - 1 : MarkedItem(menu);
            selectable(result);
            code = delKey;
            break;
        case AnswerKind::Hotkey: {
            result = -1;
            for (int i = 0; i < count; ++i) {
                char key = HotkeyOf(menu.Items[static_cast<std::size_t>(i)].Text);
                if (key != '\0' && FoldCase(key) == FoldCase(answer.Text[0])) {
                    result = i;
                    break;
                }
            }
            if (result < 0) AnswerDoesNotFit(answer, "menu", "no item has that hotkey");
            selectable(result);
            break;
        }
        case AnswerKind::Esc:
            result = -1;
            break;
        default:
            AnswerDoesNotFit(answer, "menu", "");
    }
    if (breakCode != nullptr) *breakCode = code;
    Trace("Menu = " + std::to_string(result) + ", break code " + std::to_string(code));
    return result;
}

int TW_STDCALL HostMessage(INT_PTR_T moduleNumber, DWORD_T flags, const char* helpTopic, const char* const* items,
                           int itemsNumber, int buttonsNumber) {
    CheckModuleNumber(moduleNumber, "Message");
    Trace("Message(flags " + Hex(flags) + ", help " + (helpTopic != nullptr ? "\"" + std::string(helpTopic) + "\"" : "none") +
          ", " + std::to_string(itemsNumber) + " items, " + std::to_string(buttonsNumber) + " buttons)");
    if (itemsNumber < 0 || (itemsNumber > 0 && items == nullptr)) {
        Fatal(EXIT_PLUGIN_FAULT, "Message: " + std::to_string(itemsNumber) + " items at " + (items == nullptr ? "null" : "an address"), true);
    }
    if (((flags >> 16) & 0xF) > 6) Fatal(EXIT_PLUGIN_FAULT, "Message: unknown button flags in " + Hex(flags), true);
    ShownMessage message;
    message.Flags = flags;
    message.Buttons = ButtonsOf(flags);
    int textItems = itemsNumber;
    if (message.Buttons.empty() && buttonsNumber > 0) {
        int buttons = std::min(buttonsNumber, std::max(itemsNumber - 1, 0));
        textItems = itemsNumber - buttons;
        for (int i = textItems; i < itemsNumber; ++i) message.Buttons.push_back(Shown(items[i]));
    }
    for (int i = 0; i < textItems; ++i) message.Lines.push_back(Shown(items[i]));
    g_message = message;
    g_haveMessage = true;
    g_sequence.push_back("message");

    std::vector<std::string> lines(message.Lines.size() > 1 ? message.Lines.begin() + 1 : message.Lines.end(), message.Lines.end());
    std::string buttonRow;
    for (const std::string& button : message.Buttons) buttonRow += (buttonRow.empty() ? "" : " ") + ("[ " + WithoutHotkeyMark(button) + " ]");
    if (!buttonRow.empty()) {
        std::size_t width = DisplayWidth(buttonRow);
        for (const std::string& line : lines) width = std::max(width, DisplayWidth(line));
        lines.push_back(Centered(buttonRow, width, ' '));
    }
    std::string title = message.Lines.empty() ? "" : message.Lines[0];
    bool warning = (flags & FMSG_WARNING) != 0;
    DrawFrame(warning ? title + " (warning)" : title, "", lines, warning ? '!' : '-');

    if (message.Buttons.empty()) return -1;  // nothing to press: the box only shows
    Answer answer = NextAnswer("message", "message box");
    int result = -1;
    switch (answer.Kind) {
        case AnswerKind::Ok: result = ButtonNamed(message, "OK"); break;
        case AnswerKind::Yes: result = ButtonNamed(message, "Yes"); break;
        case AnswerKind::No: result = ButtonNamed(message, "No"); break;
        case AnswerKind::Enter: result = 0; break;
        case AnswerKind::Cancel: result = ButtonNamed(message, "Cancel"); break;
        case AnswerKind::Esc:
            Trace("Message = -1");
            return -1;
        default:
            AnswerDoesNotFit(answer, "message box", "");
    }
    if (result < 0) AnswerDoesNotFit(answer, "message box", "it has no such button");
    Trace("Message = " + std::to_string(result));
    return result;
}

int TW_STDCALL HostDialog(INT_PTR_T moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                          FarDialogItem* items, int itemsNumber) {
    CheckModuleNumber(moduleNumber, "Dialog");
    Trace("Dialog(" + std::to_string(x1) + ", " + std::to_string(y1) + ", " + std::to_string(x2) + ", " + std::to_string(y2) +
          ", help " + (helpTopic != nullptr ? "\"" + std::string(helpTopic) + "\"" : "none") + ", " +
          std::to_string(itemsNumber) + " items)");
    if (itemsNumber < 0 || (itemsNumber > 0 && items == nullptr)) {
        Fatal(EXIT_PLUGIN_FAULT, "Dialog: " + std::to_string(itemsNumber) + " items at " + (items == nullptr ? "null" : "an address"), true);
    }
    ShownDialog dialog;
    for (int i = 0; i < itemsNumber; ++i) {
        const FarDialogItem& item = items[i];
        if (item.Type != DI_TEXT && item.Type != 2 && item.Type != DI_DOUBLEBOX && item.Type != DI_EDIT &&
            item.Type != DI_BUTTON && item.Type != DI_CHECKBOX) {
            Fatal(EXIT_PLUGIN_FAULT, "Dialog: item " + std::to_string(i) + " has type " + std::to_string(item.Type) +
                                         ", which this host does not draw",
                  true);
        }
        BoundedText(item.Data, sizeof item.Data, "Dialog: the Data of item " + std::to_string(i));
        dialog.Items.push_back(item);
    }
    g_dialog = dialog;
    g_haveDialog = true;
    g_sequence.push_back("dialog");
    int width = x1 < 0 ? x2 : x2 - x1 + 1;
    DrawDialog(items, itemsNumber, std::clamp(width, 10, 200));

    auto itemOfType = [&](const Answer& answer, int type, const char* what) -> FarDialogItem& {
        if (answer.Number < 0 || answer.Number >= itemsNumber) {
            AnswerDoesNotFit(answer, "dialog", "it has items 0 to " + std::to_string(itemsNumber - 1));
        }
        FarDialogItem& item = items[answer.Number];
        if (item.Type != type) AnswerDoesNotFit(answer, "dialog", "item " + std::to_string(answer.Number) + " is not a " + what);
        return item;
    };
    while (true) {
        Answer answer = NextAnswer("dialog", "dialog");
        switch (answer.Kind) {
            case AnswerKind::Check: {
                FarDialogItem& item = itemOfType(answer, DI_CHECKBOX, "check box");
                item.Selected = answer.On ? 1 : 0;
                break;
            }
            case AnswerKind::SetField: {
                FarDialogItem& item = itemOfType(answer, DI_EDIT, "edit field");
                std::size_t room = sizeof item.Data - 1;
                if (answer.Text.size() > room) Say("  (the field holds " + std::to_string(room) + " characters; the rest is cut)");
                std::size_t length = std::min(answer.Text.size(), room);
                std::memcpy(item.Data, answer.Text.data(), length);
                item.Data[length] = '\0';
                break;
            }
            case AnswerKind::Ok:
            case AnswerKind::Enter:
                for (int i = 0; i < itemsNumber; ++i) {
                    if (items[i].Type == DI_BUTTON && items[i].DefaultButton != 0) {
                        Trace("Dialog = " + std::to_string(i));
                        return i;
                    }
                }
                AnswerDoesNotFit(answer, "dialog", "it has no default button; use press N");
            case AnswerKind::Press:
                itemOfType(answer, DI_BUTTON, "button");
                Trace("Dialog = " + std::to_string(answer.Number));
                return answer.Number;
            case AnswerKind::Cancel: {
                int cancel = CancelButton(items, itemsNumber);
                if (cancel < 0) AnswerDoesNotFit(answer, "dialog", "it has no button but the default one");
                Trace("Dialog = " + std::to_string(cancel));
                return cancel;
            }
            case AnswerKind::Esc:
                Trace("Dialog = -1");
                return -1;
            default:
                AnswerDoesNotFit(answer, "dialog", "");
        }
    }
}

const char* TW_STDCALL HostGetMsg(INT_PTR_T moduleNumber, int msgId) {
    CheckModuleNumber(moduleNumber, "GetMsg");
    const LanguageFile& language = ActiveLanguage();
    if (msgId < 0 || static_cast<std::size_t>(msgId) >= language.Messages.size()) {
        Trace("GetMsg(" + std::to_string(msgId) + ") = null (no such message)");
        return nullptr;
    }
    const char* text = language.Messages[static_cast<std::size_t>(msgId)].c_str();
    Trace("GetMsg(" + std::to_string(msgId) + ") = \"" + ForConsole(text) + "\"");
    return text;
}

}  // namespace twhost
