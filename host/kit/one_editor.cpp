#include "kit/one_editor.h"

#include <cstring>

using namespace tarnwick;

namespace hostkit {

void ReportEditor(const OneEditor& editor, EditorInfo* info) {
    std::memset(info, 0, sizeof *info);
    info->EditorID = editor.EditorID;
    info->FileName = editor.NoFileName ? nullptr : editor.FileName.c_str();
    info->CurLine = editor.CurLine;
    info->CurPos = editor.CurPos;
    info->CurTabPos = editor.CurPos;
    info->TopScreenLine = editor.TopScreenLine;
    info->LeftPos = editor.LeftPos;
    info->Overtype = editor.Overtype;
    info->CurState = editor.CurState;
}

void MoveEditor(OneEditor* editor, const EditorSetPosition& position) {
    editor->CurLine = position.CurLine;
    editor->CurPos = position.CurPos;
    editor->TopScreenLine = position.TopScreenLine;
    editor->LeftPos = position.LeftPos;
    editor->Overtype = position.Overtype;
}

}  // namespace hostkit
