#include "plugin/host.h"
#include "plugin/module.h"

#include <cstddef>

#include "plugin/mask_match.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

// The standard functions the plug-in calls live in the table's first slots,
// up to ProcessName; a table that ends before it cannot be used.
constexpr std::size_t kUsedFunctionsSize =
    offsetof(FarStandardFunctions, ProcessName) + sizeof(FarProcessNameFn);

bool ServicesPresent(const PluginStartupInfo& info, const FarStandardFunctions& functions) {
    return info.Menu != nullptr && info.Dialog != nullptr && info.Message != nullptr &&
           info.GetMsg != nullptr && info.EditorControl != nullptr && functions.itoa != nullptr &&
           functions.sscanf != nullptr && functions.LStrlwr != nullptr && functions.LStricmp != nullptr &&
           functions.LStrnicmp != nullptr && functions.Unquote != nullptr &&
           functions.TruncPathStr != nullptr && functions.ProcessName != nullptr;
}

}  // namespace

bool TakeHostTables(Module& m, const PluginStartupInfo* info) {
    m.HostTooOld = 1;
    m.HostReady = false;
    if (info == nullptr || info->StructSize < kStartupInfoSize) return false;
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

    CopyBytes(&m.HostInfo, &infoCopy, sizeof m.HostInfo);
    CopyBytes(&m.HostFunctions, &functionsCopy, sizeof m.HostFunctions);
    m.HostInfo.FSF = &m.HostFunctions;
    m.HostTooOld = 0;
    m.HostReady = true;
    m.Comparison.Use(&m.HostFunctions);
    return true;
}

bool HostServicesReady(Module& m) { return m.HostReady; }

void ForgetHostTables(Module& m) {
    m.Comparison.Use(nullptr);
    FillBytes(&m.HostInfo, 0, sizeof m.HostInfo);
    FillBytes(&m.HostFunctions, 0, sizeof m.HostFunctions);
    m.HostTooOld = 0;
    m.HostReady = false;
}

const char* GetMsgText(Module& m, Message id) {
    if (!m.HostReady) return "";
    const char* text = m.HostInfo.GetMsg(m.HostInfo.ModuleNumber, id);
    return text != nullptr ? text : "";
}

int HostMenu(Module& m, const char* title, const char* bottom, const int* breakKeys, int* breakCode,
             const FarMenuItemEx* items, int count) {
    const DWORD_T flags = FMENU_WRAPMODE | FMENU_AUTOHIGHLIGHT | FMENU_USEEXT;
    return m.HostInfo.Menu(m.HostInfo.ModuleNumber, -1, -1, 0, flags, title, bottom, nullptr, breakKeys,
                         breakCode, items, count);
}

int HostMessage(Module& m, DWORD_T flags, const char* line) {
    const char* lines[2] = {GetMsgText(m, kMsgTitle), line != nullptr ? line : ""};
    return m.HostInfo.Message(m.HostInfo.ModuleNumber, flags, nullptr, lines, 2, 0);
}

int HostDialog(Module& m, int x1, int y1, int x2, int y2, FarDialogItem* items, int count) {
    return m.HostInfo.Dialog(m.HostInfo.ModuleNumber, x1, y1, x2, y2, nullptr, items, count);
}

void HostCurrentEditor(Module& m, CurrentEditor* editor) {
    EditorInfo info;
    FillBytes(&info, 0, sizeof info);
    m.HostInfo.EditorControl(ECTL_GETINFO, &info);
    editor->Id = info.EditorID;
    editor->FileName = info.FileName;
    editor->Place = store::EmptyPlace().Editor;  // no bookmarks or table recorded yet
    editor->Place.Line = info.CurLine;
    editor->Place.Column = info.CurPos;
    editor->Place.Top = info.TopScreenLine;
    editor->Place.Left = info.LeftPos;
    editor->Place.Overtype = info.Overtype;
    editor->Dirty = (info.CurState & ECSTATE_MODIFIED) != 0 && (info.CurState & ECSTATE_SAVED) == 0;
}

void HostSetEditorPlace(Module& m, const store::EditorPlace& place) {
    EditorSetPosition position;
    position.CurLine = place.Line;
    position.CurPos = place.Column;
    position.CurTabPos = -1;
    position.TopScreenLine = place.Top;
    position.LeftPos = place.Left;
    position.Overtype = place.Overtype;
    m.HostInfo.EditorControl(ECTL_SETPOSITION, &position);
}

void HostScanInt(Module& m, const char* text, std::int32_t* value) {
    int converted = *value;
    if (m.HostFunctions.sscanf(text, "%d", &converted) == 1) *value = converted;
}

void HostIntToText(Module& m, int value, char* buffer) {
    FillBytes(buffer, 0, kItoaBufferSize);
    m.HostFunctions.itoa(value, buffer, 10);
    buffer[kItoaBufferSize - 1] = '\0';
}

void HostLowerCase(Module& m, char* text) { m.HostFunctions.LStrlwr(text); }

void HostUnquote(Module& m, char* text) { m.HostFunctions.Unquote(text); }

void HostTruncatePath(Module& m, char* path, int maxLength) { m.HostFunctions.TruncPathStr(path, maxLength); }

bool HostMatchMaskList(Module& m, const char* masks, const char* name) {
    return MatchMaskListSafely(m.Env, m.HostFunctions, masks, name);
}

}  // namespace plugin
}  // namespace tarnwick
