// The EditorControl service: ECTL_GETINFO and ECTL_SETPOSITION on the
// current editor, as the real host performs them.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/console.h"
#include "core/editors.h"
#include "core/trace.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [editor] ", line)

int GetInfo(SimEditor* editor, void* param) {
    if (editor == nullptr || param == nullptr) {
        Trace("ECTL_GETINFO with no current editor = 0");
        return 0;
    }
    EditorInfo* info = static_cast<EditorInfo*>(param);
    std::memset(info, 0, sizeof *info);
    info->EditorID = editor->Id;
    info->FileName = editor->FileName.c_str();
    info->WindowSizeX = EditorWindowWidth();
    info->WindowSizeY = EditorWindowHeight();
    info->TotalLines = TotalLines(*editor);
    info->CurLine = editor->CurLine;
    info->CurPos = editor->CurPos;
    info->CurTabPos = TabColumnOf(*editor, editor->CurPos);
    info->TopScreenLine = editor->TopScreenLine;
    info->LeftPos = editor->LeftPos;
    info->Overtype = editor->Overtype;
    info->TableNum = -1;
    info->TabSize = kEditorTabSize;
    info->BookMarkCount = 10;
    info->CurState = editor->CurState;
    Trace("ECTL_GETINFO -> " + DescribeEditor(*editor));
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
    // A member of -1 leaves that part of the position as it is.
    if (to->CurLine >= 0) editor->CurLine = std::min(to->CurLine, TotalLines(*editor) - 1);
    if (to->CurPos >= 0) editor->CurPos = to->CurPos;
    if (to->CurTabPos >= 0) editor->CurPos = PosAtTabColumn(*editor, to->CurTabPos);
    if (to->TopScreenLine >= 0) editor->TopScreenLine = to->TopScreenLine;
    if (to->LeftPos >= 0) editor->LeftPos = to->LeftPos;
    if (to->Overtype >= 0) editor->Overtype = to->Overtype != 0 ? 1 : 0;
    KeepCursorVisible(*editor);
    return 1;
}

}  // namespace

int TW_STDCALL HostEditorControl(int command, void* param) {
    SimEditor* editor = CurrentEditor();
    if (command == ECTL_GETINFO) return GetInfo(editor, param);
    if (command == ECTL_SETPOSITION) return SetPosition(editor, param);
    Fatal(kExitPluginFault, "EditorControl: command " + std::to_string(command) +
                                 " is not one this host offers (ECTL_GETINFO 6, ECTL_SETPOSITION 7)", true);
}

}  // namespace twhost
