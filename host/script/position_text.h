// The host's own reading and writing of a position file, independent of the
// plug-in's code: one `<item ...>` line per stored position, attributes as
// name="value". Used by the script's checks and by `external-edit-cfg`,
// which rewrites the file as another running host would.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace twhost {

struct TextItem {
    std::vector<std::pair<std::string, std::string>> Attributes;  // in file order
    const std::string* Find(const std::string& name) const;       // names ignore case
};

// One entry per line of the file: the item on it, if the line is an `item`
// tag, and the line itself.
struct TextLine {
    std::string Raw;     // without its line end
    bool IsItem = false;
    TextItem Item;
};

std::vector<TextLine> ParsePositionText(const std::string& content);
// The items of type `type` ("editor", "viewer") whose path equals `path`
// ignoring case.
std::vector<const TextItem*> FindItems(const std::vector<TextLine>& lines, const std::string& type, const std::string& path);
std::vector<const TextItem*> FindEditorItems(const std::vector<TextLine>& lines, const std::string& path);
int CountItems(const std::vector<TextLine>& lines);

// An item line in the form the plug-in writes.
std::string FormatEditorItem(const std::string& path, int line, int column, int top, int left, int overtype);
// The lines joined with CR LF after every line.
std::string JoinPositionText(const std::vector<TextLine>& lines);

}  // namespace twhost
