// The host's record layouts, checked at compile time: every size and every
// offset the plug-in reads (and the substitute host writes), for the 32-bit
// Windows target and for every 64-bit target. The x64 host's records have
// natural alignment, so the native 64-bit build gets the same layout as the
// x86_64 DLL and these checks hold there too; a mismatch breaks the build
// of each, not just the Windows one. Other targets (a 32-bit build off
// Windows) have no host to match and are not checked.
#include <cstddef>
#include <cstdint>

#include "plugin/host_abi.h"

namespace tarnwick {
namespace {

#if defined(TW_HOST_ABI_32)

static_assert(sizeof(PluginStartupInfo) == 372, "PluginStartupInfo");
static_assert(offsetof(PluginStartupInfo, ModuleName) == 4, "ModuleName");
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 264, "ModuleNumber");
static_assert(offsetof(PluginStartupInfo, RootKey) == 268, "RootKey");
static_assert(offsetof(PluginStartupInfo, Menu) == 272, "Menu");
static_assert(offsetof(PluginStartupInfo, Dialog) == 276, "Dialog");
static_assert(offsetof(PluginStartupInfo, Message) == 280, "Message");
static_assert(offsetof(PluginStartupInfo, GetMsg) == 284, "GetMsg");
static_assert(offsetof(PluginStartupInfo, CharTable) == 324, "CharTable");
static_assert(offsetof(PluginStartupInfo, EditorControl) == 332, "EditorControl");
static_assert(offsetof(PluginStartupInfo, FSF) == 336, "FSF");
static_assert(offsetof(PluginStartupInfo, Reserved) == 364, "Reserved");
static_assert(offsetof(PluginStartupInfo, ViewerControl) == 368, "ViewerControl");

static_assert(sizeof(FarStandardFunctions) == 228, "FarStandardFunctions");
static_assert(offsetof(FarStandardFunctions, itoa) == 12, "itoa");
static_assert(offsetof(FarStandardFunctions, sprintf) == 20, "sprintf");
static_assert(offsetof(FarStandardFunctions, sscanf) == 24, "sscanf");
static_assert(offsetof(FarStandardFunctions, snprintf) == 40, "snprintf");
static_assert(offsetof(FarStandardFunctions, Reserved) == 44, "Reserved");
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
static_assert(offsetof(PluginInfo, DiskMenuStrings) == 8, "DiskMenuStrings");
static_assert(offsetof(PluginInfo, PluginMenuStrings) == 20, "PluginMenuStrings");
static_assert(offsetof(PluginInfo, PluginMenuStringsNumber) == 24, "PluginMenuStringsNumber");
static_assert(offsetof(PluginInfo, PluginConfigStrings) == 28, "PluginConfigStrings");
static_assert(offsetof(PluginInfo, PluginConfigStringsNumber) == 32, "PluginConfigStringsNumber");
static_assert(offsetof(PluginInfo, CommandPrefix) == 36, "CommandPrefix");
static_assert(offsetof(PluginInfo, Reserved) == 40, "Reserved");

static_assert(sizeof(EditorInfo) == 100, "EditorInfo");
static_assert(offsetof(EditorInfo, FileName) == 4, "FileName");
static_assert(offsetof(EditorInfo, TotalLines) == 16, "TotalLines");
static_assert(offsetof(EditorInfo, CurLine) == 20, "CurLine");
static_assert(offsetof(EditorInfo, CurPos) == 24, "CurPos");
static_assert(offsetof(EditorInfo, TopScreenLine) == 32, "TopScreenLine");
static_assert(offsetof(EditorInfo, LeftPos) == 36, "LeftPos");
static_assert(offsetof(EditorInfo, Overtype) == 40, "Overtype");
static_assert(offsetof(EditorInfo, AnsiMode) == 52, "AnsiMode");
static_assert(offsetof(EditorInfo, TableNum) == 56, "TableNum");
static_assert(offsetof(EditorInfo, Options) == 60, "Options");
static_assert(offsetof(EditorInfo, BookMarkCount) == 68, "BookMarkCount");
static_assert(offsetof(EditorInfo, CurState) == 72, "CurState");
static_assert(offsetof(EditorInfo, Reserved) == 76, "Reserved");

static_assert(sizeof(EditorGetString) == 24, "EditorGetString");
static_assert(offsetof(EditorGetString, StringText) == 4, "StringText");
static_assert(offsetof(EditorGetString, StringEOL) == 8, "StringEOL");
static_assert(offsetof(EditorGetString, StringLength) == 12, "StringLength");
static_assert(offsetof(EditorGetString, SelStart) == 16, "SelStart");
static_assert(offsetof(EditorGetString, SelEnd) == 20, "SelEnd");

static_assert(sizeof(EditorBookMarks) == 32, "EditorBookMarks");
static_assert(offsetof(EditorBookMarks, Cursor) == 4, "Cursor");
static_assert(offsetof(EditorBookMarks, ScreenLine) == 8, "ScreenLine");
static_assert(offsetof(EditorBookMarks, LeftPos) == 12, "LeftPos");
static_assert(offsetof(EditorBookMarks, Reserved) == 16, "Reserved");

static_assert(sizeof(EditorSetParameter) == 16, "EditorSetParameter");
static_assert(offsetof(EditorSetParameter, Param) == 4, "Param");
static_assert(offsetof(EditorSetParameter, Flags) == 8, "Flags");
static_assert(offsetof(EditorSetParameter, Reserved2) == 12, "Reserved2");

static_assert(sizeof(ViewerInfo) == 96, "ViewerInfo");
static_assert(offsetof(ViewerInfo, ViewerID) == 4, "ViewerID");
static_assert(offsetof(ViewerInfo, FileName) == 8, "FileName");
static_assert(offsetof(ViewerInfo, FileSize) == 12, "FileSize");
static_assert(offsetof(ViewerInfo, FilePos) == 20, "FilePos");
static_assert(offsetof(ViewerInfo, WindowSizeX) == 28, "WindowSizeX");
static_assert(offsetof(ViewerInfo, WindowSizeY) == 32, "WindowSizeY");
static_assert(offsetof(ViewerInfo, Options) == 36, "Options");
static_assert(offsetof(ViewerInfo, TabSize) == 40, "TabSize");
static_assert(offsetof(ViewerInfo, CurMode) == 44, "CurMode");
static_assert(offsetof(ViewerInfo, LeftPos) == 88, "LeftPos");
static_assert(offsetof(ViewerInfo, Reserved3) == 92, "Reserved3");
static_assert(sizeof(ViewerSetPosition) == 16, "ViewerSetPosition");
static_assert(offsetof(ViewerSetPosition, StartPos) == 4, "StartPos");
static_assert(offsetof(ViewerSetPosition, LeftPos) == 12, "LeftPos");
static_assert(sizeof(ViewerSetMode) == 16, "ViewerSetMode");
static_assert(offsetof(ViewerSetMode, Param) == 4, "Param");
static_assert(offsetof(ViewerSetMode, Flags) == 8, "Flags");
static_assert(offsetof(ViewerSetMode, Reserved) == 12, "Reserved");

static_assert(sizeof(FarMenuItemEx) == 144, "FarMenuItemEx");
static_assert(offsetof(FarMenuItemEx, Text) == 4, "Text");
static_assert(offsetof(FarMenuItemEx, AccelKey) == 132, "AccelKey");
static_assert(offsetof(FarMenuItemEx, Reserved) == 136, "Reserved");
static_assert(offsetof(FarMenuItemEx, UserData) == 140, "UserData");

static_assert(sizeof(FarDialogItem) == 548, "FarDialogItem");
static_assert(offsetof(FarDialogItem, Focus) == 20, "Focus");
static_assert(offsetof(FarDialogItem, Selected) == 24, "Selected");
static_assert(offsetof(FarDialogItem, Flags) == 28, "Flags");
static_assert(offsetof(FarDialogItem, DefaultButton) == 32, "DefaultButton");
static_assert(offsetof(FarDialogItem, Data) == 36, "Data");

#elif INTPTR_MAX == INT64_MAX

static_assert(sizeof(PluginStartupInfo) == 480, "PluginStartupInfo");
static_assert(offsetof(PluginStartupInfo, ModuleName) == 4, "ModuleName");
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 264, "ModuleNumber");
static_assert(offsetof(PluginStartupInfo, RootKey) == 272, "RootKey");
static_assert(offsetof(PluginStartupInfo, Menu) == 280, "Menu");
static_assert(offsetof(PluginStartupInfo, Dialog) == 288, "Dialog");
static_assert(offsetof(PluginStartupInfo, Message) == 296, "Message");
static_assert(offsetof(PluginStartupInfo, GetMsg) == 304, "GetMsg");
static_assert(offsetof(PluginStartupInfo, Control) == 312, "Control");
static_assert(offsetof(PluginStartupInfo, SaveScreen) == 320, "SaveScreen");
static_assert(offsetof(PluginStartupInfo, RestoreScreen) == 328, "RestoreScreen");
static_assert(offsetof(PluginStartupInfo, GetDirList) == 336, "GetDirList");
static_assert(offsetof(PluginStartupInfo, GetPluginDirList) == 344, "GetPluginDirList");
static_assert(offsetof(PluginStartupInfo, FreeDirList) == 352, "FreeDirList");
static_assert(offsetof(PluginStartupInfo, Viewer) == 360, "Viewer");
static_assert(offsetof(PluginStartupInfo, Editor) == 368, "Editor");
static_assert(offsetof(PluginStartupInfo, CmpName) == 376, "CmpName");
static_assert(offsetof(PluginStartupInfo, CharTable) == 384, "CharTable");
static_assert(offsetof(PluginStartupInfo, Text) == 392, "Text");
static_assert(offsetof(PluginStartupInfo, EditorControl) == 400, "EditorControl");
static_assert(offsetof(PluginStartupInfo, FSF) == 408, "FSF");
static_assert(offsetof(PluginStartupInfo, ShowHelp) == 416, "ShowHelp");
static_assert(offsetof(PluginStartupInfo, AdvControl) == 424, "AdvControl");
static_assert(offsetof(PluginStartupInfo, InputBox) == 432, "InputBox");
static_assert(offsetof(PluginStartupInfo, DialogEx) == 440, "DialogEx");
static_assert(offsetof(PluginStartupInfo, SendDlgMessage) == 448, "SendDlgMessage");
static_assert(offsetof(PluginStartupInfo, DefDlgProc) == 456, "DefDlgProc");
static_assert(offsetof(PluginStartupInfo, Reserved) == 464, "Reserved");
static_assert(offsetof(PluginStartupInfo, ViewerControl) == 472, "ViewerControl");

static_assert(sizeof(FarStandardFunctions) == 456, "FarStandardFunctions");
static_assert(offsetof(FarStandardFunctions, atoi) == 8, "atoi");
static_assert(offsetof(FarStandardFunctions, itoa) == 24, "itoa");
static_assert(offsetof(FarStandardFunctions, sprintf) == 40, "sprintf");
static_assert(offsetof(FarStandardFunctions, sscanf) == 48, "sscanf");
static_assert(offsetof(FarStandardFunctions, snprintf) == 80, "snprintf");
static_assert(offsetof(FarStandardFunctions, Reserved) == 88, "Reserved");
static_assert(offsetof(FarStandardFunctions, LIsLower) == 152, "LIsLower");
static_assert(offsetof(FarStandardFunctions, LStrlwr) == 224, "LStrlwr");
static_assert(offsetof(FarStandardFunctions, LStricmp) == 232, "LStricmp");
static_assert(offsetof(FarStandardFunctions, LStrnicmp) == 240, "LStrnicmp");
static_assert(offsetof(FarStandardFunctions, Unquote) == 248, "Unquote");
static_assert(offsetof(FarStandardFunctions, TruncPathStr) == 296, "TruncPathStr");
static_assert(offsetof(FarStandardFunctions, ProcessName) == 424, "ProcessName");
static_assert(offsetof(FarStandardFunctions, GetReparsePointInfo) == 448, "GetReparsePointInfo");

static_assert(sizeof(PluginInfo) == 80, "PluginInfo");
static_assert(offsetof(PluginInfo, Flags) == 4, "Flags");
static_assert(offsetof(PluginInfo, DiskMenuStrings) == 8, "DiskMenuStrings");
static_assert(offsetof(PluginInfo, DiskMenuNumbers) == 16, "DiskMenuNumbers");
static_assert(offsetof(PluginInfo, DiskMenuStringsNumber) == 24, "DiskMenuStringsNumber");
static_assert(offsetof(PluginInfo, PluginMenuStrings) == 32, "PluginMenuStrings");
static_assert(offsetof(PluginInfo, PluginMenuStringsNumber) == 40, "PluginMenuStringsNumber");
static_assert(offsetof(PluginInfo, PluginConfigStrings) == 48, "PluginConfigStrings");
static_assert(offsetof(PluginInfo, PluginConfigStringsNumber) == 56, "PluginConfigStringsNumber");
static_assert(offsetof(PluginInfo, CommandPrefix) == 64, "CommandPrefix");
static_assert(offsetof(PluginInfo, Reserved) == 72, "Reserved");

static_assert(sizeof(EditorInfo) == 112, "EditorInfo");
static_assert(offsetof(EditorInfo, FileName) == 8, "FileName");
static_assert(offsetof(EditorInfo, WindowSizeX) == 16, "WindowSizeX");
static_assert(offsetof(EditorInfo, TotalLines) == 24, "TotalLines");
static_assert(offsetof(EditorInfo, CurLine) == 28, "CurLine");
static_assert(offsetof(EditorInfo, CurPos) == 32, "CurPos");
static_assert(offsetof(EditorInfo, TopScreenLine) == 40, "TopScreenLine");
static_assert(offsetof(EditorInfo, LeftPos) == 44, "LeftPos");
static_assert(offsetof(EditorInfo, Overtype) == 48, "Overtype");
static_assert(offsetof(EditorInfo, AnsiMode) == 60, "AnsiMode");
static_assert(offsetof(EditorInfo, TableNum) == 64, "TableNum");
static_assert(offsetof(EditorInfo, Options) == 68, "Options");
static_assert(offsetof(EditorInfo, BookMarkCount) == 76, "BookMarkCount");
static_assert(offsetof(EditorInfo, CurState) == 80, "CurState");
static_assert(offsetof(EditorInfo, Reserved) == 84, "Reserved");

static_assert(sizeof(EditorGetString) == 40, "EditorGetString");
static_assert(offsetof(EditorGetString, StringText) == 8, "StringText");
static_assert(offsetof(EditorGetString, StringEOL) == 16, "StringEOL");
static_assert(offsetof(EditorGetString, StringLength) == 24, "StringLength");
static_assert(offsetof(EditorGetString, SelStart) == 28, "SelStart");
static_assert(offsetof(EditorGetString, SelEnd) == 32, "SelEnd");

static_assert(sizeof(EditorBookMarks) == 48, "EditorBookMarks");
static_assert(offsetof(EditorBookMarks, Cursor) == 8, "Cursor");
static_assert(offsetof(EditorBookMarks, ScreenLine) == 16, "ScreenLine");
static_assert(offsetof(EditorBookMarks, LeftPos) == 24, "LeftPos");
static_assert(offsetof(EditorBookMarks, Reserved) == 32, "Reserved");

static_assert(sizeof(EditorSetParameter) == 24, "EditorSetParameter");
static_assert(offsetof(EditorSetParameter, Param) == 8, "Param");
static_assert(offsetof(EditorSetParameter, Flags) == 16, "Flags");
static_assert(offsetof(EditorSetParameter, Reserved2) == 20, "Reserved2");

static_assert(sizeof(ViewerInfo) == 104, "ViewerInfo");
static_assert(offsetof(ViewerInfo, ViewerID) == 4, "ViewerID");
static_assert(offsetof(ViewerInfo, FileName) == 8, "FileName");
static_assert(offsetof(ViewerInfo, FileSize) == 16, "FileSize");
static_assert(offsetof(ViewerInfo, FilePos) == 24, "FilePos");
static_assert(offsetof(ViewerInfo, WindowSizeX) == 32, "WindowSizeX");
static_assert(offsetof(ViewerInfo, WindowSizeY) == 36, "WindowSizeY");
static_assert(offsetof(ViewerInfo, Options) == 40, "Options");
static_assert(offsetof(ViewerInfo, TabSize) == 44, "TabSize");
static_assert(offsetof(ViewerInfo, CurMode) == 48, "CurMode");
static_assert(offsetof(ViewerInfo, LeftPos) == 92, "LeftPos");
static_assert(offsetof(ViewerInfo, Reserved3) == 96, "Reserved3");
static_assert(sizeof(ViewerSetPosition) == 24, "ViewerSetPosition");
static_assert(offsetof(ViewerSetPosition, StartPos) == 8, "StartPos");
static_assert(offsetof(ViewerSetPosition, LeftPos) == 16, "LeftPos");
static_assert(sizeof(ViewerSetMode) == 24, "ViewerSetMode");
static_assert(offsetof(ViewerSetMode, Param) == 8, "Param");
static_assert(offsetof(ViewerSetMode, Flags) == 16, "Flags");
static_assert(offsetof(ViewerSetMode, Reserved) == 20, "Reserved");

static_assert(sizeof(FarMenuItemEx) == 152, "FarMenuItemEx");
static_assert(offsetof(FarMenuItemEx, Text) == 8, "Text");
static_assert(offsetof(FarMenuItemEx, AccelKey) == 136, "AccelKey");
static_assert(offsetof(FarMenuItemEx, Reserved) == 140, "Reserved");
static_assert(offsetof(FarMenuItemEx, UserData) == 144, "UserData");

static_assert(sizeof(FarDialogItem) == 552, "FarDialogItem");
static_assert(offsetof(FarDialogItem, Focus) == 20, "Focus");
static_assert(offsetof(FarDialogItem, Selected) == 24, "Selected");
static_assert(offsetof(FarDialogItem, Flags) == 32, "Flags");
static_assert(offsetof(FarDialogItem, DefaultButton) == 36, "DefaultButton");
static_assert(offsetof(FarDialogItem, Data) == 40, "Data");

#endif

// The same on every target.
static_assert(sizeof(ViewerMode) == 44, "ViewerMode");
static_assert(offsetof(ViewerMode, TableNum) == 4, "TableNum");
static_assert(offsetof(ViewerMode, AnsiMode) == 8, "AnsiMode");
static_assert(offsetof(ViewerMode, Unicode) == 12, "Unicode");
static_assert(offsetof(ViewerMode, Wrap) == 16, "Wrap");
static_assert(offsetof(ViewerMode, WordWrap) == 20, "WordWrap");
static_assert(offsetof(ViewerMode, Hex) == 24, "Hex");
static_assert(offsetof(ViewerMode, Reserved) == 28, "Reserved");

static_assert(sizeof(EditorSetPosition) == 24, "EditorSetPosition");
static_assert(offsetof(EditorSetPosition, CurPos) == 4, "CurPos");
static_assert(offsetof(EditorSetPosition, CurTabPos) == 8, "CurTabPos");
static_assert(offsetof(EditorSetPosition, TopScreenLine) == 12, "TopScreenLine");
static_assert(offsetof(EditorSetPosition, LeftPos) == 16, "LeftPos");
static_assert(offsetof(EditorSetPosition, Overtype) == 20, "Overtype");

static_assert(sizeof(CharTableSet) == 1152, "CharTableSet");
static_assert(offsetof(CharTableSet, EncodeTable) == 256, "EncodeTable");
static_assert(offsetof(CharTableSet, UpperTable) == 512, "UpperTable");
static_assert(offsetof(CharTableSet, LowerTable) == 768, "LowerTable");
static_assert(offsetof(CharTableSet, TableName) == 1024, "TableName");

}  // namespace
}  // namespace tarnwick
