#include "script/position_text.h"

#include "kit/standard_functions.h"

namespace twhost {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return hostkit::CompareIgnoringCase(a.c_str(), b.c_str(), -1) == 0;
}

// Reads `<item a="1" b=2 c>` from the start of `text` (after indentation).
bool ParseItemTag(const std::string& text, TextItem* item) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text[at] != '<') return false;
    std::size_t nameEnd = at + 1;
    while (nameEnd < text.size() && !IsSpace(text[nameEnd]) && text[nameEnd] != '>') ++nameEnd;
    if (!SameIgnoringCase(text.substr(at + 1, nameEnd - at - 1), "item")) return false;
    at = nameEnd;
    while (at < text.size() && text[at] != '>') {
        while (at < text.size() && IsSpace(text[at])) ++at;
        std::size_t start = at;
        while (at < text.size() && !IsSpace(text[at]) && text[at] != '>' && text[at] != '=') ++at;
        std::string name = text.substr(start, at - start);
        while (at < text.size() && IsSpace(text[at])) ++at;
        std::string value = name;
        if (at < text.size() && text[at] == '=') {
            ++at;
            while (at < text.size() && IsSpace(text[at])) ++at;
            if (at < text.size() && text[at] == '"') {
                std::size_t close = text.find('"', at + 1);
                if (close == std::string::npos) close = text.size();
                value = text.substr(at + 1, close - at - 1);
                at = close + 1;
            } else {
                start = at;
                while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
                value = text.substr(start, at - start);
            }
        }
        if (!name.empty()) item->Attributes.emplace_back(name, value);
        if (name.empty() && at < text.size() && text[at] != '>') ++at;
    }
    return true;
}

}  // namespace

const std::string* TextItem::Find(const std::string& name) const {
    for (const auto& attribute : Attributes) {
        if (SameIgnoringCase(attribute.first, name)) return &attribute.second;
    }
    return nullptr;
}

std::vector<TextLine> ParsePositionText(const std::string& content) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        TextLine line;
        line.Raw = content.substr(start, end - start);
        if (!line.Raw.empty() && line.Raw.back() == '\r') line.Raw.pop_back();
        line.IsItem = ParseItemTag(line.Raw, &line.Item);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<const TextItem*> FindEditorItems(const std::vector<TextLine>& lines, const std::string& path) {
    return FindItems(lines, "editor", path);
}

std::vector<const TextItem*> FindItems(const std::vector<TextLine>& lines, const std::string& wanted, const std::string& path) {
    std::vector<const TextItem*> found;
    for (const TextLine& line : lines) {
        if (!line.IsItem) continue;
        const std::string* type = line.Item.Find("type");
        const std::string* itemPath = line.Item.Find("path");
        if (type != nullptr && itemPath != nullptr && SameIgnoringCase(*type, wanted) && SameIgnoringCase(*itemPath, path)) {
            found.push_back(&line.Item);
        }
    }
    return found;
}

int CountItems(const std::vector<TextLine>& lines) {
    int count = 0;
    for (const TextLine& line : lines) {
        if (line.IsItem && line.Item.Find("type") != nullptr && line.Item.Find("path") != nullptr) ++count;
    }
    return count;
}

std::string FormatEditorItem(const std::string& path, int line, int column, int top, int left, int overtype) {
    return "<item type=\"editor\" path=\"" + path + "\" line=\"" + std::to_string(line) + "\" column=\"" +
           std::to_string(column) + "\" top=\"" + std::to_string(top) + "\" left=\"" + std::to_string(left) +
           "\" overtype=\"" + std::to_string(overtype) + "\">";
}

std::string JoinPositionText(const std::vector<TextLine>& lines) {
    std::string text;
    for (const TextLine& line : lines) text += line.Raw + "\r\n";
    return text;
}

}  // namespace twhost
