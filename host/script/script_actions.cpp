#include "script/script_actions.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "core/console.h"
#include "core/editors.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"
#include "core/shown_ui.h"
#include "script/answers.h"
#include "script/script_state.h"
#include "session/session.h"

using namespace tarnwick;

namespace twhost {

// ---- Commands that call the plug-in --------------------------------------

namespace {

std::string StringList(const char* const* strings, int count) {
    if (count <= 0) return "none";
    if (strings == nullptr) return "(null list)";
    std::string text;
    for (int i = 0; i < count && i < 64; ++i) {
        text += (i > 0 ? ", " : "") + (strings[i] != nullptr ? "\"" + ForConsole(strings[i]) + "\"" : std::string("(null)"));
    }
    return text;
}

}  // namespace

bool CmdInfo(const Args&, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    Say("  GetPluginInfo: StructSize " + std::to_string(info.StructSize) + ", Flags " + Hex(info.Flags) + " (" +
        FlagNames(info.Flags) + ")");
    Say("  plug-in menu strings (" + std::to_string(info.PluginMenuStringsNumber) + "): " +
        StringList(info.PluginMenuStrings, info.PluginMenuStringsNumber));
    Say("  configuration strings (" + std::to_string(info.PluginConfigStringsNumber) + "): " +
        StringList(info.PluginConfigStrings, info.PluginConfigStringsNumber));
    Say("  disk menu strings (" + std::to_string(info.DiskMenuStringsNumber) + "); command prefix " +
        (info.CommandPrefix != nullptr ? "\"" + ForConsole(info.CommandPrefix) + "\"" : std::string("none")));
    Host().LastResult = static_cast<long long>(info.Flags);
    Host().HaveLastResult = true;
    return true;
}

bool CmdMenu(const Args&, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if ((info.Flags & PF_EDITOR) == 0 || info.PluginMenuStringsNumber < 1) {
        Say("  Tarnwick is not in the editor's plug-in menu (flags " + Hex(info.Flags) + ")");
        return true;
    }
    ClearShownSequence();
    INT_PTR_T result;
    if (!CallOpenPlugin(OPEN_EDITOR, &result, error)) return false;
    Say("  OpenPlugin returned " + std::to_string(static_cast<long long>(result)));
    return ReportEditor(error);
}

bool CmdPanelsMenu(const Args&, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if ((info.Flags & PF_DISABLEPANELS) != 0 || info.PluginMenuStringsNumber < 1) {
        Say("  Tarnwick is not in the panels' plug-in menu (flags " + Hex(info.Flags) + ")");
        return true;
    }
    ClearShownSequence();
    SetPanelsActive(true);
    INT_PTR_T result;
    bool called = CallOpenPlugin(OPEN_PLUGINSMENU, &result, error);
    SetPanelsActive(false);
    if (!called) return false;
    Say("  OpenPlugin returned " + std::to_string(static_cast<long long>(result)));
    return true;
}

bool CmdConfigure(const Args&, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if (info.PluginConfigStringsNumber < 1) {
        Say("  Tarnwick is not in the plug-in configuration menu");
        return true;
    }
    ClearShownSequence();
    SetPanelsActive(true);
    int result;
    bool called = CallConfigure(0, &result, error);
    SetPanelsActive(false);
    if (!called) return false;
    Say("  Configure returned " + std::to_string(result));
    return true;
}

bool CmdOpen(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!OpenEditor(Resolve(RestAfter(args.Line, 1)), &editor, error)) return false;
    return ReportEditor(error);
}

bool CmdGoto(const Args& args, std::string* error) {
    int line;
    int column = 0;
    if (!NeedInt(args, 1, &line, error)) return false;
    bool keepColumn = args.Words.size() < 3;
    if (!keepColumn && !NeedInt(args, 2, &column, error)) return false;
    return GotoPosition(line, column, keepColumn, error) && ReportEditor(error);
}

bool CmdTop(const Args& args, std::string* error) {
    int top;
    return NeedInt(args, 1, &top, error) && ScrollTo(top, error) && ReportEditor(error);
}

bool CmdLeft(const Args& args, std::string* error) {
    int left;
    return NeedInt(args, 1, &left, error) && ScrollLeftTo(left, error) && ReportEditor(error);
}

bool CmdOvertype(const Args& args, std::string* error) {
    bool on;
    return NeedOnOff(args.Words[1], &on, error) && SetOvertype(on, error) && ReportEditor(error);
}

bool CmdType(const Args& args, std::string* error) {
    return TypeText(RestAfter(args.Line, 1), error) && ReportEditor(error);
}

bool CmdSave(const Args&, std::string* error) { return SaveEditor(error) && ReportEditor(error); }

bool CmdClose(const Args& args, std::string* error) {
    int id;
    if (args.Words.size() > 1) {
        if (!NeedInt(args, 1, &id, error)) return false;
    } else {
        SimEditor* editor;
        if (!NeedEditor(&editor, error)) return false;
        id = editor->Id;
    }
    if (!CloseEditor(id, error)) return false;
    Say("  editor " + std::to_string(id) + " closed");
    return ReportEditor(error);
}

bool CmdSwitch(const Args& args, std::string* error) {
    int id;
    return NeedInt(args, 1, &id, error) && SwitchEditor(id, error) && ReportEditor(error);
}

bool CmdEditors(const Args&, std::string*) {
    if (AllEditors().empty()) Say("  no editors");
    for (const auto& editor : AllEditors()) {
        Say(std::string(editor.get() == CurrentEditor() ? "  * " : "    ") + DescribeEditor(*editor));
    }
    return true;
}

bool CmdRestart(const Args&, std::string* error) {
    if (ModuleLoaded() && !StopModule(error)) return false;
    Say("  module unloaded; loading it again");
    return StartModule(error);
}

bool CmdQuit(const Args&, std::string* error) {
    if (!ModuleLoaded()) {
        *error = "the module is not loaded";
        return false;
    }
    if (!StopModule(error)) return false;
    Say("  ExitFAR called, module unloaded");
    return true;
}
// ---- Everything else -----------------------------------------------------

bool CmdSetPath(const Args& args, std::string* error) {
    Answer answer;
    answer.Kind = AnswerKind::SetField;
    answer.Where = args.Where;
    if (!NeedInt(args, 1, &answer.Number, error)) return false;
    answer.Text = Resolve(args.Words[2]);
    if (args.Words.size() > 3) {
        if (args.Words[3] != "quoted") {
            *error = "set-path N NAME [quoted]";
            return false;
        }
        answer.Text = "\"" + answer.Text + "\"";
    }
    args.Script->Answers.push_back(answer);
    return true;
}

bool CmdLanguage(const Args& args, std::string* error) {
    if (!SelectLanguage(args.Words[1], error)) return false;
    Say("  language file Tarnwick" + args.Words[1] + ".lng");
    return true;
}

bool CmdWait(const Args& args, std::string* error) {
    int milliseconds;
    if (!NeedInt(args, 1, &milliseconds, error)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(milliseconds, 0)));
    return true;
}

bool CmdTrace(const Args& args, std::string* error) { return NeedOnOff(args.Words[1], &Host().Options.Trace, error); }

bool CmdEcho(const Args& args, std::string*) {
    Say(RestAfter(args.Line, 1));
    return true;
}

}  // namespace twhost
