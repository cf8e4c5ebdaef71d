#include "kit/mask_list_3x.h"

#include <cctype>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "kit/standard_functions.h"

namespace hostkit {
namespace {

struct Mask {
    bool IsRegex = false;
    std::string Text;     // the plain mask
    std::regex Pattern;   // the compiled regular expression
};

struct MaskList {
    std::vector<Mask> Include;
    std::vector<Mask> Exclude;
};

bool IsSeparator(char c) { return c == ',' || c == ';' || c == '|'; }

// False when `pattern` does not compile.
bool Compile(const std::string& pattern, std::regex* compiled) {
    const auto syntax = std::regex::ECMAScript | std::regex::icase;
#if defined(__cpp_exceptions)
    try {
        *compiled = std::regex(pattern, syntax);
    } catch (const std::regex_error&) {
        return false;
    }
#else
    *compiled = std::regex(pattern, syntax);  // a build without exceptions stops on a bad pattern
#endif
    return true;
}

// A regular expression from the '/' at text[at]; `at` goes past it and
// its letters. False when it has no closing '/' or something other than
// spaces and a separator follows.
bool ReadRegex(const std::string& text, std::size_t* at, Mask* mask) {
    std::size_t i = *at + 1;
    while (i < text.size() && text[i] != '/') i += text[i] == '\\' ? 2 : 1;
    if (i >= text.size()) return false;
    mask->IsRegex = true;
    if (!Compile(text.substr(*at + 1, i - *at - 1), &mask->Pattern)) return false;
    ++i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && !IsSeparator(text[i])) return false;
    *at = i;
    return true;
}

// A plain mask from text[at] up to the next separator outside quotes; the
// quotes themselves are dropped, and so are spaces at its end.
Mask ReadPlain(const std::string& text, std::size_t* at) {
    Mask mask;
    bool quoted = false;
    std::size_t i = *at;
    std::size_t kept = 0;  // the length up to the last character that is not a trailing space
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            kept = mask.Text.size();
            continue;
        }
        if (!quoted && IsSeparator(c)) break;
        mask.Text += c;
        if (quoted || c != ' ') kept = mask.Text.size();
    }
    mask.Text.resize(kept);
    *at = i;
    return mask;
}

bool Parse(const std::string& text, MaskList* list) {
    bool excluding = false;
    std::size_t at = 0;
    while (at < text.size()) {
        char c = text[at];
        if (c == ' ' || c == ',' || c == ';') {
            ++at;
            continue;
        }
        if (c == '|') {
            if (excluding) return false;
            excluding = true;
            ++at;
            continue;
        }
        if (c == '<') return false;  // a mask group; this host has none
        Mask mask;
        if (c == '/') {
            if (!ReadRegex(text, &at, &mask)) return false;
        } else {
            mask = ReadPlain(text, &at);
            if (mask.Text.empty()) continue;
        }
        (excluding ? list->Exclude : list->Include).push_back(std::move(mask));
    }
    if (excluding && list->Exclude.empty()) return false;
    if (list->Include.empty() && list->Exclude.empty()) return false;
    if (list->Include.empty()) {
        Mask all;
        all.Text = "*";
        list->Include.push_back(all);
    }
    return true;
}

bool Matches(const Mask& mask, const char* name) {
    return mask.IsRegex ? std::regex_search(name, mask.Pattern) : MatchMask(mask.Text.c_str(), name);
}

bool AnyMatches(const std::vector<Mask>& masks, const char* name) {
    for (const Mask& mask : masks) {
        if (Matches(mask, name)) return true;
    }
    return false;
}

}  // namespace

MaskListMatch MatchMaskList3x(const char* masks, const char* name) {
    MaskList list;
    if (masks == nullptr || name == nullptr || !Parse(masks, &list)) return MaskListMatch::Invalid;
    return AnyMatches(list.Include, name) && !AnyMatches(list.Exclude, name) ? MaskListMatch::Match
                                                                              : MaskListMatch::NoMatch;
}

}  // namespace hostkit
