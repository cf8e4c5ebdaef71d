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
enum : int { ECTL_GETSTRING = 0, ECTL_GETINFO = 6, ECTL_SETPOSITION = 7, ECTL_PROCESSKEY = 23, ECTL_SETPARAM = 24, ECTL_GETBOOKMARKS = 25 };
// ECTL_SETPARAM's types: the character table (iParam 1 OEM, 2 ANSI, k + 3
// code table k) and the editor's own "save file position" option.
enum : int { ESPT_CHARTABLE = 5, ESPT_SAVEFILEPOSITION = 6 };
// EditorInfo.Options: the editor keeps its position in the host's history.
enum : int { EOPT_SAVEFILEPOSITION = 0x10 };
// The numbered bookmarks of an editor, and the keys that set one (RightCtrl+n,
// and Ctrl+Shift+n, which the host turns into RightCtrl+n) or go to it (Ctrl+n).
constexpr int kBookmarkSlots = 10;
enum : DWORD_T { KEY_CTRL0 = 0x01000030, KEY_RCTRL0 = 0x10000030, KEY_CTRLSHIFT0 = 0x05000030 };
// The CharTable service's command that detects a table from a sample.
enum : int { FCT_DETECT = 0x40000000 };
// The size of the CharTable service's record, and the most it writes.
constexpr int kCharTableSetSize = 1152;
enum : int { VE_READ = 0, VE_CLOSE = 1, VE_GOTFOCUS = 6, VE_KILLFOCUS = 7 };
enum : int {
    VCTL_GETINFO = 0, VCTL_QUIT = 1, VCTL_REDRAW = 2, VCTL_SETKEYBAR = 3,
    VCTL_SETPOSITION = 4, VCTL_SELECT = 5, VCTL_SETMODE = 6,
};
enum : DWORD_T { VSP_NOREDRAW = 0x1, VSP_PERCENT = 0x2, VSP_RELATIVE = 0x4, VSP_NORETNEWPOS = 0x8 };
enum : int { VSMT_HEX = 0, VSMT_WRAP = 1, VSMT_WORDWRAP = 2 };
enum : DWORD_T { VSMFL_REDRAW = 0x1 };
enum : DWORD_T { VOPT_SAVEFILEPOSITION = 0x1, VOPT_AUTODETECTTABLE = 0x2 };
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

// ECTL_GETSTRING's record: the line StringNumber (negative: the cursor's
// line) as the host holds it. StringText and StringEOL point into the
// host's buffers, valid until the editor's text changes.
struct EditorGetString {
    int StringNumber;
    const char* StringText;
    const char* StringEOL;  // the line's end of line, empty for a last line without one
    int StringLength;       // without the end of line
    int SelStart;
    int SelEnd;
};

// ECTL_GETBOOKMARKS's record: each member points to kBookmarkSlots longs
// (32-bit on every target) that the host fills, slot 0 to 9; a null member
// is skipped. An unset slot holds -1 in all four.
struct EditorBookMarks {
    std::int32_t* Line;        // the cursor's line when the bookmark was set
    std::int32_t* Cursor;      // its position in the line (as EditorInfo.CurPos)
    std::int32_t* ScreenLine;  // its row in the window (the top line was Line - ScreenLine)
    std::int32_t* LeftPos;     // the first column shown
    DWORD_T Reserved[4];
};

// ECTL_SETPARAM's record. Param is a union of int, char * and DWORD in the
// host's header; the plug-in only ever passes the int, kept in a member of
// the union's width.
struct EditorSetParameter {
    int Type;
    INT_PTR_T Param;
    DWORD_T Flags;
    DWORD_T Reserved2;
};

// The CharTable service's record: the tables of code table k and its name.
struct CharTableSet {
    unsigned char DecodeTable[256];  // file byte -> OEM
    unsigned char EncodeTable[256];  // OEM -> file byte
    unsigned char UpperTable[256];
    unsigned char LowerTable[256];
    char TableName[128];
};
static_assert(sizeof(CharTableSet) == kCharTableSetSize, "CharTableSet is 1152 bytes on every target");

// The viewer's records. Their 8-byte members follow the host's 2-byte
// packing on the 32-bit target.
#if defined(TW_HOST_ABI_32)
#pragma pack(push, 2)
#endif
struct ViewerMode {
    int UseDecodeTable;
    int TableNum;  // k for code table k, -1 for OEM and Unicode, -2 for ANSI
    int AnsiMode;
    int Unicode;   // 1: FilePos and FileSize count 2-byte characters
    int Wrap;
    int WordWrap;
    int Hex;
    DWORD_T Reserved[4];
};

struct ViewerInfo {
    int StructSize;  // set by the caller
    int ViewerID;
    const char* FileName;
    std::int64_t FileSize;
    std::int64_t FilePos;  // the offset shown at the top of the window
    int WindowSizeX;
    int WindowSizeY;
    DWORD_T Options;
    int TabSize;
    ViewerMode CurMode;
    int LeftPos;
    int Reserved3;
};

struct ViewerSetPosition {
    DWORD_T Flags;
    std::int64_t StartPos;
    int LeftPos;
};

struct ViewerSetMode {
    int Type;
    INT_PTR_T Param;  // iParam: 0 or 1
    DWORD_T Flags;
    DWORD_T Reserved;
};
#if defined(TW_HOST_ABI_32)
#pragma pack(pop)
#endif

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
using FarCharTableFn = int(TW_STDCALL*)(int Command, char* Buffer, int BufferSize);
using FarViewerControlFn = int(TW_STDCALL*)(int Command, void* Param);
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
    FarCharTableFn CharTable;
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
    FarViewerControlFn ViewerControl;
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
static_assert(offsetof(EditorInfo, TotalLines) == 16, "TotalLines");
static_assert(offsetof(EditorInfo, AnsiMode) == 52, "AnsiMode");
static_assert(offsetof(EditorInfo, TableNum) == 56, "TableNum");
static_assert(offsetof(EditorInfo, Options) == 60, "Options");
static_assert(offsetof(EditorInfo, CurState) == 72, "CurState");
static_assert(offsetof(EditorInfo, Reserved) == 76, "Reserved");

static_assert(offsetof(EditorSetPosition, CurTabPos) == 8, "CurTabPos");
static_assert(offsetof(EditorSetPosition, Overtype) == 20, "Overtype");

static_assert(offsetof(PluginStartupInfo, CharTable) == 324, "CharTable");

static_assert(sizeof(EditorGetString) == 24, "EditorGetString");
static_assert(offsetof(EditorGetString, StringText) == 4, "StringText");
static_assert(offsetof(EditorGetString, StringEOL) == 8, "StringEOL");
static_assert(offsetof(EditorGetString, StringLength) == 12, "StringLength");

static_assert(sizeof(EditorBookMarks) == 32, "EditorBookMarks");
static_assert(offsetof(EditorBookMarks, Cursor) == 4, "Cursor");
static_assert(offsetof(EditorBookMarks, ScreenLine) == 8, "ScreenLine");
static_assert(offsetof(EditorBookMarks, LeftPos) == 12, "LeftPos");

static_assert(sizeof(EditorSetParameter) == 16, "EditorSetParameter");
static_assert(offsetof(EditorSetParameter, Param) == 4, "Param");
static_assert(offsetof(EditorSetParameter, Flags) == 8, "Flags");

static_assert(sizeof(ViewerMode) == 44, "ViewerMode");
static_assert(offsetof(ViewerMode, TableNum) == 4, "TableNum");
static_assert(offsetof(ViewerMode, Unicode) == 12, "Unicode");
static_assert(offsetof(ViewerMode, Wrap) == 16, "Wrap");
static_assert(offsetof(ViewerMode, WordWrap) == 20, "WordWrap");
static_assert(offsetof(ViewerMode, Hex) == 24, "Hex");
static_assert(sizeof(ViewerInfo) == 96, "ViewerInfo");
static_assert(offsetof(ViewerInfo, ViewerID) == 4, "ViewerID");
static_assert(offsetof(ViewerInfo, FileName) == 8, "FileName");
static_assert(offsetof(ViewerInfo, FileSize) == 12, "FileSize");
static_assert(offsetof(ViewerInfo, FilePos) == 20, "FilePos");
static_assert(offsetof(ViewerInfo, WindowSizeY) == 32, "WindowSizeY");
static_assert(offsetof(ViewerInfo, CurMode) == 44, "CurMode");
static_assert(offsetof(ViewerInfo, LeftPos) == 88, "LeftPos");
static_assert(sizeof(ViewerSetPosition) == 16, "ViewerSetPosition");
static_assert(offsetof(ViewerSetPosition, StartPos) == 4, "StartPos");
static_assert(offsetof(ViewerSetPosition, LeftPos) == 12, "LeftPos");
static_assert(sizeof(ViewerSetMode) == 16, "ViewerSetMode");
static_assert(offsetof(ViewerSetMode, Param) == 4, "Param");
static_assert(offsetof(ViewerSetMode, Flags) == 8, "Flags");

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
int TW_STDCALL ProcessViewerEvent(int Event, void* Param);
int TW_STDCALL Configure(int ItemNumber);
void TW_STDCALL ExitFAR(void);
int TW_STDCALL LibMain(void* Module, tarnwick::DWORD_T Reason, void* Reserved);
}
