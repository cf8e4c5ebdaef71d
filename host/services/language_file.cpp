#include "language_file.h"

#include <memory>

#include "files.h"

namespace twhost {
namespace {

// Every table ever made active stays alive: the plug-in may keep the text
// pointers that GetMsg handed out.
std::vector<std::unique_ptr<LanguageFile>> g_tables;
const LanguageFile g_none;

void StripLineEnd(std::string* line) {
    while (!line->empty() && (line->back() == '\r' || line->back() == '\n')) line->pop_back();
}

bool IsBlank(const std::string& line) {
    for (char c : line) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

std::string TrimLeft(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : line.substr(start);
}

}  // namespace

bool ReadLanguageFile(const std::string& path, LanguageFile* file, std::string* error) {
    std::string content;
    if (!ReadWholeFile(path, &content)) {
        *error = "cannot read " + path;
        return false;
    }
    LanguageFile result;
    bool haveHeader = false;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        StripLineEnd(&line);
        std::string trimmed = TrimLeft(line);
        if (trimmed.compare(0, 2, "//") == 0 || IsBlank(line)) continue;
        if (!haveHeader) {
            const std::string prefix = ".Language=";
            if (trimmed.compare(0, prefix.size(), prefix) != 0) {
                *error = path + ":" + std::to_string(lineNumber) + ": the first line must be .Language=...";
                return false;
            }
            std::string rest = trimmed.substr(prefix.size());
            result.Language = rest.substr(0, rest.find(','));
            haveHeader = true;
            continue;
        }
        std::size_t open = line.find('"');
        std::size_t close = line.rfind('"');
        if (open == std::string::npos || close == open) {
            *error = path + ":" + std::to_string(lineNumber) + ": a message must be in double quotes";
            return false;
        }
        result.Messages.push_back(line.substr(open + 1, close - open - 1));
    }
    if (!haveHeader) {
        *error = path + ": no .Language= line";
        return false;
    }
    *file = result;
    return true;
}

void SetActiveLanguage(const LanguageFile& file) { g_tables.push_back(std::make_unique<LanguageFile>(file)); }

const LanguageFile& ActiveLanguage() { return g_tables.empty() ? g_none : *g_tables.back(); }

}  // namespace twhost
