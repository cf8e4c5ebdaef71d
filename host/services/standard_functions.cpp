#include "standard_functions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "console.h"
#include "trace.h"
#include "unused_slots.h"

using namespace tarnwick;

namespace twhost {
namespace {

// Each service's trace line is built only while tracing is on.
#define Trace(line) TWHOST_TRACE("    [fsf] ", line)

std::string Quoted(const char* text) { return text == nullptr ? "(null)" : "\"" + ForConsole(text) + "\""; }

int TW_CDECL HostSprintf(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = std::vsprintf(buffer, format, args);
    va_end(args);
    Trace("sprintf(" + Quoted(format) + ") = " + std::to_string(written));
    return written;
}

int TW_CDECL HostSscanf(const char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int converted = std::vsscanf(buffer, format, args);
    va_end(args);
    Trace("sscanf(" + Quoted(buffer) + ", " + Quoted(format) + ") = " + std::to_string(converted));
    return converted;
}

char* TW_STDCALL HostItoa(int value, char* buffer, int radix) {
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
    Trace("itoa(" + std::to_string(value) + ", " + std::to_string(radix) + ") = " + Quoted(buffer));
    return buffer;
}

void TW_STDCALL HostLStrlwr(char* text) {
    if (text == nullptr) return;
    for (char* p = text; *p != '\0'; ++p) *p = FoldCase(*p);
    Trace("LStrlwr -> " + Quoted(text));
}

int TW_STDCALL HostLStricmp(const char* a, const char* b) {
    int result = CompareIgnoringCase(a, b, -1);
    Trace("LStricmp(" + Quoted(a) + ", " + Quoted(b) + ") = " + std::to_string(result));
    return result;
}

int TW_STDCALL HostLStrnicmp(const char* a, const char* b, int count) {
    int result = count <= 0 ? 0 : CompareIgnoringCase(a, b, count);
    Trace("LStrnicmp(" + Quoted(a) + ", " + Quoted(b) + ", " + std::to_string(count) + ") = " + std::to_string(result));
    return result;
}

void TW_STDCALL HostUnquote(char* text) {
    if (text == nullptr) return;
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != '"') *out++ = *in;
    }
    *out = '\0';
    Trace("Unquote -> " + Quoted(text));
}

char* TW_STDCALL HostTruncPathStr(char* text, int maxLength) {
    if (text == nullptr) return text;
    TruncatePath(text, maxLength);
    Trace("TruncPathStr(" + std::to_string(maxLength) + ") -> " + Quoted(text));
    return text;
}

int TW_STDCALL HostProcessName(const char* masks, char* name, DWORD_T flags) {
    const DWORD_T known = PN_CMPNAMELIST | PN_SKIPPATH;
    if ((flags & ~known) != 0) {
        Fatal(EXIT_PLUGIN_FAULT, "ProcessName: flags " + Hex(flags) +
                                     " ask for a mode this host does not perform (only name matching)", true);
    }
    if (masks == nullptr || name == nullptr) {
        Fatal(EXIT_PLUGIN_FAULT, "ProcessName: null mask or name", true);
    }
    bool skipPath = (flags & PN_SKIPPATH) != 0;
    int result;
    if ((flags & PN_CMPNAMELIST) != 0) {
        result = MatchMaskList(masks, name, skipPath) ? 1 : 0;
    } else {
        const char* subject = name;
        if (skipPath) {
            for (const char* p = name; *p != '\0'; ++p) {
                if (*p == '\\' || *p == '/' || *p == ':') subject = p + 1;
            }
        }
        result = MatchMask(masks, subject) ? 1 : 0;
    }
    Trace("ProcessName(" + Quoted(masks) + ", " + Quoted(name) + ", " + Hex(flags) + ") = " +
          std::to_string(result));
    return result;
}

// The part of the path kept in front of "..." by TruncatePath: "C:\",
// "\\server\share\" or "/"; nothing for a relative path.
std::size_t RootLength(const char* text, std::size_t length) {
    if (length >= 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/')) return 3;
    if (length >= 2 && text[0] == '\\' && text[1] == '\\') {
        int separators = 0;
        for (std::size_t i = 2; i < length; ++i) {
            if (text[i] == '\\' || text[i] == '/') {
                if (++separators == 2) return i + 1;
            }
        }
        return 0;
    }
    if (length >= 1 && (text[0] == '/' || text[0] == '\\')) return 1;
    return 0;
}

bool RestMatchesEmpty(const char* p) {
    while (*p == '*') ++p;
    if (*p == '\0') return true;
    // "name.*" also matches a name without any extension.
    if (*p == '.') {
        ++p;
        while (*p == '*') ++p;
        return *p == '\0';
    }
    return false;
}

}  // namespace

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
        if (*p != '\0' && (*p == '?' || FoldCase(*p) == FoldCase(*s))) {
            ++p;
            ++s;
            continue;
        }
        if (star == nullptr) return false;
        p = star + 1;
        s = ++resume;
    }
    return RestMatchesEmpty(p);
}

bool MatchMaskList(const char* masks, const char* name, bool skipPath) {
    const char* subject = name;
    if (skipPath) {
        for (const char* p = name; *p != '\0'; ++p) {
            if (*p == '\\' || *p == '/' || *p == ':') subject = p + 1;
        }
    }
    const char* p = masks;
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t') ++p;
        std::string mask;
        if (*p == '"') {
            ++p;
            while (*p != '\0' && *p != '"') mask += *p++;
            if (*p == '"') ++p;
            while (*p != '\0' && *p != ',' && *p != ';') ++p;
        } else {
            while (*p != '\0' && *p != ',' && *p != ';') mask += *p++;
            while (!mask.empty() && (mask.back() == ' ' || mask.back() == '\t')) mask.pop_back();
        }
        if (*p == ',' || *p == ';') ++p;
        if (!mask.empty() && MatchMask(mask.c_str(), subject)) return true;
    }
    return false;
}

void TruncatePath(char* text, int maxLength) {
    std::size_t length = std::strlen(text);
    if (maxLength < 0 || length <= static_cast<std::size_t>(maxLength)) return;
    std::size_t limit = static_cast<std::size_t>(maxLength);
    std::size_t root = RootLength(text, length);
    if (limit < 4) {
        text[limit] = '\0';
        return;
    }
    if (root + 4 > limit) root = 0;
    std::size_t tail = limit - root - 3;
    std::memmove(text + root + 3, text + length - tail, tail);
    std::memcpy(text + root, "...", 3);
    text[limit] = '\0';
}

void FillStandardFunctions(FarStandardFunctions* table) {
    std::memset(table, 0, sizeof *table);
    table->StructSize = static_cast<int>(sizeof *table);
    FillUnusedStandardFunctions(table);
    table->itoa = HostItoa;
    table->sprintf = HostSprintf;
    table->sscanf = HostSscanf;
    table->LStrlwr = HostLStrlwr;
    table->LStricmp = HostLStricmp;
    table->LStrnicmp = HostLStrnicmp;
    table->Unquote = HostUnquote;
    table->TruncPathStr = HostTruncPathStr;
    table->ProcessName = HostProcessName;
}

}  // namespace twhost
