// The full-screen editor over the host's simulated editor: the status line,
// the text, the key bar; every paint sends EE_REDRAW first. The numbered
// bookmarks and the tables go through the host's editor keys, as a plug-in's
// ECTL_PROCESSKEY does.
#include <cstring>
#include <curses.h>

#include "core/bookmarks.h"
#include "core/console.h"
#include "core/editors.h"
#include "core/files.h"
#include "core/host_state.h"
#include "kit/code_pages.h"
#include "tui/tui_host.h"
#include "tui/tui_screen.h"
#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

std::string Expanded(const std::string& line) {
    std::string out;
    for (char c : line) {
        if (c == '\t') {
            do out += ' '; while (out.size() % kEditorTabSize != 0);
        } else {
            out += c;
        }
    }
    return out;
}

// The digits of the set bookmarks, "" when none is set.
std::string SetSlots(const SimEditor& editor) {
    std::string slots;
    for (int slot = 0; slot < kBookmarkSlots; ++slot) {
        if (editor.Marks[slot].Line >= 0) slots += static_cast<char>('0' + slot);
    }
    return slots;
}

void PaintEditor(Screen& screen, int id) {
    SimEditor* editor = FindEditor(id);
    if (editor == nullptr) return;
    int columns = ScreenColumns();
    KeepCursorVisible(*editor);
    std::string right = std::string((editor->CurState & ECSTATE_MODIFIED) != 0 ? "*" : " ") + "  " +
                        (editor->Overtype != 0 ? "Ovr" : "Ins") + "  Line " + std::to_string(editor->CurLine + 1) + "/" +
                        std::to_string(TotalLines(*editor)) + "  Col " + std::to_string(editor->CurPos + 1) + "  " +
                        TableLabel(editor->Table) + (SetSlots(*editor).empty() ? "" : "  Bm " + SetSlots(*editor)) + " ";
    screen.Fill(0, 0, columns, 1, Paint::Status);
    screen.PutText(0, 0, " " + ForConsole(editor->FileName.c_str()), Paint::Status, columns - TextWidth(right) - 1);
    screen.PutText(columns - TextWidth(right), 0, right, Paint::Status, TextWidth(right));
    for (int row = 0; row < EditorWindowHeight(); ++row) {
        int index = editor->TopScreenLine + row;
        std::string text;
        if (index < TotalLines(*editor)) {
            text = Expanded(editor->Lines[static_cast<std::size_t>(index)]);
            text = static_cast<int>(text.size()) > editor->LeftPos ? text.substr(static_cast<std::size_t>(editor->LeftPos)) : "";
        }
        screen.PutText(0, 1 + row, ForConsole(text.c_str()), Paint::Editor, columns, true);
    }
    screen.DrawKeyBar({"", "Save", "", "", "", "", "", editor->Table.Mode == TableMode::Ansi ? "OEM" : "ANSI", "", "Quit", "Plug",
                       ""});
    PlaceCursor(TabColumnOf(*editor, editor->CurPos) - editor->LeftPos, 1 + editor->CurLine - editor->TopScreenLine, true);
}

// Asks about unsaved changes: true when the editor may close.
bool MayClose(Screen& screen, SimEditor* editor, std::string* error) {
    if ((editor->CurState & ECSTATE_MODIFIED) == 0) return true;
    ShownMessage question;
    question.Lines = {"Editor", ForConsole(FileNameOf(editor->FileName).c_str()) + " has been modified", "Save the changes?"};
    question.Buttons = {"&Save", "&Don't save", "&Continue editing"};
    int answer = RunMessage(screen, question);
    if (answer == 0) return SaveEditor(error);
    return answer == 1;
}

// Shift+F8: a menu of the host's tables; the one chosen is shown.
bool ChooseTable(Screen& screen, const SimEditor& editor, std::string* error) {
    ShownMenu menu;
    menu.Title = "Character tables";
    std::vector<TableChoice> choices = {{TableMode::Oem, -1}, {TableMode::Ansi, -1}};
    if (Plays3x()) {
        // The 3.x layer's favourite code pages.
        for (unsigned page : Host().CodePages.Favourites) choices.push_back(ChoiceOfCodePage(page));
    } else {
        for (std::size_t k = 0; k < CodeTables().size(); ++k) choices.push_back({TableMode::Code, static_cast<int>(k)});
    }
    for (std::size_t i = 0; i < choices.size(); ++i) {
        ShownMenuItem item;
        item.Text = "&" + std::to_string(i + 1) + " " + TableLabel(choices[i]);
        bool current = DescribeTable(choices[i]) == DescribeTable(editor.Table);
        if (current) item.Flags = MIF_SELECTED | MIF_CHECKED;
        menu.Items.push_back(item);
    }
    int chosen = RunMenu(screen, menu).Item;
    return chosen < 0 || SetEditorTable(choices[static_cast<std::size_t>(chosen)], error);
}

// The bookmark keys: Ctrl+n goes to bookmark n, RightCtrl+n and
// Ctrl+Shift+n set it. Terminals rarely report those, so Alt+n goes and
// Alt+Shift+n (the shifted digit on a US keyboard) sets as well. The host's
// key code, or 0 for another key.
DWORD_T BookmarkKey(int key) {
    static const char kShiftedDigits[] = ")!@#$%^&*(";
    if (key >= kKeyCtrlDigit && key < kKeyCtrlDigit + kBookmarkSlots) return KEY_CTRL0 + static_cast<DWORD_T>(key - kKeyCtrlDigit);
    if (key >= kKeyCtrlShiftDigit && key < kKeyCtrlShiftDigit + kBookmarkSlots) {
        return KEY_CTRLSHIFT0 + static_cast<DWORD_T>(key - kKeyCtrlShiftDigit);
    }
    if ((key & kKeyAlt) == 0) return 0;
    int c = key & ~kKeyAlt;
    if (c >= '0' && c <= '9') return KEY_CTRL0 + static_cast<DWORD_T>(c - '0');
    const char* shifted = c > 0 && c < 127 ? std::strchr(kShiftedDigits, c) : nullptr;
    return shifted != nullptr ? KEY_RCTRL0 + static_cast<DWORD_T>(shifted - kShiftedDigits) : 0;
}

// One key in the editor; false when it closes.
bool EditorKey(Screen& screen, SimEditor* editor, int key, std::string* error) {
    int line = editor->CurLine, pos = editor->CurPos, page = EditorWindowHeight();
    switch (key) {
        case KEY_UP: return line == 0 || GotoPosition(line - 1, 0, true, error);
        case KEY_DOWN: return line + 1 >= TotalLines(*editor) || GotoPosition(line + 1, 0, true, error);
        case KEY_LEFT: return pos == 0 || GotoPosition(line, pos - 1, false, error);
        case KEY_RIGHT: return GotoPosition(line, pos + 1, false, error);
        case KEY_HOME: return GotoPosition(line, 0, false, error);
        case KEY_END: return GotoPosition(line, static_cast<int>(editor->Lines[static_cast<std::size_t>(line)].size()), false, error);
        case KEY_PPAGE: return PlaceCursor(line - page, pos, std::max(editor->TopScreenLine - page, 0), error);
        case KEY_NPAGE: return PlaceCursor(line + page, pos, editor->TopScreenLine + page, error);
        case kKeyCtrlHome: return PlaceCursor(0, 0, 0, error);
        case kKeyCtrlEnd: {
            int last = TotalLines(*editor) - 1;
            return PlaceCursor(last, static_cast<int>(editor->Lines[static_cast<std::size_t>(last)].size()), -1, error);
        }
        case KEY_IC: return SetOvertype(editor->Overtype == 0, error);
        case '\r': case '\n': case KEY_ENTER: return EditAtCursor(EditKind::BreakLine, error);
        case KEY_BACKSPACE: case 127: case 8: return EditAtCursor(EditKind::DeleteBefore, error);
        case KEY_DC: return EditAtCursor(EditKind::DeleteAt, error);
        case KEY_F(2): return SaveEditor(error);
        case KEY_F(8): return PressEditorKey(kKeyF8, error);
        case KEY_F(20): return ChooseTable(screen, *editor, error);
        case KEY_F(11): return ShowPluginCommands(screen, CommandsFrom::Editor, error);
        case kKeyAltShiftF9: return ShowPluginConfiguration(screen, error);
        default:
            if (BookmarkKey(key) != 0) return PressEditorKey(BookmarkKey(key), error);
            if (key >= 32 && key < 127) return TypeText(std::string(1, static_cast<char>(key)), error);
            return true;
    }
}

}  // namespace

std::string TableLabel(const TableChoice& table) {
    if (table.Mode == TableMode::Ansi) return "ANSI";
    if (table.Mode == TableMode::Page) {
        const char* name = hostkit::CodePageName(static_cast<unsigned>(table.Number));
        return name != nullptr ? name : std::to_string(table.Number);
    }
    if (table.Mode == TableMode::Code && table.Number >= 0 && table.Number < static_cast<int>(CodeTables().size())) {
        return CodeTables()[static_cast<std::size_t>(table.Number)].Name;
    }
    return "OEM";
}

bool EditFile(Screen& screen, const std::string& path, std::string* error) {
    SimEditor* editor;
    if (!OpenEditor(path, &editor, error)) return false;
    int id = editor->Id;
    screen.PushPainter([&screen, id] { PaintEditor(screen, id); });
    bool ok = true;
    while (true) {
        ok = RedrawEditor(error);
        if (!ok) break;
        screen.RepaintAll();
        int key = screen.ReadKey();
        editor = FindEditor(id);
        if (editor == nullptr) break;
        if (key == kKeyEsc || key == KEY_F(10)) {
            if (!MayClose(screen, editor, error)) {
                if (!error->empty()) ShowError(screen, *error);
                error->clear();
                continue;
            }
            ok = CloseEditor(id, error);
            break;
        }
        if (!EditorKey(screen, editor, key, error)) {
            ShowError(screen, *error);
            error->clear();
        }
    }
    screen.PopPainter();
    if (FindEditor(id) != nullptr) CloseEditor(id, error);
    return ok && error->empty();
}

}  // namespace twhost
