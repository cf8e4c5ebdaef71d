#include "core/language_file.h"

#include <cstring>
#include <memory>

#include "core/files.h"
#include "core/host_state.h"

namespace twhost {
namespace {

const LanguageFile kNoLanguage;

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

// The text of a message line from just after its opening quote: "\n",
// "\r", "\t", "\b", "\\", "\"" and a doubled quote stand for the
// characters they name; a lone quote ends the text (or the line does).
std::string UnescapeText(const std::string& line, std::size_t at) {
    std::string text;
    for (std::size_t i = at; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                text += '"';
                ++i;
                continue;
            }
            break;
        }
        if (c == '\\' && i + 1 < line.size()) {
            char next = line[i + 1];
            const char* known = "nrtb\\\"";
            const char* meant = "\n\r\t\b\\\"";
            const char* found = std::strchr(known, next);
            if (found != nullptr && next != '\0') {
                text += meant[found - known];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
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
        if (line.size() > 1000) {
            *error = path + ":" + std::to_string(lineNumber) + ": a line of the host's language files holds at most 1,000 characters";
            return false;
        }
        // Leading spaces are ignored, and so is every line that begins with
        // neither a dot nor a double quote.
        std::string trimmed = TrimLeft(line);
        if (IsBlank(line) || (trimmed[0] != '.' && trimmed[0] != '"')) continue;
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
        if (trimmed[0] == '.') continue;  // another directive
        result.Messages.push_back(UnescapeText(trimmed, 1));
    }
    if (!haveHeader) {
        *error = path + ": no .Language= line";
        return false;
    }
    *file = result;
    return true;
}

void SetActiveLanguage(const LanguageFile& file) { Host().LanguageTables.push_back(std::make_unique<LanguageFile>(file)); }

const LanguageFile& ActiveLanguage() { return Host().LanguageTables.empty() ? kNoLanguage : *Host().LanguageTables.back(); }

}  // namespace twhost
