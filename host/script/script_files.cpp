// The script's commands on files: sample files, showing files, and the
// position file rewritten as another running host would.
#include <string>
#include <vector>

#include "core/console.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/outside_edits.h"
#include "core/sample_files.h"
#include "script/position_text.h"
#include "script/script_actions.h"

namespace twhost {

bool CmdMakeFile(const Args& args, std::string* error) {
    int lines;
    if (!NeedInt(args, 2, &lines, error)) return false;
    std::string path = Resolve(args.Words[1]);
    const bool lf = args.Words.size() > 3 && args.Words[3] == "lf";
    if (args.Words.size() > 3 && !lf) {
        *error = "make-file takes NAME LINES [lf]";
        return false;
    }
    if (!MakeSampleFile(path, lines, error, lf)) return false;
    Say("  wrote " + path + " (" + std::to_string(lines) + " lines)");
    return true;
}

namespace {

// The edit of "external-edit-file NAME WHAT ...", from WHAT on.
bool ParseOutsideEdit(const Args& args, OutsideEdit* edit, std::string* error) {
    const std::string what = args.Words[2];
    const std::size_t words = args.Words.size();
    using Kind = OutsideEdit::Kind;
    if (what == "insert" && words >= 5) {
        edit->What = Kind::Insert;
        if (words > 5) edit->Text = RestAfter(args.Line, 5);
        return NeedInt(args, 3, &edit->At, error) && NeedInt(args, 4, &edit->Count, error);
    }
    if (what == "delete" && words >= 5) {
        edit->What = Kind::Delete;
        return NeedInt(args, 3, &edit->At, error) && NeedInt(args, 4, &edit->Count, error);
    }
    if (what == "replace" && words >= 4) {
        edit->What = Kind::Replace;
        edit->Text = RestAfter(args.Line, 4);
        return NeedInt(args, 3, &edit->At, error);
    }
    if (what == "move" && words >= 6) {
        edit->What = Kind::Move;
        return NeedInt(args, 3, &edit->At, error) && NeedInt(args, 4, &edit->Count, error) && NeedInt(args, 5, &edit->To, error);
    }
    if (what == "truncate" && words >= 4) {
        edit->What = Kind::Truncate;
        return NeedInt(args, 3, &edit->Count, error);
    }
    if (what == "touch") {
        edit->What = Kind::Touch;
        return true;
    }
    *error = "external-edit-file NAME takes insert AT N [TEXT], delete AT N, replace AT TEXT, move AT N TO, truncate N or touch";
    return false;
}

}  // namespace

// Changes a file as another program would, while no editor of this host
// has it open (an open editor keeps the text it read).
bool CmdExternalEditFile(const Args& args, std::string* error) {
    OutsideEdit edit;
    if (!ParseOutsideEdit(args, &edit, error)) return false;
    std::string path = Resolve(args.Words[1]);
    if (!EditFileOutside(path, edit, error)) return false;
    Say("  another program " + DescribeOutsideEdit(edit) + " of " + path);
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

namespace {

bool IsItemFor(const TextLine& line, const std::string& path) {
    std::vector<TextLine> one{line};
    return line.IsItem && !FindEditorItems(one, path).empty();
}

bool RemoveEditorItem(std::vector<TextLine>& lines, const std::string& path, std::string* error) {
    std::vector<TextLine> kept;
    for (const TextLine& line : lines) {
        if (!IsItemFor(line, path)) kept.push_back(line);
    }
    if (kept.size() == lines.size()) {
        *error = "the position file has no item for " + path;
        return false;
    }
    lines = kept;
    return true;
}

// "set-item PATH LINE COL TOP LEFT OVERTYPE": replaces the path's first
// item, or adds one.
bool SetEditorItem(std::vector<TextLine>& lines, const Args& args, std::string* error) {
    int numbers[5];
    for (int i = 0; i < 5; ++i) {
        if (!NeedInt(args, static_cast<std::size_t>(3 + i), &numbers[i], error)) return false;
    }
    std::string path = Resolve(args.Words[2]);
    TextLine item;
    item.Raw = FormatEditorItem(path, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
    item.IsItem = true;
    for (TextLine& line : lines) {
        if (IsItemFor(line, path)) {
            line = item;
            return true;
        }
    }
    lines.push_back(item);
    return true;
}

// "put-item TYPE PATH [ATTRIBUTES]": an item written by hand, of any type,
// with any attributes after the path.
void PutHandWrittenItem(std::vector<TextLine>& lines, const Args& args) {
    std::string path = Resolve(args.Words[3]);
    std::string attributes = RestAfter(args.Line, 4);
    TextLine item;
    item.Raw = "<item type=\"" + args.Words[2] + "\" path=\"" + path + "\"" + (attributes.empty() ? "" : " " + attributes) + ">";
    item.IsItem = true;
    lines.push_back(item);
}

// "replace-item TYPE PATH [ATTRIBUTES]": the item of that type and path
// written whole, in place of the one there (or added).
void ReplaceItem(std::vector<TextLine>& lines, const Args& args) {
    std::string path = Resolve(args.Words[3]);
    std::vector<TextLine> kept;
    for (const TextLine& line : lines) {
        std::vector<TextLine> one{line};
        if (!line.IsItem || FindItems(one, args.Words[2], path).empty()) kept.push_back(line);
    }
    lines = kept;
    PutHandWrittenItem(lines, args);
}

bool EditLines(std::vector<TextLine>& lines, const Args& args, std::string* error) {
    const std::string& what = args.Words[1];
    if (what == "remove-item" && args.Words.size() >= 3) return RemoveEditorItem(lines, Resolve(RestAfter(args.Line, 2)), error);
    if (what == "set-item" && args.Words.size() >= 8) return SetEditorItem(lines, args, error);
    if (what == "put-item" && args.Words.size() >= 4) {
        PutHandWrittenItem(lines, args);
    } else if (what == "replace-item" && args.Words.size() >= 4) {
        ReplaceItem(lines, args);
    } else if (what == "add-line" && args.Words.size() >= 3) {
        TextLine line;
        line.Raw = RestAfter(args.Line, 2);
        lines.push_back(line);
    } else if (what == "clear") {
        lines.clear();
    } else {
        *error = "external-edit-cfg takes remove-item PATH, set-item PATH LINE COL TOP LEFT OVERTYPE, put-item TYPE PATH [ATTRIBUTES], replace-item TYPE PATH [ATTRIBUTES], add-line TEXT or clear";
        return false;
    }
    return true;
}

}  // namespace

// Rewrites the position file as another host process would: the whole file
// at once, with a later last-write time.
bool CmdExternalEdit(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    bool exists;
    ReadCfg(&lines, &exists);
    long long oldTime = exists ? LastWriteTicks(Host().CfgPath) : 0;
    if (!EditLines(lines, args, error)) return false;
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

}  // namespace twhost
