#include "fake_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plugin/messages.h"
#include "kit/one_editor.h"
#include "kit/stand_in_host.h"
#include "kit/standard_functions.h"

namespace fakehost {

using namespace tarnwick;

namespace {

FakeHost g_host;

const char* const kDefaultTexts[] = {
    "Tarnwick",            // 0 title
    "Store position",      // 1
    "Update position",     // 2
    "Restore position",    // 3
    "Saved positions",     // 4
    "Remove missing",      // 5
    "Configuration",       // 6
    "Del delete",          // 7
    "Show in panels",      // 8
    "Automatic",           // 9
    "Remove old",          // 10
    "Check mask",          // 11
    "Position file:",      // 12
    "Delete the entry?",   // 13
    "Nothing stored",      // 14
    "Last entry deleted",  // 15
    "Removed %d entries",  // 16
    "OK",                  // 17
    "Cancel",              // 18
};
static_assert(sizeof kDefaultTexts / sizeof kDefaultTexts[0] == plugin::kMsgCount, "one text per message");

void UnusedService(const char* record, const char* slot) {
    ADD_FAILURE() << "the plug-in called " << record << "." << slot << ", a host service it must not use";
}

int TW_STDCALL FakeMenu(INT_PTR_T moduleNumber, int x, int y, int maxHeight, DWORD_T flags, const char* title,
                        const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
                        const FarMenuItemEx* items, int count) {
    g_host.ModuleNumbersSeen.push_back(moduleNumber);
    MenuShown shown{};
    shown.X = x;
    shown.Y = y;
    shown.MaxHeight = maxHeight;
    shown.Flags = flags;
    shown.Title = title != nullptr ? title : "<null>";
    shown.HasBottom = bottom != nullptr;
    shown.Bottom = bottom != nullptr ? bottom : "";
    shown.HasHelp = helpTopic != nullptr;
    for (const int* key = breakKeys; key != nullptr && *key != 0; ++key) shown.BreakKeys.push_back(*key);
    shown.HasBreakCode = breakCode != nullptr;
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(std::memchr(items[i].Text, 0, sizeof items[i].Text), nullptr) << "unterminated item text";
        shown.Texts.push_back(std::string(items[i].Text, strnlen(items[i].Text, sizeof items[i].Text)));
        shown.ItemFlags.push_back(items[i].Flags);
    }
    g_host.Menus.push_back(shown);
    if (g_host.MenuScript) return g_host.MenuScript(shown, breakCode);
    if (g_host.MenuAnswers.empty()) {
        ADD_FAILURE() << "menu shown with no scripted answer: " << shown.Title;
        return -1;
    }
    MenuAnswer answer = g_host.MenuAnswers.front();
    g_host.MenuAnswers.pop_front();
    if (answer.Then) answer.Then();
    if (breakCode != nullptr) *breakCode = answer.BreakCode;
    return answer.Result;
}

int TW_STDCALL FakeMessage(INT_PTR_T moduleNumber, DWORD_T flags, const char* helpTopic, const char* const* items,
                           int itemsNumber, int buttonsNumber) {
    g_host.ModuleNumbersSeen.push_back(moduleNumber);
    MessageShown shown{};
    shown.Flags = flags;
    shown.HasHelp = helpTopic != nullptr;
    for (int i = 0; i < itemsNumber; ++i) shown.Lines.push_back(items[i] != nullptr ? items[i] : "<null>");
    shown.ButtonsNumber = buttonsNumber;
    g_host.Messages.push_back(shown);
    if (g_host.MessageScript) return g_host.MessageScript(shown);
    if (g_host.MessageAnswers.empty()) {
        if ((flags & FMSG_MB_YESNO) != 0) {
            ADD_FAILURE() << "question asked with no scripted answer";
            return -1;
        }
        return 0;
    }
    int answer = g_host.MessageAnswers.front();
    g_host.MessageAnswers.pop_front();
    return answer;
}

int TW_STDCALL FakeDialog(INT_PTR_T moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                          FarDialogItem* items, int count) {
    g_host.ModuleNumbersSeen.push_back(moduleNumber);
    DialogShown shown{};
    shown.X1 = x1;
    shown.Y1 = y1;
    shown.X2 = x2;
    shown.Y2 = y2;
    shown.HasHelp = helpTopic != nullptr;
    shown.Items.assign(items, items + count);
    g_host.Dialogs.push_back(shown);
    if (g_host.DialogScriptAlways) return g_host.DialogScriptAlways(items, count);
    if (g_host.DialogAnswers.empty()) {
        ADD_FAILURE() << "dialog shown with no scripted answer";
        return -1;
    }
    DialogScript script = g_host.DialogAnswers.front();
    g_host.DialogAnswers.pop_front();
    return script(items, count);
}

const char* TW_STDCALL FakeGetMsg(INT_PTR_T moduleNumber, int id) {
    g_host.ModuleNumbersSeen.push_back(moduleNumber);
    auto found = g_host.Texts.find(id);
    return found != g_host.Texts.end() ? found->second.c_str() : nullptr;
}

int TW_STDCALL FakeEditorControl(int command, void* param) {
    g_host.EditorCommands.push_back(command);
    if (g_host.Closing) return 0;
    if (g_host.FailEditorCommand && g_host.FailEditorCommand(command)) return 0;
    if (command == ECTL_GETINFO) ++g_host.GetInfoCalls;
    if (command == ECTL_SETPOSITION) g_host.SetPositions.push_back(*static_cast<const EditorSetPosition*>(param));
    bool known = false;
    const int result = hostkit::ControlEditor(&g_host.Editor, g_host.Tables, command, param, &known);
    if (!known) ADD_FAILURE() << "unexpected editor command " << command;
    if (g_host.AfterEditorCommand) g_host.AfterEditorCommand(command);
    return result;
}

int TW_STDCALL FakeCharTable(int command, char* buffer, int bufferSize) {
    return hostkit::FillCharTable(g_host.Tables, command, buffer, bufferSize);
}

int TW_STDCALL FakeViewerControl(int command, void* param) {
    g_host.ViewerCommands.push_back(command);
    if (g_host.Closing) return 0;
    return hostkit::ControlViewer(&g_host.Viewer, command, param);
}

char* TW_STDCALL FakeItoa(int value, char* buffer, int radix) {
    EXPECT_EQ(radix, 10);
    return hostkit::Itoa(value, buffer, radix);
}

int TW_STDCALL FakeProcessName(const char* masks, char* name, DWORD_T flags) {
    g_host.ProcessNameMasks.push_back(masks != nullptr ? masks : "<null>");
    EXPECT_EQ(flags, static_cast<DWORD_T>(PN_CMPNAMELIST));
    return MatchMaskList(masks, name) ? 1 : 0;
}

}  // namespace

FakeHost& Host() { return g_host; }

bool MatchMaskList(const char* masks, const char* name) {
    if (masks == nullptr || name == nullptr) return false;
    std::string mask;
    bool quoted = false;
    for (const char* p = masks;; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (*p == '\0' || (!quoted && (*p == ',' || *p == ';'))) {
            if (!mask.empty() && hostkit::MatchMask(mask.c_str(), name)) return true;
            mask.clear();
            if (*p == '\0') return false;
            continue;
        }
        mask += *p;
    }
}

char* TruncatePath(char* path, int maxLength) { return hostkit::TruncPathStr(path, maxLength); }

void ResetHost(const std::string& moduleName, const std::string& rootKey) {
    g_host = FakeHost{};
    for (int i = 0; i < static_cast<int>(sizeof kDefaultTexts / sizeof kDefaultTexts[0]); ++i) {
        g_host.Texts[i] = kDefaultTexts[i];
    }
    g_host.RootKey = rootKey;
    g_host.Editor.EditorID = 1;

    hostkit::StandInHost standIn;
    standIn.ModuleName = moduleName;
    standIn.ModuleNumber = 0x5A17;
    standIn.RootKey = g_host.RootKey.c_str();
    standIn.Menu = FakeMenu;
    standIn.Message = FakeMessage;
    standIn.Dialog = FakeDialog;
    standIn.GetMsg = FakeGetMsg;
    standIn.EditorControl = FakeEditorControl;
    standIn.CharTable = FakeCharTable;
    standIn.ViewerControl = FakeViewerControl;
    standIn.Itoa = FakeItoa;
    standIn.ProcessName = FakeProcessName;
    standIn.UnusedSlots = hostkit::FillUnusedSlots<UnusedService>;
    hostkit::FillStartupRecords(standIn, &g_host.Info, &g_host.Functions);
}

}  // namespace fakehost
