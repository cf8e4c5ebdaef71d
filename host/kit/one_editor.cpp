#include "kit/one_editor.h"

#include <algorithm>
#include <cstring>

using namespace tarnwick;

namespace hostkit {

void ReportEditor(const OneEditor& editor, EditorInfo* info) {
    std::memset(info, 0, sizeof *info);
    info->EditorID = editor.EditorID;
    info->FileName = editor.NoFileName ? nullptr : editor.FileName.c_str();
    info->TotalLines = editor.TotalLines;
    info->CurLine = editor.CurLine;
    info->CurPos = editor.CurPos;
    info->CurTabPos = editor.CurPos;
    info->TopScreenLine = editor.TopScreenLine;
    info->LeftPos = editor.LeftPos;
    info->Overtype = editor.Overtype;
    info->AnsiMode = editor.AnsiMode;
    info->TableNum = editor.TableNum;
    info->Options = editor.Options;
    info->BookMarkCount = kBookmarkSlots;
    info->CurState = editor.CurState;
}

void MoveEditor(OneEditor* editor, const EditorSetPosition& position) {
    editor->CurLine = position.CurLine;
    editor->CurPos = position.CurPos;
    editor->TopScreenLine = position.TopScreenLine;
    editor->LeftPos = position.LeftPos;
    if (position.Overtype >= 0) editor->Overtype = position.Overtype;
}

long long LineWalk(int cursor, int number) {
    if (number >= cursor) return number - cursor;
    if (number >= cursor / 2) return cursor - number;
    return number;
}

void SetEditorText(OneEditor* editor, const std::string& bytes) {
    editor->Lines.clear();
    editor->Eols.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            editor->Lines.push_back(bytes.substr(start));
            editor->Eols.push_back("");
            break;
        }
        const bool crlf = end > start && bytes[end - 1] == '\r';
        editor->Lines.push_back(bytes.substr(start, end - start - (crlf ? 1 : 0)));
        editor->Eols.push_back(crlf ? "\r\n" : "\n");
        start = end + 1;
    }
    // The host always holds a line, the last one after a final end of line.
    if (bytes.empty() || bytes.back() == '\n') {
        editor->Lines.push_back("");
        editor->Eols.push_back("");
    }
    editor->TotalLines = static_cast<int>(editor->Lines.size());
}

namespace {

int GetString(OneEditor* editor, EditorGetString* query) {
    if (query == nullptr || editor->Lines.empty()) return 0;
    const int total = static_cast<int>(editor->Lines.size());
    const int cursor = editor->CurLine < 0 ? 0 : editor->CurLine >= total ? total - 1 : editor->CurLine;
    const int number = query->StringNumber < 0 ? cursor : query->StringNumber;
    if (number >= total) return 0;
    editor->WalkSteps += LineWalk(cursor, number);
    const std::string& line = editor->Lines[static_cast<std::size_t>(number)];
    query->StringText = line.c_str();
    query->StringEOL = editor->Eols[static_cast<std::size_t>(number)].c_str();
    query->StringLength = static_cast<int>(line.size());
    query->SelStart = -1;
    query->SelEnd = 0;
    return 1;
}

int ReportBookmarks(const OneEditor& editor, const EditorBookMarks* query) {
    if (query == nullptr) return 0;
    for (int i = 0; i < kBookmarkSlots; ++i) {
        const OneEditor::Mark& mark = editor.Marks[i];
        if (query->Line != nullptr) query->Line[i] = mark.Line;
        if (query->Cursor != nullptr) query->Cursor[i] = mark.Cursor;
        if (query->ScreenLine != nullptr) query->ScreenLine[i] = mark.ScreenLine;
        if (query->LeftPos != nullptr) query->LeftPos[i] = mark.LeftPos;
    }
    return 1;
}

int ProcessKey(OneEditor* editor, DWORD_T key) {
    if (key >= KEY_CTRLSHIFT0 && key < KEY_CTRLSHIFT0 + kBookmarkSlots) key = key - KEY_CTRLSHIFT0 + KEY_RCTRL0;
    if (key >= KEY_RCTRL0 && key < KEY_RCTRL0 + kBookmarkSlots) {
        OneEditor::Mark& mark = editor->Marks[key - KEY_RCTRL0];
        mark.Line = editor->CurLine;
        mark.Cursor = editor->CurPos;
        mark.ScreenLine = editor->CurLine - editor->TopScreenLine;
        mark.LeftPos = editor->LeftPos;
    }
    return 1;
}

int SetParameter(OneEditor* editor, const CodeTables& tables, const EditorSetParameter* parameter) {
    if (parameter == nullptr) return 0;
    const int value = static_cast<int>(parameter->Param);
    int result = 0;
    switch (parameter->Type) {
    case ESPT_CHARTABLE:
        if (value <= 1) {
            editor->AnsiMode = 0;
            editor->TableNum = -1;
            result = 1;
        } else if (value == 2) {
            editor->AnsiMode = 1;
            editor->TableNum = -1;
            result = 1;
        } else if (value - 3 < static_cast<int>(tables.size())) {
            editor->AnsiMode = 0;
            editor->TableNum = value - 3;
            result = 1;
        }
        // The 1.75 host has no break here: the option below takes the value too.
        [[fallthrough]];
    case ESPT_SAVEFILEPOSITION:
        editor->Options = value != 0 ? (editor->Options | EOPT_SAVEFILEPOSITION) : (editor->Options & ~EOPT_SAVEFILEPOSITION);
        return parameter->Type == ESPT_CHARTABLE ? result : 1;
    default:
        return 0;
    }
}

}  // namespace

int ControlEditor(OneEditor* editor, const CodeTables& tables, int command, void* param, bool* known) {
    *known = true;
    switch (command) {
    case ECTL_GETSTRING:
        return GetString(editor, static_cast<EditorGetString*>(param));
    case ECTL_GETINFO:
        ReportEditor(*editor, static_cast<EditorInfo*>(param));
        return 1;
    case ECTL_SETPOSITION: {
        // The host walks its list from the cursor's line to the new one.
        const EditorSetPosition& position = *static_cast<const EditorSetPosition*>(param);
        if (!editor->Lines.empty() && position.CurLine >= 0) {
            editor->WalkSteps += position.CurLine > editor->CurLine ? position.CurLine - editor->CurLine
                                                                     : editor->CurLine - position.CurLine;
        }
        MoveEditor(editor, position);
        return 1;
    }
    case ECTL_GETBOOKMARKS:
        return ReportBookmarks(*editor, static_cast<const EditorBookMarks*>(param));
    case ECTL_PROCESSKEY:
        return ProcessKey(editor, static_cast<DWORD_T>(reinterpret_cast<INT_PTR_T>(param)));
    case ECTL_SETPARAM:
        return SetParameter(editor, tables, static_cast<const EditorSetParameter*>(param));
    default:
        *known = false;
        return 0;
    }
}

int FillCharTable(const CodeTables& tables, int command, char* buffer, int bufferSize) {
    if (command == FCT_DETECT || buffer == nullptr || bufferSize < 0 || bufferSize > kCharTableSetSize) return -1;
    const bool exists = command >= 0 && command < static_cast<int>(tables.size());
    CharTableSet set;
    for (int i = 0; i < 256; ++i) {
        const unsigned char byte = static_cast<unsigned char>(i);
        set.DecodeTable[i] = set.EncodeTable[i] = set.UpperTable[i] = set.LowerTable[i] = byte;
    }
    std::memset(set.TableName, 0, sizeof set.TableName);
    const std::string name = exists ? tables[static_cast<std::size_t>(command)] : "OEM";
    std::memcpy(set.TableName, name.data(), std::min(name.size(), sizeof set.TableName - 1));
    std::memcpy(buffer, &set, static_cast<std::size_t>(bufferSize));
    return exists ? command : -1;
}

}  // namespace hostkit
