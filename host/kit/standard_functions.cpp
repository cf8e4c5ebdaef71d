#include "kit/standard_functions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

using namespace tarnwick;

namespace hostkit {
namespace {

// The part of the path TruncatePath keeps in front of "...": "X:\" or
// "\\server\share\" (with '/' too when `slashSeparates`); nothing for any
// other path.
std::size_t RootLength(const char* text, std::size_t length, bool slashSeparates) {
    auto separator = [slashSeparates](char c) { return c == '\\' || (slashSeparates && c == '/'); };
    if (length >= 3 && text[1] == ':' && separator(text[2])) return 3;
    if (length >= 2 && separator(text[0]) && separator(text[1])) {
        int separators = 0;
        for (std::size_t i = 2; i < length; ++i) {
            if (separator(text[i])) {
                if (++separators == 2) return i + 1;
            }
        }
    }
    return 0;
}

// A set "[c,x-z]" at `set` (just after its '['): whether it holds `c`, and
// where the mask goes on after its ']'. Items are single characters or
// ranges; commas between them are skipped. Null when the set has no ']',
// so that the '[' is an ordinary character.
const char* MatchSet(const char* set, char c, bool* holds) {
    const char* close = std::strchr(set, ']');
    if (close == nullptr) return nullptr;
    unsigned char wanted = static_cast<unsigned char>(FoldCase(c));
    *holds = false;
    for (const char* p = set; p < close; ++p) {
        if (*p == ',') continue;
        unsigned char low = static_cast<unsigned char>(FoldCase(*p));
        unsigned char high = low;
        if (p + 2 < close && p[1] == '-') {
            high = static_cast<unsigned char>(FoldCase(p[2]));
            p += 2;
        }
        if (wanted >= low && wanted <= high) *holds = true;
    }
    return close + 1;
}

// One element of a mask (not '*') against the character `c`: where the
// mask goes on when it matches, null when it does not.
const char* MatchElement(const char* p, char c) {
    if (*p == '\0') return nullptr;
    if (*p == '?') return p + 1;
    if (*p == '[') {
        bool holds = false;
        const char* after = MatchSet(p + 1, c, &holds);
        if (after != nullptr) return holds ? after : nullptr;
    }
    return FoldCase(*p) == FoldCase(c) ? p + 1 : nullptr;
}

// Whether what is left of the mask matches the end of `name`: nothing but
// stars; "." and stars, so that "name.*" also matches "name"; or a closing
// ".", so that "*." matches a name without an extension.
bool RestMatchesEnd(const char* p, const char* name) {
    while (*p == '*') ++p;
    if (*p == '\0') return true;
    if (*p != '.') return false;
    if (p[1] == '\0') return std::strchr(NamePart(name), '.') == nullptr;
    ++p;
    while (*p == '*') ++p;
    return *p == '\0';
}

}  // namespace

int TW_CDECL Sprintf(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = std::vsprintf(buffer, format, args);
    va_end(args);
    return written;
}

int TW_CDECL Sscanf(const char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int converted = std::vsscanf(buffer, format, args);
    va_end(args);
    return converted;
}

char* TW_STDCALL Itoa(int value, char* buffer, int radix) {
    if (buffer == nullptr) return buffer;
    if (radix < 2 || radix > 36) {
        buffer[0] = '\0';
        return buffer;
    }
    char digits[40];
    int count = 0;
    bool negative = radix == 10 && value < 0;
    // Other radixes show the bits of a negative number, as the C runtime does.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(value))
                                            : static_cast<unsigned long long>(static_cast<unsigned int>(value));
    do {
        int digit = static_cast<int>(magnitude % static_cast<unsigned>(radix));
        digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude != 0);
    int at = 0;
    if (negative) buffer[at++] = '-';
    while (count > 0) buffer[at++] = digits[--count];
    buffer[at] = '\0';
    return buffer;
}

void TW_STDCALL LStrlwr(char* text) {
    if (text == nullptr) return;
    for (char* p = text; *p != '\0'; ++p) *p = FoldCase(*p);
}

int TW_STDCALL LStricmp(const char* a, const char* b) { return CompareIgnoringCase(a, b, -1); }

int TW_STDCALL LStrnicmp(const char* a, const char* b, int count) {
    return count <= 0 ? 0 : CompareIgnoringCase(a, b, count);
}

void TW_STDCALL Unquote(char* text) {
    if (text == nullptr) return;
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != '"') *out++ = *in;
    }
    *out = '\0';
}

char* TW_STDCALL TruncPathStr(char* text, int maxLength) {
    if (text != nullptr) TruncatePath(text, maxLength, false);
    return text;
}

int TW_STDCALL ProcessName(const char* masks, char* name, DWORD_T flags) {
    if ((flags & ~static_cast<DWORD_T>(PN_CMPNAMELIST | PN_SKIPPATH)) != 0) return 0;
    if (masks == nullptr || name == nullptr) return 0;
    bool skipPath = (flags & PN_SKIPPATH) != 0;
    if ((flags & PN_CMPNAMELIST) != 0) return MatchMaskList(masks, name, skipPath) ? 1 : 0;
    return MatchMask(masks, skipPath ? NamePart(name) : name) ? 1 : 0;
}

const char* NamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

int CompareIgnoringCase(const char* a, const char* b, int count) {
    if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
    for (int i = 0; count < 0 || i < count; ++i) {
        unsigned char x = static_cast<unsigned char>(FoldCase(a[i]));
        unsigned char y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

bool MatchMask(const char* mask, const char* name) {
    // '*' backtracks to its last use only: every other element takes one
    // character, so that is enough, and the walk stays linear per star.
    const char* p = mask;
    const char* s = name;
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*s != '\0') {
        if (*p == '*') {
            star = p++;
            resume = s;
            continue;
        }
        if (const char* next = MatchElement(p, *s)) {
            p = next;
            ++s;
            continue;
        }
        if (star == nullptr) return false;
        p = star + 1;
        s = ++resume;
    }
    return RestMatchesEnd(p, name);
}

bool MatchMaskList(const char* masks, const char* name, bool skipPath) {
    // Commas and nothing else separate the masks; spaces, semicolons and
    // quotes are ordinary characters of a mask.
    const char* subject = skipPath ? NamePart(name) : name;
    // Each mask is matched from a copy with its own terminator: on the stack
    // when it fits the real host's mask buffer (as every mask the real host
    // can take does), so that such a call allocates nothing.
    char buffer[kPathSize];
    for (const char* p = masks;; ++p) {
        const char* end = std::strchr(p, ',');
        std::size_t length = end == nullptr ? std::strlen(p) : static_cast<std::size_t>(end - p);
        bool matched;
        if (length < sizeof buffer) {
            std::memcpy(buffer, p, length);
            buffer[length] = '\0';
            matched = MatchMask(buffer, subject);
        } else {
            matched = MatchMask(std::string(p, length).c_str(), subject);
        }
        if (matched) return true;
        if (end == nullptr) return false;
        p = end;
    }
}

std::size_t LongestMaskInList(const char* masks) {
    std::size_t longest = 0;
    std::size_t length = 0;
    for (const char* p = masks;; ++p) {
        if (*p == ',' || *p == '\0') {
            if (length > longest) longest = length;
            length = 0;
            if (*p == '\0') return longest;
        } else {
            ++length;
        }
    }
}

void TruncatePath(char* text, int maxLength, bool slashSeparates) {
    std::size_t length = std::strlen(text);
    if (maxLength < 0 || length <= static_cast<std::size_t>(maxLength)) return;
    std::size_t limit = static_cast<std::size_t>(maxLength);
    if (limit <= 3) {
        std::memcpy(text, "...", limit);
        text[limit] = '\0';
        return;
    }
    // Keep the root only when it leaves room for "..." and at least one
    // character of the end; otherwise "..." and the last n-3 characters.
    std::size_t root = RootLength(text, length, slashSeparates);
    if (root + 3 + 1 > limit) root = 0;
    std::size_t tail = limit - root - 3;
    std::memmove(text + root + 3, text + length - tail, tail);
    std::memcpy(text + root, "...", 3);
    text[limit] = '\0';
}

}  // namespace hostkit
