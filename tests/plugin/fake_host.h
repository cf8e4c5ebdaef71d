// A small scripted host for the plug-in's tests: the PluginStartupInfo and
// FarStandardFunctions tables the plug-in takes in SetStartupInfo, filled by
// the stand-in host kit (host/kit/stand_in_host.h) with the services below.
// Menus, messages and dialogs answer from queues and record what was shown;
// the editor services work on one simulated current editor; the standard
// functions are the real host's, with ProcessName recording its masks.
// Every service the plug-in must not use fails the running test.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kit/one_editor.h"
#include "kit/one_viewer.h"
#include "plugin/host_abi.h"

namespace fakehost {

using tarnwick::DWORD_T;

struct MenuShown {
    int X, Y, MaxHeight;
    DWORD_T Flags;
    std::string Title;
    bool HasBottom;
    std::string Bottom;
    bool HasHelp;
    std::vector<int> BreakKeys;  // up to and without the closing 0
    bool HasBreakCode;
    std::vector<std::string> Texts;
    std::vector<DWORD_T> ItemFlags;
};

struct MenuAnswer {
    MenuAnswer(int result, int breakCode, std::function<void()> then = nullptr)
        : Result(result), BreakCode(breakCode), Then(std::move(then)) {}
    int Result;
    int BreakCode;               // written only when the caller passed a break code
    std::function<void()> Then;  // runs while the menu is shown, before it answers
};

struct MessageShown {
    DWORD_T Flags;
    bool HasHelp;
    std::vector<std::string> Lines;
    int ButtonsNumber;
};

struct DialogShown {
    int X1, Y1, X2, Y2;
    bool HasHelp;
    std::vector<tarnwick::FarDialogItem> Items;  // as handed to the host
};

// Runs on the dialog's records (the user's edits) and returns the index of
// the item that closes it.
using DialogScript = std::function<int(tarnwick::FarDialogItem* items, int count)>;

// The current editor: what ECTL_GETINFO reports and ECTL_SETPOSITION moves.
using SimulatedEditor = hostkit::OneEditor;

struct FakeHost {
    tarnwick::PluginStartupInfo Info;
    tarnwick::FarStandardFunctions Functions;
    std::string RootKey;

    std::map<int, std::string> Texts;  // GetMsg answers null for a missing number
    std::vector<tarnwick::INT_PTR_T> ModuleNumbersSeen;

    std::deque<MenuAnswer> MenuAnswers;
    std::vector<MenuShown> Menus;
    std::deque<int> MessageAnswers;  // an empty queue answers 0 to OK boxes
    std::vector<MessageShown> Messages;
    std::deque<DialogScript> DialogAnswers;
    std::vector<DialogShown> Dialogs;

    // Answers that decide from what is shown, for every menu, message or
    // dialog while they are set (the queues above are then not used): for
    // scenarios whose path through the plug-in depends on what failed.
    std::function<int(const MenuShown& shown, int* breakCode)> MenuScript;
    std::function<int(const MessageShown& shown)> MessageScript;
    DialogScript DialogScriptAlways;

    SimulatedEditor Editor;
    int GetInfoCalls;
    std::vector<tarnwick::EditorSetPosition> SetPositions;
    std::vector<int> EditorCommands;           // every EditorControl command, in order
    hostkit::CodeTables Tables;                // the host's code tables (CharTable)
    hostkit::OneViewer Viewer;                 // the current viewer (ViewerID 0: none)
    std::vector<int> ViewerCommands;           // every ViewerControl command, in order
    bool Closing = false;                      // the host's exit: editor and viewer calls answer 0
    // Runs after every editor command the host performed (a redraw the real
    // host may send meanwhile, say).
    std::function<void(int command)> AfterEditorCommand;
    // Decides before every editor command whether it fails: true answers 0
    // without doing it (a host that refuses the call).
    std::function<bool(int command)> FailEditorCommand;
    std::vector<std::string> ProcessNameMasks;
};

// The one host of the running test.
FakeHost& Host();

// Fresh tables and queues, the default message texts, and an editor with
// id 1 on no file. The record's RootKey points at Host().RootKey.
void ResetHost(const std::string& moduleName, const std::string& rootKey);

// The fake's ProcessName rule: the list splits at commas and semicolons
// outside double quotes, each mask matched as the real host matches one.
bool MatchMaskList(const char* masks, const char* name);
// The real host's TruncPathStr, as the plug-in gets it: `path` shortened in
// place to `maxLength` characters and returned.
char* TruncatePath(char* path, int maxLength);

}  // namespace fakehost
