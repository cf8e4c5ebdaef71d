#include "script/script_checks.h"

#include <vector>

#include "core/console.h"
#include "core/editors.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"
#include "kit/standard_functions.h"
#include "script/position_text.h"

using namespace tarnwick;

namespace twhost {

bool CmdExpectPos(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    const int actual[5] = {editor->CurLine, editor->CurPos, editor->TopScreenLine, editor->LeftPos, editor->Overtype};
    const char* names[5] = {"line", "col", "top", "left", "overtype"};
    for (std::size_t i = 1; i < args.Words.size() && i <= 5; ++i) {
        if (args.Words[i] == "-") continue;
        int wanted;
        if (!NeedInt(args, i, &wanted, error)) return false;
        if (wanted != actual[i - 1]) {
            *error = std::string("expected ") + names[i - 1] + " " + std::to_string(wanted) + ", but " + DescribeEditor(*editor);
            return false;
        }
    }
    return true;
}

// What reading the text cost since the editor opened, against the most the
// script allows: the steps of the 1.75 host's list walk, and the lines read.
bool CmdExpectWalk(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    int maxSteps;
    int maxReads = -1;
    if (!NeedInt(args, 1, &maxSteps, error)) return false;
    if (args.Words.size() > 2 && !NeedInt(args, 2, &maxReads, error)) return false;
    const std::string spent = std::to_string(editor->WalkSteps) + " steps, " + std::to_string(editor->LinesRead) + " lines read";
    Say("  the host's list walk: " + spent);
    if (editor->WalkSteps > maxSteps || (maxReads >= 0 && editor->LinesRead > maxReads)) {
        *error = "expected at most " + std::to_string(maxSteps) + " steps" +
                 (maxReads >= 0 ? " and " + std::to_string(maxReads) + " lines read" : "") + ", but " + spent;
        return false;
    }
    return true;
}

bool CmdExpectEditors(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    if (static_cast<int>(AllEditors().size()) != wanted) {
        *error = "expected " + std::to_string(wanted) + " editors, there are " + std::to_string(AllEditors().size());
        return false;
    }
    return true;
}

bool CmdExpectCfgText(const Args& args, std::string* error) {
    bool wantIt = args.Words[0] == "expect-cfg-contains";
    std::string text = RestAfter(args.Line, 1);
    std::string content;
    ReadWholeFile(Host().CfgPath, &content);
    if (Contains(content, text) != wantIt) {
        *error = "expected " + Host().CfgPath + (wantIt ? " to contain \"" : " not to contain \"") + text + "\"";
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

bool CmdExpectCfgItem(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    std::string path = Resolve(args.Words[1]);
    std::vector<const TextItem*> items = FindEditorItems(lines, path);
    if (args.Words[0] == "expect-cfg-no-item") {
        if (!items.empty()) {
            *error = "expected no item for " + path + " in " + Host().CfgPath;
            ShowFile(Host().CfgPath);
            return false;
        }
        return true;
    }
    if (items.size() != 1) {
        *error = "expected one item for " + path + " in " + Host().CfgPath + ", found " + std::to_string(items.size());
        ShowFile(Host().CfgPath);
        return false;
    }
    const char* names[5] = {"line", "column", "top", "left", "overtype"};
    for (std::size_t i = 2; i < args.Words.size() && i < 7; ++i) {
        if (args.Words[i] == "-") continue;
        const std::string* value = items[0]->Find(names[i - 2]);
        if (value == nullptr || *value != args.Words[i]) {
            *error = "expected " + std::string(names[i - 2]) + "=\"" + args.Words[i] + "\" in the item for " + path + ", found " +
                     (value == nullptr ? std::string("none") : "\"" + *value + "\"");
            ShowFile(Host().CfgPath);
            return false;
        }
    }
    return true;
}

bool CmdExpectCfgItems(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    if (CountItems(lines) != wanted) {
        *error = "expected " + std::to_string(wanted) + " items in " + Host().CfgPath + ", found " + std::to_string(CountItems(lines));
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

bool CmdExpectFile(const Args& args, std::string* error) {
    bool wantIt = args.Words[0] == "expect-file-exists";
    std::string path = Resolve(RestAfter(args.Line, 1));
    if (FileExists(path) != wantIt) {
        *error = "expected " + path + (wantIt ? " to exist" : " not to exist");
        return false;
    }
    return true;
}

bool CmdExpectReturn(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    if (!Host().HaveLastResult || Host().LastResult != wanted) {
        *error = "expected the last call to return " + std::to_string(wanted) + ", it returned " +
                 (Host().HaveLastResult ? std::to_string(Host().LastResult) : std::string("nothing yet"));
        return false;
    }
    return true;
}

bool CmdExpectRootKey(const Args& args, std::string* error) {
    const std::string wanted = RestAfter(args.Line, 1);
    const std::string& actual = Host().RootKey;
    std::size_t star = wanted.find('*');
    bool matches = star == std::string::npos
                       ? actual == wanted
                       : actual.size() >= wanted.size() - 1 && actual.compare(0, star, wanted, 0, star) == 0 &&
                             actual.compare(actual.size() - (wanted.size() - star - 1), std::string::npos, wanted, star + 1) == 0;
    if (!matches) {
        *error = "expected the root key " + wanted + ", the plug-in was given " + actual;
        return false;
    }
    return true;
}

bool CmdExpectPluginFlags(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if (static_cast<int>(info.Flags) != wanted) {
        *error = "expected plug-in flags " + std::to_string(wanted) + ", GetPluginInfo gave " + std::to_string(info.Flags) + " (" +
                 FlagNames(info.Flags) + ")";
        return false;
    }
    return true;
}

// Checks of the host's own standard functions.
bool CmdHostCheckMask(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 2, &wanted, error)) return false;
    std::string masks = RestAfter(args.Line, 3);
    bool match = hostkit::MatchMaskList(masks.c_str(), args.Words[1].c_str(), false);
    if (match != (wanted != 0)) {
        *error = "expected the masks \"" + masks + "\" to " + (wanted != 0 ? "match " : "not match ") + args.Words[1];
        return false;
    }
    return true;
}

bool CmdHostCheckTrunc(const Args& args, std::string* error) {
    int length;
    if (!NeedInt(args, 1, &length, error) || args.Words.size() < 4) {
        *error = "host-check-trunc N \"PATH\" \"RESULT\"";
        return false;
    }
    std::vector<char> buffer(args.Words[2].begin(), args.Words[2].end());
    buffer.push_back('\0');
    hostkit::TruncatePath(buffer.data(), length, Plays3x());
    if (args.Words[3] != buffer.data()) {
        *error = "expected TruncPathStr to give \"" + args.Words[3] + "\", it gave \"" + std::string(buffer.data()) + "\"";
        return false;
    }
    return true;
}

}  // namespace twhost
