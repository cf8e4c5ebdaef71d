#include "kit/stand_in_host.h"

#include <algorithm>
#include <cstring>

#include "kit/one_editor.h"
#include "kit/standard_functions.h"

using namespace tarnwick;

namespace hostkit {
namespace {

int TW_STDCALL LeftMenu(INT_PTR_T, int, int, int, DWORD_T, const char*, const char*, const char*, const int*, int*,
                        const FarMenuItemEx*, int) {
    return -1;
}
int TW_STDCALL LeftMessage(INT_PTR_T, DWORD_T, const char*, const char* const*, int, int) { return -1; }
int TW_STDCALL LeftDialog(INT_PTR_T, int, int, int, int, const char*, FarDialogItem*, int) { return -1; }
const char* TW_STDCALL EmptyMessageText(INT_PTR_T, int) { return ""; }
// No editor, or no viewer: 0 for every command.
int TW_STDCALL NothingOpen(int, void*) { return 0; }

// The host's CharTable with no code tables.
int TW_STDCALL NoCodeTables(int command, char* buffer, int bufferSize) {
    return FillCharTable(CodeTables{}, command, buffer, bufferSize);
}

// The stand-in's service, or the default.
template <typename Service>
Service Either(Service given, Service fallback) {
    return given != nullptr ? given : fallback;
}

}  // namespace

void IgnoreUnusedSlot(const char*, const char*) {}

void FillStartupRecords(const StandInHost& host, PluginStartupInfo* info, FarStandardFunctions* functions) {
    std::memset(info, 0, sizeof *info);
    std::memset(functions, 0, sizeof *functions);
    Either<UnusedSlotFiller>(host.UnusedSlots, FillUnusedSlots<IgnoreUnusedSlot>)(info, functions);

    functions->StructSize = kStandardFunctionsSize;
    functions->itoa = Either(host.Itoa, Itoa);
    functions->sprintf = Either(host.Sprintf, Sprintf);
    functions->sscanf = Either(host.Sscanf, Sscanf);
    functions->LStrlwr = Either(host.LStrlwr, LStrlwr);
    functions->LStricmp = Either(host.LStricmp, LStricmp);
    functions->LStrnicmp = Either(host.LStrnicmp, LStrnicmp);
    functions->Unquote = Either(host.Unquote, Unquote);
    functions->TruncPathStr = Either(host.TruncPathStr, TruncPathStr);
    functions->ProcessName = Either(host.ProcessName, ProcessName);

    info->StructSize = host.StartupSize;
    std::size_t length = std::min(host.ModuleName.size(), sizeof info->ModuleName - 1);
    std::memcpy(info->ModuleName, host.ModuleName.data(), length);
    info->ModuleNumber = host.ModuleNumber;
    info->RootKey = host.RootKey;
    info->Menu = Either(host.Menu, LeftMenu);
    info->Message = Either(host.Message, LeftMessage);
    info->Dialog = Either(host.Dialog, LeftDialog);
    info->GetMsg = Either(host.GetMsg, EmptyMessageText);
    info->EditorControl = Either(host.EditorControl, NothingOpen);
    info->CharTable = Either(host.CharTable, NoCodeTables);
    info->ViewerControl = Either(host.ViewerControl, NothingOpen);
    info->FSF = functions;
}

}  // namespace hostkit
