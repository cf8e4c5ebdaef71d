#include "script/script_support.h"

#include <cstdlib>

#include "core/console.h"
#include "core/files.h"
#include "core/host_state.h"

using namespace tarnwick;

namespace twhost {

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string::npos) break;
        if (line[at] == '"') {
            std::size_t close = line.find('"', at + 1);
            if (close == std::string::npos) close = line.size();
            words.push_back(line.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            std::size_t end = line.find_first_of(" \t", at);
            if (end == std::string::npos) end = line.size();
            words.push_back(line.substr(at, end - at));
            at = end;
        }
        if (at >= line.size()) break;
    }
    return words;
}

std::string RestAfter(const std::string& line, int words) {
    std::size_t at = 0;
    for (int i = 0; i < words; ++i) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string::npos) return "";
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos) return "";
    }
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return "";
    std::string rest = line.substr(at);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    return rest;
}

bool ParseInt(const std::string& text, int* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || parsed < -2147483647L || parsed > 2147483647L) return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool NeedInt(const Args& args, std::size_t index, int* value, std::string* error) {
    if (index >= args.Words.size() || !ParseInt(args.Words[index], value)) {
        *error = "'" + (index < args.Words.size() ? args.Words[index] : std::string()) + "' is not a number";
        return false;
    }
    return true;
}

bool NeedOnOff(const std::string& word, bool* on, std::string* error) {
    if (word == "on" || word == "yes") {
        *on = true;
    } else if (word == "off" || word == "no") {
        *on = false;
    } else {
        *error = "expected on or off, not '" + word + "'";
        return false;
    }
    return true;
}

std::string Resolve(const std::string& name) { return ResolvePath(Host().WorkDir, name); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string FlagNames(DWORD_T flags) {
    std::string names;
    const std::pair<DWORD_T, const char*> known[] = {
        {PF_PRELOAD, "PF_PRELOAD"}, {PF_DISABLEPANELS, "PF_DISABLEPANELS"}, {PF_EDITOR, "PF_EDITOR"}, {PF_VIEWER, "PF_VIEWER"}};
    for (const auto& flag : known) {
        if ((flags & flag.first) != 0) names += (names.empty() ? "" : " | ") + std::string(flag.second);
    }
    return names.empty() ? "none" : names;
}

bool NeedEditor(SimEditor** editor, std::string* error) {
    *editor = CurrentEditor();
    if (*editor == nullptr) {
        *error = "no editor is open";
        return false;
    }
    return true;
}

bool ReportEditor(std::string*) {
    SimEditor* editor = CurrentEditor();
    Say(editor != nullptr ? "  " + DescribeEditor(*editor) : "  (no editor: the panels)");
    return true;
}

void ShowFile(const std::string& path) {
    std::string content;
    if (!ReadWholeFile(path, &content)) {
        Say("  (" + path + " does not exist)");
        return;
    }
    Say("  " + path + ":");
    for (const TextLine& line : ParsePositionText(content)) Say("  | " + ForConsole(line.Raw.c_str()));
}

bool ReadCfg(std::vector<TextLine>* lines, bool* exists) {
    std::string content;
    *exists = ReadWholeFile(Host().CfgPath, &content);
    *lines = ParsePositionText(*exists ? content : std::string());
    return *exists;
}

}  // namespace twhost
