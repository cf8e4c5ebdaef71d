#include "null_host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace benchhost {

using namespace tarnwick;

namespace {

CurrentEditor g_editor{1, "", 0, 0, 0, 0, 0, 0};
int g_menuAnswer = 0;
PluginStartupInfo g_info;
FarStandardFunctions g_functions;
std::string g_rootKey;

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int TW_STDCALL NullMenu(INT_PTR_T, int, int, int, DWORD_T, const char*, const char*, const char*, const int*, int*,
                        const FarMenuItemEx*, int) {
    return g_menuAnswer;
}
int TW_STDCALL NullDialog(INT_PTR_T, int, int, int, int, const char*, FarDialogItem*, int) { return -1; }
int TW_STDCALL NullMessage(INT_PTR_T, DWORD_T, const char*, const char* const*, int, int) { return 0; }
const char* TW_STDCALL NullGetMsg(INT_PTR_T, int) { return ""; }

int TW_STDCALL NullEditorControl(int command, void* param) {
    if (command == ECTL_GETINFO) {
        EditorInfo* info = static_cast<EditorInfo*>(param);
        info->EditorID = g_editor.Id;
        info->FileName = g_editor.FileName.c_str();
        info->CurLine = g_editor.CurLine;
        info->CurPos = g_editor.CurPos;
        info->TopScreenLine = g_editor.TopScreenLine;
        info->LeftPos = g_editor.LeftPos;
        info->Overtype = g_editor.Overtype;
        info->CurState = g_editor.CurState;
        return 1;
    }
    return command == ECTL_SETPOSITION ? 1 : 0;
}

int TW_CDECL NullSprintf(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = std::vsprintf(buffer, format, args);
    va_end(args);
    return written;
}
int TW_CDECL NullSscanf(const char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int converted = std::vsscanf(buffer, format, args);
    va_end(args);
    return converted;
}
char* TW_STDCALL NullItoa(int value, char* buffer, int) {
    std::snprintf(buffer, 34, "%d", value);
    return buffer;
}
void TW_STDCALL NullLStrlwr(char* text) {
    for (; *text != '\0'; ++text) *text = Fold(*text);
}
int TW_STDCALL NullLStrnicmp(const char* a, const char* b, int count) {
    for (int i = 0; i < count; ++i) {
        char x = Fold(a[i]);
        char y = Fold(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        if (x == '\0') return 0;
    }
    return 0;
}
int TW_STDCALL NullLStricmp(const char* a, const char* b) { return NullLStrnicmp(a, b, 0x7FFFFFFF); }
void TW_STDCALL NullUnquote(char* text) {
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != '"') *out++ = *in;
    }
    *out = '\0';
}
char* TW_STDCALL NullTruncPathStr(char* text, int) { return text; }
int TW_STDCALL NullProcessName(const char*, char*, DWORD_T) { return 0; }

}  // namespace

CurrentEditor& Editor() { return g_editor; }
void SetMenuAnswer(int item) { g_menuAnswer = item; }

void StartPlugin(const std::string& moduleName, const std::string& rootKey) {
    std::memset(&g_info, 0, sizeof g_info);
    std::memset(&g_functions, 0, sizeof g_functions);
    g_rootKey = rootKey;
    g_functions.StructSize = kStandardFunctionsSize;
    g_functions.sprintf = NullSprintf;
    g_functions.sscanf = NullSscanf;
    g_functions.itoa = NullItoa;
    g_functions.LStrlwr = NullLStrlwr;
    g_functions.LStricmp = NullLStricmp;
    g_functions.LStrnicmp = NullLStrnicmp;
    g_functions.Unquote = NullUnquote;
    g_functions.TruncPathStr = NullTruncPathStr;
    g_functions.ProcessName = NullProcessName;
    g_info.StructSize = kStartupInfoSize;
    std::snprintf(g_info.ModuleName, sizeof g_info.ModuleName, "%s", moduleName.c_str());
    g_info.ModuleNumber = 1;
    g_info.RootKey = g_rootKey.c_str();
    g_info.Menu = NullMenu;
    g_info.Dialog = NullDialog;
    g_info.Message = NullMessage;
    g_info.GetMsg = NullGetMsg;
    g_info.EditorControl = NullEditorControl;
    g_info.FSF = &g_functions;
    SetStartupInfo(&g_info);
}

}  // namespace benchhost
