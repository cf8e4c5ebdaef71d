#include "null_host.h"

#include <memory>
#include <vector>

#include "kit/stand_in_host.h"

namespace benchhost {

using namespace tarnwick;

namespace {

CurrentEditor FirstEditor() {
    CurrentEditor editor{};
    editor.EditorID = 1;
    return editor;
}

// The 1.75 host's list of the editor's lines. Each node is allocated by
// itself, as the host allocates each line, so that a walk chases pointers.
struct LineNode {
    LineNode* Prev = nullptr;
    LineNode* Next = nullptr;
    const std::string* Text = nullptr;
};

struct LineList {
    std::vector<std::unique_ptr<LineNode>> Nodes;  // owns them; the walks use only the links
    LineNode* Cursor = nullptr;
    int CursorLine = 0;
    long long Reads = 0;
};

// The null host's state: its records and what its services answer.
struct NullHost {
    LineList List;
    CurrentEditor Editor = FirstEditor();
    hostkit::OneViewer Viewer;
    hostkit::CodeTables Tables;
    int MenuAnswer = 0;
    std::string RootKey;
    PluginStartupInfo Info;
    FarStandardFunctions Functions;
};

NullHost g_host;

int TW_STDCALL NullMenu(INT_PTR_T, int, int, int, DWORD_T, const char*, const char*, const char*, const int*, int*,
                        const FarMenuItemEx*, int) {
    return g_host.MenuAnswer;
}
int TW_STDCALL NullMessage(INT_PTR_T, DWORD_T, const char*, const char* const*, int, int) { return 0; }

// The cursor's node, after a move the benchmark made by itself.
void FindCursor(LineList& list, int line) {
    const int last = static_cast<int>(list.Nodes.size()) - 1;
    list.CursorLine = line < 0 ? 0 : line > last ? last : line;
    list.Cursor = list.Nodes[static_cast<std::size_t>(list.CursorLine)].get();
}

LineNode* WalkFrom(LineNode* node, int steps) {
    if (steps >= 0) {
        for (int i = 0; i < steps; ++i) node = node->Next;
    } else {
        for (int i = 0; i < -steps; ++i) node = node->Prev;
    }
    return node;
}

// The host's walk to line `number`: from the cursor's line when it lies
// below the cursor or between half the cursor's line and the cursor's line,
// else from the first line.
LineNode* WalkTo(const LineList& list, int number) {
    if (number >= list.CursorLine / 2) return WalkFrom(list.Cursor, number - list.CursorLine);
    return WalkFrom(list.Nodes.front().get(), number);
}

const void* volatile g_walked = nullptr;

// Walks the list as the host would for the command, before the kit answers it.
void Walk(LineList& list, const CurrentEditor& editor, int command, const void* param) {
    if (list.Nodes.empty() || param == nullptr) return;
    FindCursor(list, editor.CurLine);
    const int total = static_cast<int>(list.Nodes.size());
    if (command == ECTL_GETSTRING) {
        const int asked = static_cast<const EditorGetString*>(param)->StringNumber;
        const int number = asked < 0 ? list.CursorLine : asked;
        if (number >= total) return;
        g_walked = WalkTo(list, number)->Text;
        ++list.Reads;
    } else if (command == ECTL_SETPOSITION) {
        const int line = static_cast<const EditorSetPosition*>(param)->CurLine;
        if (line < 0 || line >= total) return;
        list.Cursor = WalkFrom(list.Cursor, line - list.CursorLine);
        list.CursorLine = line;
        g_walked = list.Cursor;
    }
}

int TW_STDCALL NullEditorControl(int command, void* param) {
    Walk(g_host.List, g_host.Editor, command, param);
    bool known = false;
    return hostkit::ControlEditor(&g_host.Editor, g_host.Tables, command, param, &known);
}
int TW_STDCALL NullCharTable(int command, char* buffer, int bufferSize) {
    return hostkit::FillCharTable(g_host.Tables, command, buffer, bufferSize);
}
int TW_STDCALL NullViewerControl(int command, void* param) { return hostkit::ControlViewer(&g_host.Viewer, command, param); }

// The standard functions cost nothing here: the plug-in's work is measured,
// not the host's.
char* TW_STDCALL NullTruncPathStr(char* text, int) { return text; }
int TW_STDCALL NullProcessName(const char*, char*, DWORD_T) { return 0; }

}  // namespace

CurrentEditor& Editor() { return g_host.Editor; }
hostkit::OneViewer& Viewer() { return g_host.Viewer; }
hostkit::CodeTables& Tables() { return g_host.Tables; }
void SetMenuAnswer(int item) { g_host.MenuAnswer = item; }

void SetEditorText(const std::string& bytes) {
    hostkit::SetEditorText(&g_host.Editor, bytes);
    LineList& list = g_host.List;
    list.Nodes.clear();
    LineNode* previous = nullptr;
    for (const std::string& line : g_host.Editor.Lines) {
        list.Nodes.push_back(std::make_unique<LineNode>());
        LineNode* node = list.Nodes.back().get();
        node->Text = &line;
        node->Prev = previous;
        if (previous != nullptr) previous->Next = node;
        previous = node;
    }
    FindCursor(list, g_host.Editor.CurLine);
    ResetWalkCounters();
}

long long LinesRead() { return g_host.List.Reads; }

void ResetWalkCounters() {
    g_host.List.Reads = 0;
    g_host.Editor.WalkSteps = 0;
}

std::uint64_t HashLinesInOrder() {
    std::uint64_t hash = 14695981039346656037ull;
    for (const LineNode* node = g_host.List.Nodes.empty() ? nullptr : g_host.List.Nodes.front().get(); node != nullptr;
         node = node->Next) {
        for (char c : *node->Text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        hash = (hash ^ 0x0a) * 1099511628211ull;
    }
    return hash;
}

void StartPlugin(const std::string& moduleName, const std::string& rootKey) {
    g_host.RootKey = rootKey;
    hostkit::StandInHost standIn;
    standIn.ModuleName = moduleName;
    standIn.RootKey = g_host.RootKey.c_str();
    standIn.Menu = NullMenu;
    standIn.Message = NullMessage;
    standIn.EditorControl = NullEditorControl;
    standIn.CharTable = NullCharTable;
    standIn.ViewerControl = NullViewerControl;
    standIn.TruncPathStr = NullTruncPathStr;
    standIn.ProcessName = NullProcessName;
    hostkit::FillStartupRecords(standIn, &g_host.Info, &g_host.Functions);
    SetStartupInfo(&g_host.Info);
}

}  // namespace benchhost
