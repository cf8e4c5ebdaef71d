#include "null_host.h"

#include "kit/stand_in_host.h"

namespace benchhost {

using namespace tarnwick;

namespace {

CurrentEditor FirstEditor() {
    CurrentEditor editor{};
    editor.EditorID = 1;
    return editor;
}

// The null host's state: its records and what its services answer.
struct NullHost {
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

int TW_STDCALL NullEditorControl(int command, void* param) {
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
