#include "core/editors.h"

#include <algorithm>
#include <cstring>

#include "core/bookmarks.h"
#include "core/console.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/host_memory.h"
#include "core/oem_names.h"
#include "core/plugin_calls.h"

using namespace tarnwick;

namespace twhost {
namespace {

bool Send(int event, void* param, std::string* error) { return CallProcessEditorEvent(event, param, error); }

bool SendId(int event, int id, std::string* error) { return CallProcessEditorEventWithId(event, id, error); }

// The 3.x host's own record of a save, which its layer passes with EE_SAVE
// untranslated (wide strings); the 1.75 host passes NULL.
struct WideSaveRecord {
    std::size_t StructSize;
    const char16_t* FileName;
    const char16_t* FileEOL;
    INT_PTR_T CodePage;
};

bool SendSave(const SimEditor& editor, std::string* error) {
    if (!Plays3x()) return Send(EE_SAVE, nullptr, error);
    const std::u16string name = WideNameOf(editor.FileName);
    const std::u16string eol = WideNameOf(editor.LineEnd);
    WideSaveRecord record{sizeof(WideSaveRecord), name.c_str(), eol.c_str(), kOemNameCodePage};
    return Send(EE_SAVE, &record, error);
}

// After a change the editor is redrawn: at once in the line-oriented host,
// by the front end's next paint in the full-screen one.
bool SendRedraw(std::string* error) { return Host().Editors.FrontendRedraws || Send(EE_REDRAW, nullptr, error); }

void Focus(int id) {
    Host().Editors.Focus.erase(std::remove(Host().Editors.Focus.begin(), Host().Editors.Focus.end(), id), Host().Editors.Focus.end());
    Host().Editors.Focus.push_back(id);
}

bool NeedCurrent(SimEditor** editor, std::string* error) {
    *editor = CurrentEditor();
    if (*editor == nullptr) {
        *error = "no editor is open";
        return false;
    }
    return true;
}

void SplitLines(const std::string& content, SimEditor* editor) {
    editor->Lines.clear();
    editor->LineEnd = content.find("\r\n") != std::string::npos ? "\r\n" : NativeLineEnd();
    std::size_t start = 0;
    while (true) {
        std::size_t end = content.find('\n', start);
        std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        editor->Lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

}  // namespace

int TotalLines(const SimEditor& editor) { return static_cast<int>(editor.Lines.size()); }

int TabColumnOf(const SimEditor& editor, int pos) {
    const std::string& line = editor.Lines[static_cast<std::size_t>(editor.CurLine)];
    int column = 0;
    for (int i = 0; i < pos; ++i) {
        if (i < static_cast<int>(line.size()) && line[static_cast<std::size_t>(i)] == '\t') {
            column += kEditorTabSize - column % kEditorTabSize;
        } else {
            ++column;
        }
    }
    return column;
}

int PosAtTabColumn(const SimEditor& editor, int tabPos) {
    const std::string& line = editor.Lines[static_cast<std::size_t>(editor.CurLine)];
    int column = 0;
    int pos = 0;
    while (column < tabPos) {
        if (pos < static_cast<int>(line.size()) && line[static_cast<std::size_t>(pos)] == '\t') {
            column += kEditorTabSize - column % kEditorTabSize;
        } else {
            ++column;
        }
        ++pos;
    }
    return pos;
}

void KeepCursorVisible(SimEditor& editor) {
    int last = TotalLines(editor) - 1;
    editor.CurLine = std::clamp(editor.CurLine, 0, last);
    editor.TopScreenLine = std::clamp(editor.TopScreenLine, 0, last);
    if (editor.CurLine < editor.TopScreenLine) editor.TopScreenLine = editor.CurLine;
    if (editor.CurLine >= editor.TopScreenLine + Host().Editors.Height) editor.TopScreenLine = editor.CurLine - Host().Editors.Height + 1;
    editor.CurPos = std::max(editor.CurPos, 0);
    editor.LeftPos = std::max(editor.LeftPos, 0);
    int column = TabColumnOf(editor, editor.CurPos);
    if (column < editor.LeftPos) editor.LeftPos = column;
    if (column >= editor.LeftPos + Host().Editors.Width) editor.LeftPos = column - Host().Editors.Width + 1;
}

// While the panels or a viewer have the focus there is no current editor.
SimEditor* CurrentEditor() {
    const EditorSet& editors = Host().Editors;
    if (editors.Focus.empty() || editors.PanelsActive || Host().Viewers.OnTop) return nullptr;
    return FindEditor(editors.Focus.back());
}

void SetPanelsActive(bool active) { Host().Editors.PanelsActive = active; }

SimEditor* FindEditor(int id) {
    for (auto& editor : Host().Editors.Open) {
        if (editor->Id == id) return editor.get();
    }
    return nullptr;
}

const std::vector<std::unique_ptr<SimEditor>>& AllEditors() { return Host().Editors.Open; }

bool OpenEditor(const std::string& path, SimEditor** opened, std::string* error) {
    if (!ModuleLoaded()) {
        *error = "no module is loaded (it was unloaded by quit)";
        return false;
    }
    auto editor = std::make_unique<SimEditor>();
    editor->Id = Host().Editors.NextId++;
    editor->FileName = path;
    if (editor->FileName.size() >= static_cast<std::size_t>(kPathSize)) {
        *error = "the path is longer than the host's 259 characters";
        return false;
    }
    std::string content;
    if (FileExists(path)) {
        if (!ReadWholeFile(path, &content)) {
            *error = "cannot read " + path;
            return false;
        }
    } else {
        Say("  (new file: " + path + ")");
    }
    SplitLines(content, editor.get());
    // The host's own memory puts its bookmarks and table in before EE_READ.
    ApplyHostMemory(*editor);
    if (!Host().EditorSavePosition) editor->Options &= ~static_cast<DWORD_T>(EOPT_SAVEFILEPOSITION);
    SimEditor* raw = editor.get();
    Host().Viewers.OnTop = false;
    Host().Editors.Open.push_back(std::move(editor));
    Focus(raw->Id);
    *opened = raw;
    return Send(EE_READ, nullptr, error) && SendRedraw(error);
}

bool GotoPosition(int line, int column, bool keepColumn, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    editor->CurLine = line;
    if (!keepColumn) editor->CurPos = column;
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool ScrollTo(int topLine, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    int last = TotalLines(*editor) - 1;
    editor->TopScreenLine = std::clamp(topLine, 0, last);
    // Scrolling keeps the cursor on the screen by moving it, not the view.
    if (editor->CurLine < editor->TopScreenLine) editor->CurLine = editor->TopScreenLine;
    if (editor->CurLine >= editor->TopScreenLine + Host().Editors.Height) editor->CurLine = editor->TopScreenLine + Host().Editors.Height - 1;
    editor->CurLine = std::min(editor->CurLine, last);
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool ScrollLeftTo(int leftPos, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    editor->LeftPos = std::max(leftPos, 0);
    int column = TabColumnOf(*editor, editor->CurPos);
    if (column < editor->LeftPos) editor->CurPos = PosAtTabColumn(*editor, editor->LeftPos);
    if (column >= editor->LeftPos + Host().Editors.Width) editor->CurPos = PosAtTabColumn(*editor, editor->LeftPos + Host().Editors.Width - 1);
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool SetOvertype(bool on, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    editor->Overtype = on ? 1 : 0;
    return SendRedraw(error);
}

bool TypeText(const std::string& text, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    std::string& line = editor->Lines[static_cast<std::size_t>(editor->CurLine)];
    std::size_t pos = static_cast<std::size_t>(editor->CurPos);
    if (line.size() < pos) line.append(pos - line.size(), ' ');
    if (editor->Overtype != 0) {
        line.replace(pos, std::min(text.size(), line.size() - pos), text);
    } else {
        line.insert(pos, text);
    }
    editor->CurPos += static_cast<int>(text.size());
    editor->CurState = ECSTATE_MODIFIED;
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool SaveEditor(std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    std::string content;
    for (std::size_t i = 0; i < editor->Lines.size(); ++i) {
        if (i > 0) content += editor->LineEnd;
        content += editor->Lines[i];
    }
    if (!WriteWholeFile(editor->FileName, content)) {
        *error = "cannot write " + editor->FileName;
        return false;
    }
    editor->CurState = ECSTATE_SAVED;
    editor->WrittenOnce = true;
    return SendSave(*editor, error);
}

bool CloseEditor(int id, std::string* error) {
    SimEditor* editor = FindEditor(id);
    if (editor == nullptr) {
        *error = "there is no editor " + std::to_string(id);
        return false;
    }
    if ((editor->CurState & ECSTATE_MODIFIED) != 0) Say("  (unsaved changes in editor " + std::to_string(id) + " are discarded)");
    // The 3.x layer tells the current window it loses the focus first.
    SimEditor* current = CurrentEditor();
    if (Plays3x() && current != nullptr && current->Id == id && !SendId(EE_KILLFOCUS, id, error)) return false;
    // The closing editor is the current one while the event runs.
    Focus(id);
    Host().Viewers.OnTop = false;
    editor->Closing = true;
    bool sent = SendId(EE_CLOSE, id, error);
    Host().Editors.Focus.erase(std::remove(Host().Editors.Focus.begin(), Host().Editors.Focus.end(), id), Host().Editors.Focus.end());
    Host().Editors.Open.erase(std::remove_if(Host().Editors.Open.begin(), Host().Editors.Open.end(),
                                   [id](const std::unique_ptr<SimEditor>& e) { return e->Id == id; }),
                    Host().Editors.Open.end());
    if (!sent) return false;
    if (CurrentEditor() != nullptr && !Host().Editors.Exiting) {
        return SendId(EE_GOTFOCUS, CurrentEditor()->Id, error) && SendRedraw(error);
    }
    return true;
}

bool SwitchEditor(int id, std::string* error) {
    SimEditor* target = FindEditor(id);
    if (target == nullptr) {
        *error = "there is no editor " + std::to_string(id);
        return false;
    }
    SimEditor* current = CurrentEditor();
    if (current != nullptr && current->Id != id && !SendId(EE_KILLFOCUS, current->Id, error)) return false;
    if (FocusedViewer() != nullptr) {
        if (!CallProcessViewerEventWithId(VE_KILLFOCUS, FocusedViewer()->Id, error)) return false;
        Host().Viewers.OnTop = false;
    }
    Focus(id);
    return SendId(EE_GOTFOCUS, id, error) && SendRedraw(error);
}

DWORD_T ReportedState(const SimEditor& editor) {
    if (!Plays3x()) return editor.CurState;
    DWORD_T state = (editor.CurState & ECSTATE_MODIFIED) != 0 ? DWORD_T{0} : DWORD_T{ECSTATE_SAVED};
    if (editor.WrittenOnce) state |= ECSTATE_MODIFIED;
    return state;
}

std::string DescribeEditor(const SimEditor& editor) {
    std::string text = "editor " + std::to_string(editor.Id) + " " + editor.FileName + ": line " +
                       std::to_string(editor.CurLine) + ", col " + std::to_string(editor.CurPos) + ", top " +
                       std::to_string(editor.TopScreenLine) + ", left " + std::to_string(editor.LeftPos) +
                       ", overtype " + (editor.Overtype != 0 ? "on" : "off");
    if ((editor.CurState & ECSTATE_MODIFIED) != 0) text += " [modified]";
    if ((editor.CurState & ECSTATE_SAVED) != 0) text += " [saved]";
    return text;
}

void DropAllEditors() {
    Host().Editors.Open.clear();
    Host().Editors.Focus.clear();
}

void SetEditorWindow(int width, int height, bool frontendRedraws) {
    Host().Editors.Width = std::max(width, 1);
    Host().Editors.Height = std::max(height, 1);
    Host().Editors.FrontendRedraws = frontendRedraws;
}

int EditorWindowWidth() { return Host().Editors.Width; }
int EditorWindowHeight() { return Host().Editors.Height; }

bool RedrawEditor(std::string* error) { return Send(EE_REDRAW, nullptr, error); }

bool PlaceCursor(int line, int pos, int top, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    editor->CurLine = std::clamp(line, 0, TotalLines(*editor) - 1);
    editor->CurPos = std::max(pos, 0);
    if (top >= 0) editor->TopScreenLine = std::clamp(top, 0, TotalLines(*editor) - 1);
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool EditAtCursor(EditKind kind, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    std::vector<std::string>& lines = editor->Lines;
    std::size_t at = static_cast<std::size_t>(editor->CurLine);
    std::string& line = lines[at];
    std::size_t pos = static_cast<std::size_t>(editor->CurPos);
    if (kind == EditKind::BreakLine) {
        std::string rest = pos < line.size() ? line.substr(pos) : std::string();
        if (pos < line.size()) line.erase(pos);
        lines.insert(lines.begin() + static_cast<long>(at) + 1, rest);
        MoveBookmarks(*editor, static_cast<int>(at), 1);
        editor->CurLine += 1;
        editor->CurPos = 0;
    } else if (kind == EditKind::DeleteBefore) {
        if (pos == 0 && at == 0) return true;
        if (pos == 0) {
            editor->CurPos = static_cast<int>(lines[at - 1].size());
            lines[at - 1] += line;
            lines.erase(lines.begin() + static_cast<long>(at));
            MoveBookmarks(*editor, static_cast<int>(at), -1);
            editor->CurLine -= 1;
        } else {
            if (pos <= line.size()) line.erase(pos - 1, 1);
            editor->CurPos -= 1;
        }
    } else {
        if (pos < line.size()) {
            line.erase(pos, 1);
        } else if (at + 1 < lines.size()) {
            line.append(pos - line.size(), ' ');
            line += lines[at + 1];
            lines.erase(lines.begin() + static_cast<long>(at) + 1);
            MoveBookmarks(*editor, static_cast<int>(at) + 1, -1);
        } else {
            return true;
        }
    }
    editor->CurState = ECSTATE_MODIFIED;
    KeepCursorVisible(*editor);
    return SendRedraw(error);
}

bool PressEditorKey(DWORD_T key, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    if (SetBookmarkSlot(key) >= 0) {
        SetBookmark(*editor, SetBookmarkSlot(key));
        return true;
    }
    if (GoBookmarkSlot(key) >= 0) return !GoToBookmark(*editor, GoBookmarkSlot(key)) || SendRedraw(error);
    if (key == kKeyF8) {
        editor->Table = TableChoice{editor->Table.Mode == TableMode::Ansi ? TableMode::Oem : TableMode::Ansi, -1};
        return SendRedraw(error);
    }
    *error = "key " + Hex(key) + " is not one of the editor's bookmark or table keys";
    return false;
}

bool SetEditorTable(const TableChoice& table, std::string* error) {
    SimEditor* editor;
    if (!NeedCurrent(&editor, error)) return false;
    editor->Table = table;
    return SendRedraw(error);
}

}  // namespace twhost
