#include "core/outside_edits.h"

#include <vector>

#include "core/files.h"

namespace twhost {
namespace {

struct FileLines {
    std::vector<std::string> Lines;
    std::string LineEnd = "\n";
    bool EndsWithLineEnd = false;
};

FileLines SplitFile(const std::string& content) {
    FileLines file;
    file.LineEnd = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    file.EndsWithLineEnd = !content.empty() && content.back() == '\n';
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        file.Lines.push_back(line);
        start = end + 1;
    }
    return file;
}

std::string JoinFile(const FileLines& file) {
    std::string content;
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        content += file.Lines[i];
        if (i + 1 < file.Lines.size() || file.EndsWithLineEnd) content += file.LineEnd;
    }
    return content;
}

bool InRange(int value, int low, int high, const char* what, std::string* error) {
    if (value >= low && value <= high) return true;
    *error = std::string(what) + " " + std::to_string(value) + " is outside 0.." + std::to_string(high) + " of the file";
    return false;
}

using Lines = std::vector<std::string>;
long Offset(int n) { return static_cast<long>(n); }

bool Apply(const OutsideEdit& edit, Lines& lines, std::string* error) {
    const int total = static_cast<int>(lines.size());
    switch (edit.What) {
    case OutsideEdit::Kind::Insert: {
        if (!InRange(edit.At, 0, total, "line", error) || !InRange(edit.Count, 0, 1000000, "count", error)) return false;
        Lines added;
        for (int k = 1; k <= edit.Count; ++k) {
            added.push_back(edit.Text.empty() ? "Inserted by another program, line " + std::to_string(k) + " of " +
                                                    std::to_string(edit.Count) + ", before line " + std::to_string(edit.At)
                                              : edit.Text);
        }
        lines.insert(lines.begin() + Offset(edit.At), added.begin(), added.end());
        return true;
    }
    case OutsideEdit::Kind::Delete:
        if (!InRange(edit.At, 0, total, "line", error) || !InRange(edit.Count, 0, total - edit.At, "count", error)) return false;
        lines.erase(lines.begin() + Offset(edit.At), lines.begin() + Offset(edit.At + edit.Count));
        return true;
    case OutsideEdit::Kind::Replace:
        if (!InRange(edit.At, 0, total - 1, "line", error)) return false;
        lines[static_cast<std::size_t>(edit.At)] = edit.Text;
        return true;
    case OutsideEdit::Kind::Move: {
        if (!InRange(edit.At, 0, total, "line", error) || !InRange(edit.Count, 0, total - edit.At, "count", error) ||
            !InRange(edit.To, 0, total - edit.Count, "target line", error)) {
            return false;
        }
        Lines block(lines.begin() + Offset(edit.At), lines.begin() + Offset(edit.At + edit.Count));
        lines.erase(lines.begin() + Offset(edit.At), lines.begin() + Offset(edit.At + edit.Count));
        lines.insert(lines.begin() + Offset(edit.To), block.begin(), block.end());
        return true;
    }
    case OutsideEdit::Kind::Truncate:
        if (!InRange(edit.Count, 0, total, "count", error)) return false;
        lines.resize(static_cast<std::size_t>(edit.Count));
        return true;
    case OutsideEdit::Kind::Touch:
        return true;
    }
    return false;
}

}  // namespace

bool EditFileOutside(const std::string& path, const OutsideEdit& edit, std::string* error) {
    std::string content;
    if (!ReadWholeFile(path, &content)) {
        *error = "cannot read " + path;
        return false;
    }
    const long long oldTime = LastWriteTicks(path);
    FileLines file = SplitFile(content);
    if (!Apply(edit, file.Lines, error)) return false;
    if (!WriteWholeFile(path, JoinFile(file)) || !AgeLastWriteTime(path, oldTime)) {
        *error = "cannot rewrite " + path;
        return false;
    }
    return true;
}

std::string DescribeOutsideEdit(const OutsideEdit& edit) {
    const std::string at = std::to_string(edit.At);
    const std::string count = std::to_string(edit.Count);
    switch (edit.What) {
    case OutsideEdit::Kind::Insert: return "inserted " + count + " lines before line " + at;
    case OutsideEdit::Kind::Delete: return "deleted " + count + " lines from line " + at;
    case OutsideEdit::Kind::Replace: return "replaced line " + at;
    case OutsideEdit::Kind::Move: return "moved " + count + " lines from line " + at + " to line " + std::to_string(edit.To);
    case OutsideEdit::Kind::Truncate: return "kept the first " + count + " lines";
    case OutsideEdit::Kind::Touch: return "wrote it again unchanged";
    }
    return "";
}

}  // namespace twhost
