// The EditorControl service: ECTL_GETSTRING, ECTL_GETINFO,
// ECTL_SETPOSITION, ECTL_PROCESSKEY, ECTL_SETPARAM and ECTL_GETBOOKMARKS on
// the current editor, as the real host performs them, with its fault in
// ECTL_SETPARAM and the cost of its list of lines counted (core/editors.h).
#include <algorithm>
#include <cstring>
#include <string>

#include "core/bookmarks.h"
#include "core/console.h"
#include "core/editors.h"
#include "core/host_state.h"
#include "core/oem_names.h"
#include "core/trace.h"
#include "kit/code_pages.h"
#include "kit/one_editor.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [editor] ", line)

// The line StringNumber (negative: the cursor's line) with its end of
// line: the file's own for every line but the last, which has none. The
// pointers stay valid until the editor's text changes.
int GetString(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_GETSTRING with no current editor or record = 0");
        return 0;
    }
    EditorGetString* query = static_cast<EditorGetString*>(param);
    const int number = query->StringNumber < 0 ? editor->CurLine : query->StringNumber;
    if (number >= TotalLines(*editor)) {
        Trace("ECTL_GETSTRING(" + std::to_string(query->StringNumber) + ") past the last line = 0");
        return 0;
    }
    // The 3.x layer remembers the last line it found instead of walking.
    if (!Plays3x()) editor->WalkSteps += hostkit::LineWalk(editor->CurLine, number);
    editor->LinesRead += 1;
    static const char kNoEnd[] = "";
    const std::string& line = editor->Lines[static_cast<std::size_t>(number)];
    query->StringText = line.c_str();
    query->StringEOL = number + 1 < TotalLines(*editor) ? editor->LineEnd.c_str() : kNoEnd;
    query->StringLength = static_cast<int>(line.size());
    query->SelStart = -1;
    query->SelEnd = 0;
    Trace("ECTL_GETSTRING(" + std::to_string(query->StringNumber) + ") -> line " + std::to_string(number) + ", " +
          std::to_string(line.size()) + " characters");
    return 1;
}

int GetInfo(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_GETINFO with no current editor = 0");
        return 0;
    }
    EditorInfo* info = static_cast<EditorInfo*>(param);
    std::memset(info, 0, sizeof *info);
    info->EditorID = editor->Id;
    if (Plays3x()) {
        Host().Editors.InfoName = OemNameOf(editor->FileName);
        info->FileName = Host().Editors.InfoName.c_str();
    } else {
        info->FileName = editor->FileName.c_str();
    }
    info->WindowSizeX = EditorWindowWidth();
    info->WindowSizeY = EditorWindowHeight();
    info->TotalLines = TotalLines(*editor);
    info->CurLine = editor->CurLine;
    info->CurPos = editor->CurPos;
    info->CurTabPos = TabColumnOf(*editor, editor->CurPos);
    info->TopScreenLine = editor->TopScreenLine;
    info->LeftPos = editor->LeftPos;
    info->Overtype = editor->Overtype;
    if (Plays3x()) {
        // The 3.x layer numbers code pages and never reports ANSI mode.
        info->AnsiMode = 0;
        info->TableNum = hostkit::TableNumOfCodePage(Host().CodePages, CodePageOfChoice(editor->Table));
    } else {
        info->AnsiMode = editor->Table.Mode == TableMode::Ansi ? 1 : 0;
        info->TableNum = editor->Table.Mode == TableMode::Code ? editor->Table.Number : -1;
    }
    info->Options = editor->Options;
    info->TabSize = kEditorTabSize;
    info->BookMarkCount = kBookmarkSlots;
    info->CurState = ReportedState(*editor);
    // The 3.x layer shows every table as a code page: never ANSI mode.
    if (Plays3x()) info->AnsiMode = 0;
    Trace("ECTL_GETINFO -> " + DescribeEditor(*editor) + ", table " + DescribeTable(editor->Table) + ", options " +
          Hex(editor->Options));
    return 1;
}

int SetPosition(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_SETPOSITION with no current editor = 0");
        return 0;
    }
    const EditorSetPosition* to = static_cast<const EditorSetPosition*>(param);
    Trace("ECTL_SETPOSITION(line " + std::to_string(to->CurLine) + ", pos " + std::to_string(to->CurPos) +
          ", tabpos " + std::to_string(to->CurTabPos) + ", top " + std::to_string(to->TopScreenLine) + ", left " +
          std::to_string(to->LeftPos) + ", overtype " + std::to_string(to->Overtype) + ")");
    // A member of -1 leaves that part of the position as it is. The 1.75
    // host walks its list from the cursor's line to the new one.
    if (to->CurLine >= 0) {
        const int line = std::min(to->CurLine, TotalLines(*editor) - 1);
        if (!Plays3x()) editor->WalkSteps += line > editor->CurLine ? line - editor->CurLine : editor->CurLine - line;
        editor->CurLine = line;
    }
    if (to->CurPos >= 0) editor->CurPos = to->CurPos;
    if (to->CurTabPos >= 0) editor->CurPos = PosAtTabColumn(*editor, to->CurTabPos);
    if (to->TopScreenLine >= 0) editor->TopScreenLine = to->TopScreenLine;
    if (to->LeftPos >= 0) editor->LeftPos = to->LeftPos;
    if (to->Overtype >= 0) editor->Overtype = to->Overtype != 0 ? 1 : 0;
    KeepCursorVisible(*editor);
    return 1;
}

// Param is the key code itself. The bookmark keys work as typed; any other
// key is ignored (this host does not offer plug-ins its other keys). TRUE.
int ProcessKey(SimEditor* editor, void* param) {
    DWORD_T key = static_cast<DWORD_T>(reinterpret_cast<INT_PTR_T>(param));
    if (editor == nullptr) {
        Trace("ECTL_PROCESSKEY with no current editor = 0");
        return 0;
    }
    if (SetBookmarkSlot(key) >= 0) {
        SetBookmark(*editor, SetBookmarkSlot(key));
    } else if (GoBookmarkSlot(key) >= 0) {
        GoToBookmark(*editor, GoBookmarkSlot(key));
    }
    Trace("ECTL_PROCESSKEY(" + Hex(key) + ") -> bookmarks " + DescribeBookmarks(*editor));
    return 1;
}

// The 3.x layer's ESPT_CHARTABLE: a change of code page, FALSE for iParam
// 0, a table that does not exist or a code page the editor does not know.
int SetCodePage(SimEditor* editor, int value) {
    unsigned codePage = 0;
    int result = 0;
    if (hostkit::CodePageOfTableParam(Host().CodePages, value, &codePage) && hostkit::CodePageName(codePage) != nullptr) {
        editor->Table = ChoiceOfCodePage(codePage);
        result = 1;
    }
    Trace("ECTL_SETPARAM(ESPT_CHARTABLE, " + std::to_string(value) + ") = " + std::to_string(result) + ", table " +
          DescribeTable(editor->Table));
    return result;
}

// ESPT_CHARTABLE falls through into ESPT_SAVEFILEPOSITION, as in the real
// host (its case lacks a break): after the table, the editor's "save file
// position" option becomes iParam != 0, and the table's result is returned.
// The 3.x layer has no such fault.
int SetParam(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_SETPARAM with no current editor = 0");
        return 0;
    }
    const EditorSetParameter* set = static_cast<const EditorSetParameter*>(param);
    int value = static_cast<int>(set->Param);
    int result = 1;
    if (Plays3x() && set->Type == ESPT_CHARTABLE) return SetCodePage(editor, value);
    switch (set->Type) {
        case ESPT_CHARTABLE:
            if (value == 2) {
                editor->Table = TableChoice{TableMode::Ansi, -1};
            } else if (value >= 3) {
                if (value - 3 < static_cast<int>(CodeTables().size())) {
                    editor->Table = TableChoice{TableMode::Code, value - 3};
                } else {
                    result = 0;
                }
            } else {
                editor->Table = TableChoice{TableMode::Oem, -1};
            }
            Trace("ECTL_SETPARAM(ESPT_CHARTABLE, " + std::to_string(value) + ") = " + std::to_string(result) + ", table " +
                  DescribeTable(editor->Table) + " (falls through)");
            // fall through
        case ESPT_SAVEFILEPOSITION:
            if (value != 0) {
                editor->Options |= EOPT_SAVEFILEPOSITION;
            } else {
                editor->Options &= ~static_cast<DWORD_T>(EOPT_SAVEFILEPOSITION);
            }
            Trace("ECTL_SETPARAM: save file position " + std::string(value != 0 ? "on" : "off"));
            return result;
        default:
            Fatal(kExitPluginFault, "EditorControl: ECTL_SETPARAM type " + std::to_string(set->Type) +
                                         " is not one this host offers (ESPT_CHARTABLE 5, ESPT_SAVEFILEPOSITION 6)", true);
    }
}

int GetBookmarks(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_GETBOOKMARKS with no current editor or record = 0");
        return 0;
    }
    const EditorBookMarks* marks = static_cast<const EditorBookMarks*>(param);
    for (int slot = 0; slot < kBookmarkSlots; ++slot) {
        const EditorMark& mark = editor->Marks[slot];
        if (marks->Line != nullptr) marks->Line[slot] = mark.Line;
        if (marks->Cursor != nullptr) marks->Cursor[slot] = mark.Cursor;
        if (marks->ScreenLine != nullptr) marks->ScreenLine[slot] = mark.ScreenLine;
        if (marks->LeftPos != nullptr) marks->LeftPos[slot] = mark.LeftPos;
    }
    Trace("ECTL_GETBOOKMARKS -> " + DescribeBookmarks(*editor));
    return 1;
}

std::string CommandName(int command) {
    switch (command) {
        case ECTL_GETSTRING: return "ECTL_GETSTRING";
        case ECTL_GETINFO: return "ECTL_GETINFO";
        case ECTL_SETPOSITION: return "ECTL_SETPOSITION";
        case ECTL_PROCESSKEY: return "ECTL_PROCESSKEY";
        case ECTL_SETPARAM: return "ECTL_SETPARAM";
        case ECTL_GETBOOKMARKS: return "ECTL_GETBOOKMARKS";
        default: return "command " + std::to_string(command);
    }
}

}  // namespace

int TW_STDCALL HostEditorControl(int command, void* param) {
    if (Host().Editors.Exiting) {
        Trace(CommandName(command) + " after the host's main loop = 0");
        return 0;
    }
    SimEditor* editor = CurrentEditor();
    // A closing editor answers only the two commands that describe it.
    if (editor != nullptr && editor->Closing && command != ECTL_GETINFO && command != ECTL_GETBOOKMARKS) {
        Trace(CommandName(command) + " during EE_CLOSE = 0");
        return 0;
    }
    switch (command) {
        case ECTL_GETSTRING: return GetString(editor, param);
        case ECTL_GETINFO: return GetInfo(editor, param);
        case ECTL_SETPOSITION: return SetPosition(editor, param);
        case ECTL_PROCESSKEY: return ProcessKey(editor, param);
        case ECTL_SETPARAM: return SetParam(editor, param);
        case ECTL_GETBOOKMARKS: return GetBookmarks(editor, param);
        default:
            Fatal(kExitPluginFault, "EditorControl: command " + std::to_string(command) +
                                         " is not one this host offers (ECTL_GETSTRING 0, ECTL_GETINFO 6, ECTL_SETPOSITION 7, ECTL_PROCESSKEY 23, "
                                         "ECTL_SETPARAM 24, ECTL_GETBOOKMARKS 25)", true);
    }
}

}  // namespace twhost
