#include "plugin/host.h"
#include "plugin/plugin_state.h"

#include <cstddef>

#include "plugin/mask_match.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using store::EnvOf;

PluginStartupInfo HostInfo;
FarStandardFunctions HostFunctions;
std::int32_t HostTooOld;

namespace {

bool g_ready = false;

// The standard functions the plug-in calls live in the table's first slots,
// up to ProcessName; a table that ends before it cannot be used.
constexpr std::size_t kUsedFunctionsSize =
    offsetof(FarStandardFunctions, ProcessName) + sizeof(FarProcessNameFn);

// The host's comparisons are __stdcall on Windows; the text services take
// plain functions.
int HostCompareNoCase(const char* a, const char* b) { return HostFunctions.LStricmp(a, b); }
int HostCompareNoCaseN(const char* a, const char* b, int count) {
    return HostFunctions.LStrnicmp(a, b, count);
}

bool ServicesPresent(const PluginStartupInfo& info, const FarStandardFunctions& functions) {
    return info.Menu != nullptr && info.Dialog != nullptr && info.Message != nullptr &&
           info.GetMsg != nullptr && info.EditorControl != nullptr && functions.itoa != nullptr &&
           functions.sscanf != nullptr && functions.LStrlwr != nullptr && functions.LStricmp != nullptr &&
           functions.LStrnicmp != nullptr && functions.Unquote != nullptr &&
           functions.TruncPathStr != nullptr && functions.ProcessName != nullptr;
}

}  // namespace

bool TakeHostTables(const PluginStartupInfo* info) {
    HostTooOld = 1;
    g_ready = false;
    if (info == nullptr || info->StructSize < STARTUP_INFO_SIZE) return false;
    const FarStandardFunctions* functions = info->FSF;
    if (functions == nullptr || functions->StructSize < static_cast<int>(kUsedFunctionsSize)) return false;

    PluginStartupInfo infoCopy;
    FarStandardFunctions functionsCopy;
    FillBytes(&infoCopy, 0, sizeof infoCopy);
    FillBytes(&functionsCopy, 0, sizeof functionsCopy);
    CopyBytes(&infoCopy, info, sizeof infoCopy);
    // A table of an older layout is taken as far as it goes; the rest stays null.
    std::size_t functionsSize = static_cast<std::size_t>(functions->StructSize);
    if (functionsSize > sizeof functionsCopy) functionsSize = sizeof functionsCopy;
    CopyBytes(&functionsCopy, functions, functionsSize);
    if (!ServicesPresent(infoCopy, functionsCopy)) return false;

    CopyBytes(&HostInfo, &infoCopy, sizeof HostInfo);
    CopyBytes(&HostFunctions, &functionsCopy, sizeof HostFunctions);
    HostInfo.FSF = &HostFunctions;
    HostTooOld = 0;
    g_ready = true;

    TextServices services;
    services.CompareNoCase = HostCompareNoCase;
    services.CompareNoCaseN = HostCompareNoCaseN;
    SetTextServices(&services);
    return true;
}

bool HostServicesReady() { return g_ready; }

void ForgetHostTables() {
    SetTextServices(nullptr);
    FillBytes(&HostInfo, 0, sizeof HostInfo);
    FillBytes(&HostFunctions, 0, sizeof HostFunctions);
    HostTooOld = 0;
    g_ready = false;
}

const char* GetMsgText(int id) {
    if (!g_ready) return "";
    const char* text = HostInfo.GetMsg(HostInfo.ModuleNumber, id);
    return text != nullptr ? text : "";
}

int HostMenu(const char* title, const char* bottom, const int* breakKeys, int* breakCode,
             const FarMenuItemEx* items, int count) {
    const DWORD_T flags = FMENU_WRAPMODE | FMENU_AUTOHIGHLIGHT | FMENU_USEEXT;
    return HostInfo.Menu(HostInfo.ModuleNumber, -1, -1, 0, flags, title, bottom, nullptr, breakKeys,
                         breakCode, items, count);
}

int HostMessage(DWORD_T flags, const char* line) {
    const char* lines[2] = {GetMsgText(0), line != nullptr ? line : ""};
    return HostInfo.Message(HostInfo.ModuleNumber, flags, nullptr, lines, 2, 0);
}

int HostDialog(int x1, int y1, int x2, int y2, FarDialogItem* items, int count) {
    return HostInfo.Dialog(HostInfo.ModuleNumber, x1, y1, x2, y2, nullptr, items, count);
}

void HostEditorInfo(EditorInfo* info) {
    FillBytes(info, 0, sizeof *info);
    HostInfo.EditorControl(ECTL_GETINFO, info);
}

void HostSetEditorPosition(const EditorSetPosition& position) {
    EditorSetPosition copy = position;
    HostInfo.EditorControl(ECTL_SETPOSITION, &copy);
}

void HostScanInt(const char* text, std::int32_t* value) {
    int converted = *value;
    if (HostFunctions.sscanf(text, "%d", &converted) == 1) *value = converted;
}

void HostIntToText(int value, char* buffer) {
    FillBytes(buffer, 0, kItoaBufferSize);
    HostFunctions.itoa(value, buffer, 10);
    buffer[kItoaBufferSize - 1] = '\0';
}

void HostLowerCase(char* text) { HostFunctions.LStrlwr(text); }

void HostUnquote(char* text) { HostFunctions.Unquote(text); }

void HostTruncatePath(char* path, int maxLength) { HostFunctions.TruncPathStr(path, maxLength); }

bool HostMatchMaskList(const char* masks, const char* name) {
    return MatchMaskListSafely(EnvOf(Positions), HostFunctions, masks, name);
}

}  // namespace plugin
}  // namespace tarnwick
