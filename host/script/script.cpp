#include "script/script.h"

#include <functional>
#include <iostream>
#include <vector>

#include "core/console.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"
#include "script/answers.h"
#include "script/script_actions.h"
#include "script/script_checks.h"
#include "script/script_places.h"
#include "script/script_state.h"
#include "script/script_support.h"

namespace twhost {
namespace {

using Handler = std::function<bool(const Args&, std::string*)>;

struct Command {
    const char* Name;
    int MinArgs;
    bool CallsPlugin;  // answers left over after it are an error
    const char* Usage;
    Handler Run;
};


bool CmdHelp(const Args&, std::string*);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"open", 1, true, "open PATH                open a file in a new editor (names are taken in the work folder)", CmdOpen},
        {"goto", 1, true, "goto LINE [COL]          move the cursor (all numbers 0-based, as the host reports them)", CmdGoto},
        {"top", 1, true, "top LINE                 scroll so that LINE is the top screen line", CmdTop},
        {"left", 1, true, "left N                   scroll sideways to the left position N", CmdLeft},
        {"overtype", 1, true, "overtype on|off          switch the overtype mode", CmdOvertype},
        {"type", 1, true, "type TEXT                type at the cursor (the file now has unsaved changes)", CmdType},
        {"save", 0, true, "save                     save the current editor's file", CmdSave},
        {"close", 0, true, "close [ID]               close an editor (unsaved changes are discarded)", CmdClose},
        {"switch", 1, true, "switch ID                make editor ID the current one", CmdSwitch},
        {"editors", 0, false, "editors                  list the open editors", CmdEditors},
        {"where", 0, false, "where                    show the current editor's position", [](const Args&, std::string* e) { return ReportEditor(e); }},
        {"menu", 0, true, "menu                     the plug-in's menu from the editor", CmdMenu},
        {"panels-menu", 0, true, "panels-menu              the plug-in's menu from the panels", CmdPanelsMenu},
        {"configure", 0, true, "configure                the plug-in's configuration", CmdConfigure},
        {"info", 0, true, "info                     what GetPluginInfo reports", CmdInfo},
        {"set-path", 2, false, "set-path N NAME [quoted] answer: put NAME's full path into dialog field N", CmdSetPath},
        {"make-file", 2, false, "make-file NAME LINES [lf]  write a sample text file (lines end in LF alone with lf)", CmdMakeFile},
        {"delete-file", 1, false, "delete-file NAME         delete a file", CmdDeleteFile},
        {"show", 1, false, "show FILE                print a file", CmdShow},
        {"show-cfg", 0, false, "show-cfg                 print the position file", CmdShowCfg},
        {"cfg-path", 1, false, "cfg-path NAME|default    the position file the cfg commands look at", CmdCfgPath},
        {"external-edit-cfg", 1, false, "external-edit-cfg remove-item PATH | set-item PATH L C T LEFT O | put-item TYPE PATH [ATTRS] | replace-item TYPE PATH [ATTRS] | add-line TEXT | clear", CmdExternalEdit},
        {"external-edit-file", 2, false, "external-edit-file NAME insert AT N [TEXT] | delete AT N | replace AT TEXT | move AT N TO | truncate N | touch   another program changes a file", CmdExternalEditFile},
        {"language", 1, false, "language Eng|Rus         switch the language file", CmdLanguage},
        {"restart", 0, true, "restart                  quit and load the module again", CmdRestart},
        {"quit", 0, true, "quit                     close the editors, call ExitFAR, unload the module", CmdQuit},
        {"wait", 1, false, "wait MS                  pause", CmdWait},
        {"trace", 1, false, "trace on|off             log every call between host and plug-in", CmdTrace},
        {"echo", 0, false, "echo TEXT                print TEXT", CmdEcho},
        {"expect-pos", 2, false, "expect-pos LINE COL [TOP LEFT [OVERTYPE]]   ('-' for any)", CmdExpectPos},
        {"expect-walk", 1, false, "expect-walk MAX_STEPS [MAX_READS]   the current editor's list walk since it opened (ECTL_GETSTRING, ECTL_SETPOSITION)", CmdExpectWalk},
        {"expect-editors", 1, false, "expect-editors N", CmdExpectEditors},
        {"expect-cfg-contains", 1, false, "expect-cfg-contains TEXT", CmdExpectCfgText},
        {"expect-cfg-lacks", 1, false, "expect-cfg-lacks TEXT", CmdExpectCfgText},
        {"expect-cfg-item", 1, false, "expect-cfg-item PATH [LINE COL TOP LEFT OVERTYPE]   ('-' for any)", CmdExpectCfgItem},
        {"expect-cfg-no-item", 1, false, "expect-cfg-no-item PATH", CmdExpectCfgItem},
        {"expect-cfg-items", 1, false, "expect-cfg-items N", CmdExpectCfgItems},
        {"expect-file-exists", 1, false, "expect-file-exists NAME", CmdExpectFile},
        {"expect-no-file", 1, false, "expect-no-file NAME", CmdExpectFile},
        {"expect-return", 1, false, "expect-return N          result of the last export call", CmdExpectReturn},
        {"expect-root-key", 1, false, "expect-root-key KEY      the registry root key the plug-in was given ('*': any run)", CmdExpectRootKey},
        {"expect-plugin-flags", 1, false, "expect-plugin-flags N", CmdExpectPluginFlags},
        {"expect-menu-count", 1, false, "expect-menu-count N      (the menu shown last, or next while answers are queued)", CmdExpectMenuCount},
        {"expect-lines", 1, false, "expect-lines N           the same as expect-menu-count", CmdExpectMenuCount},
        {"expect-menu-item", 2, false, "expect-menu-item N TEXT|selected|unselected|disabled|enabled", CmdExpectMenuItem},
        {"expect-menu-marked", 1, false, "expect-menu-marked N|none", CmdExpectMenuMarked},
        {"expect-menu-title", 0, false, "expect-menu-title TEXT", CmdExpectMenuText},
        {"expect-menu-bottom", 0, false, "expect-menu-bottom TEXT", CmdExpectMenuText},
        {"expect-message", 1, false, "expect-message TEXT", CmdExpectMessage},
        {"expect-message-kind", 1, false, "expect-message-kind warning|plain [OK|Yes,No]", CmdExpectMessageKind},
        {"expect-dialog-check", 2, false, "expect-dialog-check N on|off", CmdExpectDialogCheck},
        {"expect-dialog-field", 1, false, "expect-dialog-field N TEXT", CmdExpectDialogField},
        {"expect-dialog-path", 2, false, "expect-dialog-path N NAME", CmdExpectDialogField},
        {"expect-shown", 1, false, "expect-shown menu|message|dialog ...|nothing   (the UI of the last command)", CmdExpectShown},
        {"host-check-mask", 3, false, "host-check-mask NAME 0|1 MASKS   the 1.75 host's mask lists (in both modes)", CmdHostCheckMask},
        {"host-check-trunc", 3, false, "host-check-trunc N \"PATH\" \"RESULT\"   TruncPathStr as the host played gives it", CmdHostCheckTrunc},
        {"view", 1, true, "view PATH                open a file in a new viewer (F3 from the panels)", CmdView},
        {"viewer-key", 1, true, "viewer-key KEY [N]       up down pgup pgdn home end left right f4 f2 shift-f2 f8, N times", CmdViewerKey},
        {"viewer-next", 0, true, "viewer-next              Gray+: the panel's next file in the same viewer", CmdViewerNext},
        {"viewer-prev", 0, true, "viewer-prev              Gray-: the panel's previous file in the same viewer", CmdViewerNext},
        {"close-viewer", 0, true, "close-viewer [ID]        close a viewer", CmdCloseViewer},
        {"switch-viewer", 1, true, "switch-viewer ID         give viewer ID the focus", CmdSwitchViewer},
        {"viewer-table", 1, false, "viewer-table oem|ansi|K|NAME   the table the viewer shows (as the host chose it; 3x: a code page, by number or name)", CmdViewerTable},
        {"viewer-menu", 0, true, "viewer-menu              the plug-in's menu from the viewer", CmdViewerMenu},
        {"viewers", 0, false, "viewers                  list the open viewers", CmdViewers},
        {"bookmark", 2, true, "bookmark set|set-shift|go N   RightCtrl+N, Ctrl+Shift+N, Ctrl+N in the editor", CmdBookmark},
        {"table", 1, true, "table oem|ansi|K|NAME|f8 the editor's table (Shift+F8 picks one, F8 toggles OEM/ANSI; 3x: a code page such as 20866 or KOI8-R)", CmdTable},
        {"host-bookmarks", 2, false, "host-bookmarks PATH N:LINE,CURSOR,SCREEN,LEFT ...|none   the host's own memory, set at open", CmdHostBookmarks},
        {"host-table", 2, false, "host-table PATH oem|ansi|K|NAME   the table the host's own memory chooses at open (3x: a code page)", CmdHostTable},
        {"host-save-position", 1, false, "host-save-position on|off the host's \"save file position\" setting for new editors", CmdHostSavePosition},
        {"host-tables", 1, false, "host-tables remove NAME | order NAME... | list   the host's code tables; 3x: oem PAGE | ansi PAGE | favourites PAGE... | remove PAGE | order PAGE... | list, the OEM and ANSI code pages and the favourites (TableNum 2, 3, ...)", CmdHostTables},
        {"expect-viewer", 1, false, "expect-viewer OFFSET [LEFT HEX WRAP WORDWRAP TABLE]   ('-' for any; on|off; oem|ansi|K NAME)", CmdExpectViewer},
        {"expect-viewers", 1, false, "expect-viewers N", CmdExpectViewers},
        {"expect-bookmarks", 1, false, "expect-bookmarks N:LINE,CURSOR,SCREEN,LEFT ...|none   the current editor's set slots", CmdExpectBookmarks},
        {"expect-table", 1, false, "expect-table oem|ansi|K NAME   the current editor's table (3x: oem|ansi|PAGE NAME, e.g. 20866 KOI8-R)", CmdExpectTable},
        {"expect-save-position", 1, false, "expect-save-position on|off   the editor's EOPT_SAVEFILEPOSITION option", CmdExpectSavePosition},
        {"expect-cfg-viewer-item", 1, false, "expect-cfg-viewer-item PATH [OFFSET LEFT HEX WRAP TABLE]   ('-' for any)", CmdExpectCfgViewerItem},
        {"expect-cfg-no-viewer-item", 1, false, "expect-cfg-no-viewer-item PATH", CmdExpectCfgViewerItem},
        {"expect-cfg-bookmarks", 2, false, "expect-cfg-bookmarks PATH N:LINE,CURSOR,SCREEN,LEFT ...|none", CmdExpectCfgBookmarks},
        {"expect-cfg-table", 2, false, "expect-cfg-table PATH oem|ansi|unicode|K NAME|none   the editor item's table", CmdExpectCfgTable},
        {"help", 0, false, "help                     this list", CmdHelp},
    };
    return commands;
}

bool CmdHelp(const Args&, std::string*) {
    Say("Commands:");
    for (const Command& command : Commands()) Say("  " + std::string(command.Usage));
    Say("Answers for the next menu, message or dialog (queued in order):");
    Say("  pick N | key Enter | key Esc | key Del [N] | key LETTER | yes | no | ok | cancel");
    Say("  check N on|off | set-field N TEXT | press N   (dialog items by their index)");
    Say("Checks of the UI look at the UI shown last; given while answers are queued, or after");
    Say("'next', they wait for the next UI shown and check it before its answer is taken.");
    Say("Lines starting with '#' are comments; '## text' is printed.");
    Say("A line starting with [1.75] or [3x] runs only when the host plays that host (--host).");
    return true;
}

bool Execute(ScriptState& script, const std::string& line, const std::string& where, std::string* error) {
    Args args;
    args.Line = line;
    args.Where = where;
    args.Script = &script;
    args.Words = SplitWords(line);
    if (args.Words.empty()) return true;
    if (args.Words[0] == "next") {
        // "next expect-..." queues a check of the UI for the next UI shown.
        args.Line = RestAfter(line, 1);
        args.Words.erase(args.Words.begin());
        args.NextUi = true;
        auto isUiCheck = [](const std::string& name) {
            return name.compare(0, 12, "expect-menu-") == 0 || name == "expect-lines" ||
                   name.compare(0, 14, "expect-message") == 0 || name.compare(0, 14, "expect-dialog-") == 0;
        };
        if (args.Words.empty() || !isUiCheck(args.Words[0])) {
            *error = "next takes a check of the UI (expect-menu-..., expect-message..., expect-dialog-...)";
            return false;
        }
    }
    Answer answer;
    std::string answerError;
    if (ParseAnswer(line, &answer, &answerError)) {
        if (!answerError.empty()) {
            *error = answerError;
            return false;
        }
        answer.Where = where;
        script.Answers.push_back(answer);
        return true;
    }
    for (const Command& command : Commands()) {
        if (args.Words[0] != command.Name) continue;
        if (static_cast<int>(args.Words.size()) - 1 < command.MinArgs) {
            *error = "usage: " + std::string(command.Usage);
            return false;
        }
        if (!command.Run(args, error)) return false;
        if (command.CallsPlugin) {
            std::deque<Answer>& queue = script.Answers;
            if (!queue.empty()) {
                std::string left;
                for (const Answer& unused : queue) left += " [" + unused.Where + ": " + DescribeAnswer(unused) + "]";
                queue.clear();
                *error = "answers were queued that no UI asked for:" + left;
                return false;
            }
        }
        return true;
    }
    *error = "unknown command '" + args.Words[0] + "' (try help)";
    return false;
}

// A line may begin with "[1.75]" or "[3x]": the rest runs only when the
// host plays that host. Returns false for another bracketed word; otherwise
// `line` loses the prefix and `skip` says whether to leave the line out.
bool TakeHostPrefix(std::string* line, bool* skip, std::string* error) {
    *skip = false;
    if ((*line)[0] != '[') return true;
    std::size_t close = line->find(']');
    std::string host = close == std::string::npos ? std::string() : line->substr(1, close - 1);
    if (host != "1.75" && host != "3x") {
        *error = "a line may begin with [1.75] or [3x] only";
        return false;
    }
    *skip = (host == "3x") != Plays3x();
    std::size_t start = line->find_first_not_of(" \t", close + 1);
    *line = start == std::string::npos ? std::string() : line->substr(start);
    return true;
}

bool PromptAnswer(const std::string& what, Answer* answer) {
    while (true) {
        std::cout << "  answer for the " << what << " (pick N, key Enter|Esc|Del [N], yes, no, ok, cancel, check N on|off, set-field N TEXT, press N): "
                  << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int number;
        if (ParseInt(line, &number)) line = "pick " + line;
        std::string error;
        if (ParseAnswer(line, answer, &error) && error.empty()) {
            answer->Where = "console";
            return true;
        }
        std::cout << "  " << (error.empty() ? "not an answer" : error) << "\n";
    }
}

}  // namespace

int RunCommands(ScriptState& script, std::istream& in, const std::string& name, bool interactive) {
    if (interactive) {
        script.Prompt = PromptAnswer;
        Say("Type commands; 'help' lists them, 'quit' ends.");
    }
    std::string line;
    int number = 0;
    while (true) {
        if (interactive) std::cout << "tarnwick> " << std::flush;
        if (!std::getline(in, line)) break;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        line = line.substr(start);
        std::string where = name + ":" + std::to_string(number);
        std::string error;
        bool skip;
        if (!TakeHostPrefix(&line, &skip, &error)) {
            Complain("FAILED " + where + ": " + error);
            if (!interactive) return kExitScriptFailed;
            continue;
        }
        if (skip || line.empty()) continue;
        if (line.compare(0, 2, "##") == 0) {
            Say(line.substr(line.size() > 2 && line[2] == ' ' ? 3 : 2));
            continue;
        }
        if (line[0] == '#') continue;
        if (!interactive) Say("> " + line);
        if (!Execute(script, line, where, &error)) {
            if (!interactive) {
                Complain("FAILED " + where + ": " + error);
                return kExitScriptFailed;
            }
            Say("  error: " + error);
            script.Answers.clear();
        }
        if (interactive && Host().Quit && !ModuleLoaded() && (line == "quit")) break;
    }
    if (!script.Answers.empty()) {
        Complain("FAILED " + name + ": the script ends with answers that no UI asked for");
        return kExitScriptFailed;
    }
    return 0;
}

}  // namespace twhost
