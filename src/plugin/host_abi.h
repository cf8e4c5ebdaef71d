// The host's binary interface: the records, services and constants of the
// 32-bit ANSI plug-in API, declared from the host's published layout.
//
// On the 32-bit Windows target every record has the host's exact size and
// offsets (checked below); elsewhere the same records use the platform's
// natural pointer size and no calling convention, so the plug-in and the
// substitute host can be built and tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "support/path_size.h"

#if defined(_WIN32)
#define TW_STDCALL __stdcall
#define TW_CDECL __cdecl
#else
#define TW_STDCALL
#define TW_CDECL
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define TW_HOST_ABI_32 1
#endif

namespace tarnwick {

using INT_PTR_T = std::intptr_t;
using DWORD_T = std::uint32_t;
using DWORD_PTR_T = std::uintptr_t;

// ---- Constants --------------------------------------------------------

enum : int { EE_READ = 0, EE_SAVE = 1, EE_REDRAW = 2, EE_CLOSE = 3, EE_GOTFOCUS = 6, EE_KILLFOCUS = 7 };
enum : int { ECTL_GETINFO = 6, ECTL_SETPOSITION = 7 };
enum : DWORD_T { ECSTATE_MODIFIED = 1, ECSTATE_SAVED = 2, ECSTATE_LOCKED = 4 };
enum : int {
    OPEN_DISKMENU = 0, OPEN_PLUGINSMENU = 1, OPEN_FINDLIST = 2, OPEN_SHORTCUT = 3,
    OPEN_COMMANDLINE = 4, OPEN_EDITOR = 5, OPEN_VIEWER = 6,
};
enum : DWORD_T { PF_PRELOAD = 1, PF_DISABLEPANELS = 2, PF_EDITOR = 4, PF_VIEWER = 8 };
enum : DWORD_T { FMSG_WARNING = 0x1, FMSG_MB_OK = 0x10000, FMSG_MB_YESNO = 0x40000 };
enum : DWORD_T { FMENU_SHOWAMPERSAND = 0x1, FMENU_WRAPMODE = 0x2, FMENU_AUTOHIGHLIGHT = 0x4, FMENU_USEEXT = 0x20 };
enum : DWORD_T { MIF_SELECTED = 0x10000, MIF_CHECKED = 0x20000, MIF_SEPARATOR = 0x40000, MIF_DISABLE = 0x80000 };
enum : int { DI_TEXT = 0, DI_DOUBLEBOX = 3, DI_EDIT = 4, DI_BUTTON = 7, DI_CHECKBOX = 8 };
enum : DWORD_T { DIF_CENTERGROUP = 0x4000, DIF_SEPARATOR = 0x10000 };
enum : DWORD_T { PN_CMPNAME = 0, PN_CMPNAMELIST = 0x1000, PN_SKIPPATH = 0x100000 };
// The virtual-key code of Del, as a menu's break key.
constexpr int kVirtualKeyDelete = 0x2E;
// What OpenPlugin returns when it opens no panel.
constexpr INT_PTR_T kInvalidHandle = -1;

// ---- Records ----------------------------------------------------------

struct FarMenuItemEx {
    DWORD_T Flags;
    char Text[128];
    DWORD_T AccelKey;
    DWORD_T Reserved;
    DWORD_PTR_T UserData;
};

struct FarDialogItem {
    int Type;
    int X1, Y1, X2, Y2;
    int Focus;
    int Selected;  // shares its place with other 4-byte members in the host's record
    DWORD_T Flags;
    int DefaultButton;
    char Data[512];
};

// ECTL_SETPOSITION's record: six signed 32-bit integers, in the host's
// order. The plug-in sets CurTabPos to -1, which leaves the tab position to
// the host.
struct EditorSetPosition {
    std::int32_t CurLine;
    std::int32_t CurPos;
    std::int32_t CurTabPos;
    std::int32_t TopScreenLine;
    std::int32_t LeftPos;
    std::int32_t Overtype;
};
static_assert(sizeof(EditorSetPosition) == 24, "host record EditorSetPosition is 24 bytes");

struct EditorInfo {
    int EditorID;
    const char* FileName;
    int WindowSizeX;
    int WindowSizeY;
    int TotalLines;
    int CurLine;
    int CurPos;
    int CurTabPos;
    int TopScreenLine;
    int LeftPos;
    int Overtype;
    int BlockType;
    int BlockStartLine;
    int AnsiMode;
    int TableNum;
    int Options;
    int TabSize;
    int BookMarkCount;
    DWORD_T CurState;
    DWORD_T Reserved[6];
};

struct PluginInfo {
    int StructSize;
    DWORD_T Flags;
    const char* const* DiskMenuStrings;
    int* DiskMenuNumbers;
    int DiskMenuStringsNumber;
    const char* const* PluginMenuStrings;
    int PluginMenuStringsNumber;
    const char* const* PluginConfigStrings;
    int PluginConfigStringsNumber;
    const char* CommandPrefix;
    DWORD_T Reserved;
};

// ---- Services ---------------------------------------------------------

using FarMenuFn = int(TW_STDCALL*)(INT_PTR_T ModuleNumber, int X, int Y, int MaxHeight, DWORD_T Flags,
                                   const char* Title, const char* Bottom, const char* HelpTopic,
                                   const int* BreakKeys, int* BreakCode, const FarMenuItemEx* Items,
                                   int ItemsNumber);
using FarMessageFn = int(TW_STDCALL*)(INT_PTR_T ModuleNumber, DWORD_T Flags, const char* HelpTopic,
                                      const char* const* Items, int ItemsNumber, int ButtonsNumber);
using FarDialogFn = int(TW_STDCALL*)(INT_PTR_T ModuleNumber, int X1, int Y1, int X2, int Y2,
                                     const char* HelpTopic, FarDialogItem* Items, int ItemsNumber);
using FarGetMsgFn = const char*(TW_STDCALL*)(INT_PTR_T ModuleNumber, int MsgId);
using FarEditorControlFn = int(TW_STDCALL*)(int Command, void* Param);
using FarUnusedFn = void(TW_STDCALL*)();  // a slot the plug-in never calls

using FarSprintfFn = int(TW_CDECL*)(char* Buffer, const char* Format, ...);
using FarSscanfFn = int(TW_CDECL*)(const char* Buffer, const char* Format, ...);
using FarItoaFn = char*(TW_STDCALL*)(int Value, char* Buffer, int Radix);
using FarLStrlwrFn = void(TW_STDCALL*)(char* Text);
using FarLStricmpFn = int(TW_STDCALL*)(const char* A, const char* B);
using FarLStrnicmpFn = int(TW_STDCALL*)(const char* A, const char* B, int Count);
using FarUnquoteFn = void(TW_STDCALL*)(char* Text);
using FarTruncPathStrFn = char*(TW_STDCALL*)(char* Text, int MaxLength);
using FarProcessNameFn = int(TW_STDCALL*)(const char* Masks, char* Name, DWORD_T Flags);

struct FarStandardFunctions {
    int StructSize;
    FarUnusedFn atoi;
    FarUnusedFn atoi64;
    FarItoaFn itoa;
    FarUnusedFn itoa64;
    FarSprintfFn sprintf;
    FarSscanfFn sscanf;
    FarUnusedFn qsort;
    FarUnusedFn bsearch;
    FarUnusedFn qsortex;
    FarUnusedFn snprintf;
    DWORD_PTR_T Reserved[8];
    FarUnusedFn LIsLower;
    FarUnusedFn LIsUpper;
    FarUnusedFn LIsAlpha;
    FarUnusedFn LIsAlphanum;
    FarUnusedFn LUpper;
    FarUnusedFn LLower;
    FarUnusedFn LUpperBuf;
    FarUnusedFn LLowerBuf;
    FarUnusedFn LStrupr;
    FarLStrlwrFn LStrlwr;
    FarLStricmpFn LStricmp;
    FarLStrnicmpFn LStrnicmp;
    FarUnquoteFn Unquote;
    FarUnusedFn ExpandEnvironmentStr;
    FarUnusedFn LTrim;
    FarUnusedFn RTrim;
    FarUnusedFn Trim;
    FarUnusedFn TruncStr;
    FarTruncPathStrFn TruncPathStr;
    FarUnusedFn QuoteSpaceOnly;
    FarUnusedFn PointToName;
    FarUnusedFn GetPathRoot;
    FarUnusedFn AddEndSlash;
    FarUnusedFn CopyToClipboard;
    FarUnusedFn PasteFromClipboard;
    FarUnusedFn FarKeyToName;
    FarUnusedFn FarNameToKey;
    FarUnusedFn FarInputRecordToKey;
    FarUnusedFn XLat;
    FarUnusedFn GetFileOwner;
    FarUnusedFn GetNumberOfLinks;
    FarUnusedFn FarRecursiveSearch;
    FarUnusedFn MkTemp;
    FarUnusedFn DeleteBuffer;
    FarProcessNameFn ProcessName;
    FarUnusedFn MkLink;
    FarUnusedFn ConvertNameToReal;
    FarUnusedFn GetReparsePointInfo;
};

struct PluginStartupInfo {
    int StructSize;
    char ModuleName[kPathSize];  // the host's MAX_PATH
    INT_PTR_T ModuleNumber;
    const char* RootKey;
    FarMenuFn Menu;
    FarDialogFn Dialog;
    FarMessageFn Message;
    FarGetMsgFn GetMsg;
    FarUnusedFn Control;
    FarUnusedFn SaveScreen;
    FarUnusedFn RestoreScreen;
    FarUnusedFn GetDirList;
    FarUnusedFn GetPluginDirList;
    FarUnusedFn FreeDirList;
    FarUnusedFn Viewer;
    FarUnusedFn Editor;
    FarUnusedFn CmpName;
    FarUnusedFn CharTable;
    FarUnusedFn Text;
    FarEditorControlFn EditorControl;
    FarStandardFunctions* FSF;
    FarUnusedFn ShowHelp;
    FarUnusedFn AdvControl;
    FarUnusedFn InputBox;
    FarUnusedFn DialogEx;
    FarUnusedFn SendDlgMessage;
    FarUnusedFn DefDlgProc;
    DWORD_PTR_T Reserved;
    FarUnusedFn ViewerControl;
};

// The size the host reports for its PluginStartupInfo: 372 on the 32-bit
// target; the natural size elsewhere.
constexpr int kStartupInfoSize = static_cast<int>(sizeof(PluginStartupInfo));
constexpr int kStandardFunctionsSize = static_cast<int>(sizeof(FarStandardFunctions));

// The host's path fields (ModuleName here, the masks ProcessName copies)
// hold 260 bytes; the plug-in's path buffers have the same size.
static_assert(sizeof(PluginStartupInfo::ModuleName) == 260, "the host's ModuleName is 260 bytes");

#if defined(TW_HOST_ABI_32)
static_assert(sizeof(PluginStartupInfo) == 372, "PluginStartupInfo");
static_assert(offsetof(PluginStartupInfo, ModuleName) == 4, "ModuleName");
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 264, "ModuleNumber");
static_assert(offsetof(PluginStartupInfo, RootKey) == 268, "RootKey");
static_assert(offsetof(PluginStartupInfo, Menu) == 272, "Menu");
static_assert(offsetof(PluginStartupInfo, Dialog) == 276, "Dialog");
static_assert(offsetof(PluginStartupInfo, Message) == 280, "Message");
static_assert(offsetof(PluginStartupInfo, GetMsg) == 284, "GetMsg");
static_assert(offsetof(PluginStartupInfo, EditorControl) == 332, "EditorControl");
static_assert(offsetof(PluginStartupInfo, FSF) == 336, "FSF");
static_assert(offsetof(PluginStartupInfo, Reserved) == 364, "Reserved");
static_assert(offsetof(PluginStartupInfo, ViewerControl) == 368, "ViewerControl");

static_assert(sizeof(FarStandardFunctions) == 228, "FarStandardFunctions");
static_assert(offsetof(FarStandardFunctions, itoa) == 12, "itoa");
static_assert(offsetof(FarStandardFunctions, sprintf) == 20, "sprintf");
static_assert(offsetof(FarStandardFunctions, sscanf) == 24, "sscanf");
static_assert(offsetof(FarStandardFunctions, snprintf) == 40, "snprintf");
static_assert(offsetof(FarStandardFunctions, LIsLower) == 76, "LIsLower");
static_assert(offsetof(FarStandardFunctions, LStrlwr) == 112, "LStrlwr");
static_assert(offsetof(FarStandardFunctions, LStricmp) == 116, "LStricmp");
static_assert(offsetof(FarStandardFunctions, LStrnicmp) == 120, "LStrnicmp");
static_assert(offsetof(FarStandardFunctions, Unquote) == 124, "Unquote");
static_assert(offsetof(FarStandardFunctions, TruncPathStr) == 148, "TruncPathStr");
static_assert(offsetof(FarStandardFunctions, ProcessName) == 212, "ProcessName");
static_assert(offsetof(FarStandardFunctions, GetReparsePointInfo) == 224, "GetReparsePointInfo");

static_assert(sizeof(PluginInfo) == 44, "PluginInfo");
static_assert(offsetof(PluginInfo, Flags) == 4, "Flags");
static_assert(offsetof(PluginInfo, PluginMenuStrings) == 20, "PluginMenuStrings");
static_assert(offsetof(PluginInfo, PluginMenuStringsNumber) == 24, "PluginMenuStringsNumber");
static_assert(offsetof(PluginInfo, PluginConfigStrings) == 28, "PluginConfigStrings");
static_assert(offsetof(PluginInfo, PluginConfigStringsNumber) == 32, "PluginConfigStringsNumber");
static_assert(offsetof(PluginInfo, CommandPrefix) == 36, "CommandPrefix");

static_assert(sizeof(EditorInfo) == 100, "EditorInfo");
static_assert(offsetof(EditorInfo, FileName) == 4, "FileName");
static_assert(offsetof(EditorInfo, CurLine) == 20, "CurLine");
static_assert(offsetof(EditorInfo, CurPos) == 24, "CurPos");
static_assert(offsetof(EditorInfo, TopScreenLine) == 32, "TopScreenLine");
static_assert(offsetof(EditorInfo, LeftPos) == 36, "LeftPos");
static_assert(offsetof(EditorInfo, Overtype) == 40, "Overtype");
static_assert(offsetof(EditorInfo, CurState) == 72, "CurState");
static_assert(offsetof(EditorInfo, Reserved) == 76, "Reserved");

static_assert(offsetof(EditorSetPosition, CurTabPos) == 8, "CurTabPos");
static_assert(offsetof(EditorSetPosition, Overtype) == 20, "Overtype");

static_assert(sizeof(FarMenuItemEx) == 144, "FarMenuItemEx");
static_assert(offsetof(FarMenuItemEx, Text) == 4, "Text");
static_assert(offsetof(FarMenuItemEx, AccelKey) == 132, "AccelKey");
static_assert(offsetof(FarMenuItemEx, UserData) == 140, "UserData");

static_assert(sizeof(FarDialogItem) == 548, "FarDialogItem");
static_assert(offsetof(FarDialogItem, Focus) == 20, "Focus");
static_assert(offsetof(FarDialogItem, Selected) == 24, "Selected");
static_assert(offsetof(FarDialogItem, Flags) == 28, "Flags");
static_assert(offsetof(FarDialogItem, DefaultButton) == 32, "DefaultButton");
static_assert(offsetof(FarDialogItem, Data) == 36, "Data");
#endif

}  // namespace tarnwick

// The plug-in's exports, with C linkage and the host's calling convention.
extern "C" {
void TW_STDCALL SetStartupInfo(const tarnwick::PluginStartupInfo* Info);
void TW_STDCALL GetPluginInfo(tarnwick::PluginInfo* Info);
tarnwick::INT_PTR_T TW_STDCALL OpenPlugin(int OpenFrom, tarnwick::INT_PTR_T Item);
int TW_STDCALL ProcessEditorEvent(int Event, void* Param);
int TW_STDCALL Configure(int ItemNumber);
void TW_STDCALL ExitFAR(void);
int TW_STDCALL LibMain(void* Module, tarnwick::DWORD_T Reason, void* Reserved);
}
