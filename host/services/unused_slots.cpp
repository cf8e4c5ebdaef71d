#include "unused_slots.h"

#include <string>

#include "console.h"

using namespace tarnwick;

namespace twhost {
namespace {

[[noreturn]] void UnusedSlotCalled(const char* table, const char* slot) {
    Fatal(EXIT_PLUGIN_FAULT, std::string("the plug-in called ") + table + "." + slot +
                                 ", a service this host does not offer to it", true);
}

// One function per slot, so the report names the slot that was called.
#define TW_STARTUP_SLOT(name) \
    void TW_STDCALL Startup_##name() { UnusedSlotCalled("PluginStartupInfo", #name); }
#define TW_FSF_SLOT(name) \
    void TW_STDCALL Fsf_##name() { UnusedSlotCalled("FarStandardFunctions", #name); }

TW_STARTUP_SLOT(Control)
TW_STARTUP_SLOT(SaveScreen)
TW_STARTUP_SLOT(RestoreScreen)
TW_STARTUP_SLOT(GetDirList)
TW_STARTUP_SLOT(GetPluginDirList)
TW_STARTUP_SLOT(FreeDirList)
TW_STARTUP_SLOT(Viewer)
TW_STARTUP_SLOT(Editor)
TW_STARTUP_SLOT(CmpName)
TW_STARTUP_SLOT(CharTable)
TW_STARTUP_SLOT(Text)
TW_STARTUP_SLOT(ShowHelp)
TW_STARTUP_SLOT(AdvControl)
TW_STARTUP_SLOT(InputBox)
TW_STARTUP_SLOT(DialogEx)
TW_STARTUP_SLOT(SendDlgMessage)
TW_STARTUP_SLOT(DefDlgProc)
TW_STARTUP_SLOT(ViewerControl)

TW_FSF_SLOT(atoi)
TW_FSF_SLOT(atoi64)
TW_FSF_SLOT(itoa64)
TW_FSF_SLOT(qsort)
TW_FSF_SLOT(bsearch)
TW_FSF_SLOT(qsortex)
TW_FSF_SLOT(snprintf)
TW_FSF_SLOT(LIsLower)
TW_FSF_SLOT(LIsUpper)
TW_FSF_SLOT(LIsAlpha)
TW_FSF_SLOT(LIsAlphanum)
TW_FSF_SLOT(LUpper)
TW_FSF_SLOT(LLower)
TW_FSF_SLOT(LUpperBuf)
TW_FSF_SLOT(LLowerBuf)
TW_FSF_SLOT(LStrupr)
TW_FSF_SLOT(ExpandEnvironmentStr)
TW_FSF_SLOT(LTrim)
TW_FSF_SLOT(RTrim)
TW_FSF_SLOT(Trim)
TW_FSF_SLOT(TruncStr)
TW_FSF_SLOT(QuoteSpaceOnly)
TW_FSF_SLOT(PointToName)
TW_FSF_SLOT(GetPathRoot)
TW_FSF_SLOT(AddEndSlash)
TW_FSF_SLOT(CopyToClipboard)
TW_FSF_SLOT(PasteFromClipboard)
TW_FSF_SLOT(FarKeyToName)
TW_FSF_SLOT(FarNameToKey)
TW_FSF_SLOT(FarInputRecordToKey)
TW_FSF_SLOT(XLat)
TW_FSF_SLOT(GetFileOwner)
TW_FSF_SLOT(GetNumberOfLinks)
TW_FSF_SLOT(FarRecursiveSearch)
TW_FSF_SLOT(MkTemp)
TW_FSF_SLOT(DeleteBuffer)
TW_FSF_SLOT(MkLink)
TW_FSF_SLOT(ConvertNameToReal)
TW_FSF_SLOT(GetReparsePointInfo)

#undef TW_STARTUP_SLOT
#undef TW_FSF_SLOT

}  // namespace

void FillUnusedStartupServices(PluginStartupInfo* info) {
    info->Control = Startup_Control;
    info->SaveScreen = Startup_SaveScreen;
    info->RestoreScreen = Startup_RestoreScreen;
    info->GetDirList = Startup_GetDirList;
    info->GetPluginDirList = Startup_GetPluginDirList;
    info->FreeDirList = Startup_FreeDirList;
    info->Viewer = Startup_Viewer;
    info->Editor = Startup_Editor;
    info->CmpName = Startup_CmpName;
    info->CharTable = Startup_CharTable;
    info->Text = Startup_Text;
    info->ShowHelp = Startup_ShowHelp;
    info->AdvControl = Startup_AdvControl;
    info->InputBox = Startup_InputBox;
    info->DialogEx = Startup_DialogEx;
    info->SendDlgMessage = Startup_SendDlgMessage;
    info->DefDlgProc = Startup_DefDlgProc;
    info->ViewerControl = Startup_ViewerControl;
}

void FillUnusedStandardFunctions(FarStandardFunctions* table) {
    table->atoi = Fsf_atoi;
    table->atoi64 = Fsf_atoi64;
    table->itoa64 = Fsf_itoa64;
    table->qsort = Fsf_qsort;
    table->bsearch = Fsf_bsearch;
    table->qsortex = Fsf_qsortex;
    table->snprintf = Fsf_snprintf;
    table->LIsLower = Fsf_LIsLower;
    table->LIsUpper = Fsf_LIsUpper;
    table->LIsAlpha = Fsf_LIsAlpha;
    table->LIsAlphanum = Fsf_LIsAlphanum;
    table->LUpper = Fsf_LUpper;
    table->LLower = Fsf_LLower;
    table->LUpperBuf = Fsf_LUpperBuf;
    table->LLowerBuf = Fsf_LLowerBuf;
    table->LStrupr = Fsf_LStrupr;
    table->ExpandEnvironmentStr = Fsf_ExpandEnvironmentStr;
    table->LTrim = Fsf_LTrim;
    table->RTrim = Fsf_RTrim;
    table->Trim = Fsf_Trim;
    table->TruncStr = Fsf_TruncStr;
    table->QuoteSpaceOnly = Fsf_QuoteSpaceOnly;
    table->PointToName = Fsf_PointToName;
    table->GetPathRoot = Fsf_GetPathRoot;
    table->AddEndSlash = Fsf_AddEndSlash;
    table->CopyToClipboard = Fsf_CopyToClipboard;
    table->PasteFromClipboard = Fsf_PasteFromClipboard;
    table->FarKeyToName = Fsf_FarKeyToName;
    table->FarNameToKey = Fsf_FarNameToKey;
    table->FarInputRecordToKey = Fsf_FarInputRecordToKey;
    table->XLat = Fsf_XLat;
    table->GetFileOwner = Fsf_GetFileOwner;
    table->GetNumberOfLinks = Fsf_GetNumberOfLinks;
    table->FarRecursiveSearch = Fsf_FarRecursiveSearch;
    table->MkTemp = Fsf_MkTemp;
    table->DeleteBuffer = Fsf_DeleteBuffer;
    table->MkLink = Fsf_MkLink;
    table->ConvertNameToReal = Fsf_ConvertNameToReal;
    table->GetReparsePointInfo = Fsf_GetReparsePointInfo;
}

}  // namespace twhost
