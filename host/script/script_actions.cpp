#include "script_actions.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "answers.h"
#include "console.h"
#include "editors.h"
#include "files.h"
#include "host_state.h"
#include "host_ui.h"
#include "plugin_calls.h"
#include "position_text.h"
#include "session.h"
#include "standard_functions.h"

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
// ---- Files ---------------------------------------------------------------

bool CmdMakeFile(const Args& args, std::string* error) {
    int lines;
    if (!NeedInt(args, 2, &lines, error)) return false;
    if (lines < 1 || lines > 1000000) {
        *error = "a sample file has 1 to 1000000 lines";
        return false;
    }
    std::string path = Resolve(args.Words[1]);
    MakeFolders(FolderOf(path));
    std::string content;
    const std::string words = " The quick brown fox jumps over the lazy dog.";
    for (int i = 1; i <= lines; ++i) {
        std::string line = "Line " + std::to_string(i) + " of " + FileNameOf(path) + ":" + words;
        if (i % 10 == 0) {
            for (int k = 0; k < 3; ++k) line += words;  // some long lines, to scroll sideways
        }
        content += line;
        if (i < lines) content += NativeLineEnd();
    }
    if (!WriteWholeFile(path, content)) {
        *error = "cannot write " + path;
        return false;
    }
    Say("  wrote " + path + " (" + std::to_string(lines) + " lines)");
    return true;
}

bool CmdDeleteFile(const Args& args, std::string* error) {
    std::string path = Resolve(RestAfter(args.Line, 1));
    if (!DeleteOneFile(path)) {
        *error = "cannot delete " + path;
        return false;
    }
    Say("  deleted " + path);
    return true;
}

bool CmdShow(const Args& args, std::string*) {
    ShowFile(Resolve(RestAfter(args.Line, 1)));
    return true;
}

bool CmdShowCfg(const Args&, std::string*) {
    ShowFile(Host().CfgPath);
    return true;
}

bool CmdCfgPath(const Args& args, std::string*) {
    std::string name = RestAfter(args.Line, 1);
    Host().CfgPath = name == "default" ? Host().DefaultCfgPath : Resolve(name);
    Say("  the cfg commands now look at " + Host().CfgPath);
    return true;
}

// Rewrites the position file as another host process would: the whole file
// at once, with a later last-write time.
bool CmdExternalEdit(const Args& args, std::string* error) {
    const std::string& what = args.Words[1];
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    long long oldTime = exists ? LastWriteTicks(Host().CfgPath) : 0;
    if (what == "remove-item" && args.Words.size() >= 3) {
        std::string path = Resolve(RestAfter(args.Line, 2));
        std::vector<TextLine> kept;
        int removed = 0;
        for (const TextLine& line : lines) {
            std::vector<TextLine> one{line};
            if (line.IsItem && !FindEditorItems(one, path).empty()) {
                ++removed;
            } else {
                kept.push_back(line);
            }
        }
        if (removed == 0) {
            *error = "the position file has no item for " + path;
            return false;
        }
        lines = kept;
    } else if (what == "set-item" && args.Words.size() >= 8) {
        int numbers[5];
        for (int i = 0; i < 5; ++i) {
            if (!NeedInt(args, static_cast<std::size_t>(3 + i), &numbers[i], error)) return false;
        }
        std::string path = Resolve(args.Words[2]);
        TextLine item;
        item.Raw = FormatEditorItem(path, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
        item.IsItem = true;
        bool replaced = false;
        for (TextLine& line : lines) {
            std::vector<TextLine> one{line};
            if (line.IsItem && !FindEditorItems(one, path).empty()) {
                line = item;
                replaced = true;
                break;
            }
        }
        if (!replaced) lines.push_back(item);
    } else if (what == "put-item" && args.Words.size() >= 4) {
        // An item written by hand: any type, any attributes after the path.
        std::string path = Resolve(args.Words[3]);
        std::string attributes = RestAfter(args.Line, 4);
        TextLine item;
        item.Raw = "<item type=\"" + args.Words[2] + "\" path=\"" + path + "\"" + (attributes.empty() ? "" : " " + attributes) + ">";
        item.IsItem = true;
        lines.push_back(item);
    } else if (what == "add-line" && args.Words.size() >= 3) {
        TextLine line;
        line.Raw = RestAfter(args.Line, 2);
        lines.push_back(line);
    } else if (what == "clear") {
        lines.clear();
    } else {
        *error = "external-edit-cfg takes remove-item PATH, set-item PATH LINE COL TOP LEFT OVERTYPE, put-item TYPE PATH [ATTRIBUTES], add-line TEXT or clear";
        return false;
    }
    // Lines without text (the end of the file) are not written again.
    std::vector<TextLine> written;
    for (const TextLine& line : lines) {
        if (!line.Raw.empty()) written.push_back(line);
    }
    if (!WriteWholeFile(Host().CfgPath, JoinPositionText(written)) || !AgeLastWriteTime(Host().CfgPath, oldTime)) {
        *error = "cannot rewrite " + Host().CfgPath;
        return false;
    }
    Say("  another process rewrote " + Host().CfgPath);
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
    AnswerQueue().push_back(answer);
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
