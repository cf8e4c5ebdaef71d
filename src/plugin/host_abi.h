// The host's binary interface: the records, services and constants of the
// ANSI plug-in API, declared from the host's published layout.
//
// On the 32-bit Windows target the records follow the host's 2-byte packing
// (which only the viewer's 8-byte members notice); on every 64-bit target
// they have natural alignment, which is the host's x64 layout, so the
// x86_64 DLL and the native build share one layout. host_abi_layout.cpp
// checks every size and offset the plug-in reads on both. Off Windows there
// is no calling convention, so the plug-in and the substitute host can be
// built and tested natively.
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

// Text shares its place with a pointer to a longer text (which the plug-in
// never uses): on x64 the pointer's alignment puts Text at 8.
struct FarMenuItemEx {
    DWORD_T Flags;
    union {
        char Text[128];
        const char* TextPointer;
    };
    DWORD_T AccelKey;
    DWORD_T Reserved;
    DWORD_PTR_T UserData;
};

struct FarDialogItem {
    int Type;
    int X1, Y1, X2, Y2;
    int Focus;
    // Selected shares its place with pointers (a history name, a list) in the
    // host's record: the union is pointer-sized, and the host reads the
    // low 4 bytes as the int.
    union {
        int Selected;
        const void* SelectedPointer;
    };
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
