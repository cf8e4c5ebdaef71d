#include "store/place_texts.h"

#include <cstddef>

#include "support/text.h"

namespace tarnwick {
namespace store {

namespace {

// The decimal number at `*text` up to `stop` (or the end): "-" and at least
// one digit, within [minimum, maximum]. Moves `*text` past it.
bool ReadDecimal(const char** text, char stop, std::int64_t minimum, std::int64_t maximum, std::int64_t* value) {
    const char* at = *text;
    bool negative = *at == '-';
    if (negative) ++at;
    if (*at < '0' || *at > '9') return false;
    // Accumulated as a negative number, which reaches the minimum of int64.
    // The bound is a constant: no 64-bit division at run time (on 32-bit
    // targets that would pull in the compiler's helper).
    constexpr std::int64_t kLeastTenth = INT64_MIN / 10;  // -922337203685477580
    constexpr int kLastDigit = -static_cast<int>(INT64_MIN % 10);  // 8
    std::int64_t number = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        int digit = *at - '0';
        if (number < kLeastTenth || (number == kLeastTenth && digit > kLastDigit)) return false;
        number = number * 10 - digit;
    }
    if (*at != stop) return false;
    if (!negative) {
        if (number < -maximum) return false;
        number = -number;
    } else if (number < minimum) {
        return false;
    }
    *value = number;
    *text = at;
    return true;
}

bool ReadInt32(const char** text, char stop, std::int32_t* value) {
    std::int64_t number = 0;
    if (!ReadDecimal(text, stop, INT32_MIN, INT32_MAX, &number)) return false;
    *value = static_cast<std::int32_t>(number);
    return true;
}

// Appends `text` at `*at` (room checked by the callers' sizes).
void Put(char** at, const char* text) {
    while (*text != '\0') *(*at)++ = *text++;
    **at = '\0';
}

void PutInt(char** at, std::int32_t value) {
    char number[12];
    FormatInt(value, number);
    Put(at, number);
}

// One entry "n:line,cursor,screenline,left", the bytes from `text` to
// `end`.
bool ReadBookmark(const char* text, const char* end, int* slot, Bookmark* mark) {
    // Copied so that the last number, too, ends in a known byte.
    char entry[64];
    if (end - text >= static_cast<std::ptrdiff_t>(sizeof entry)) return false;
    int length = static_cast<int>(end - text);
    for (int i = 0; i < length; ++i) entry[i] = text[i];
    entry[length] = '\0';
    const char* at = entry;
    std::int64_t number = 0;
    if (!ReadDecimal(&at, ':', 0, kBookmarkCount - 1, &number)) return false;
    Bookmark read;
    std::int32_t* readFields[] = {&read.Line, &read.Cursor, &read.ScreenLine, &read.Left};
    const char stops[] = {',', ',', ',', '\0'};
    for (int i = 0; i < 4; ++i) {
        ++at;  // past the separator before the number
        if (!ReadInt32(&at, stops[i], readFields[i])) return false;
    }
    *mark = read;
    *slot = static_cast<int>(number);
    return true;
}

bool IsSpace(char c) { return c == ' '; }

// Exactly `digits` hex digits at `*text`, followed by `stop`; moves past them.
bool ReadHex(const char** text, int digits, char stop, std::uint32_t* value) {
    std::uint32_t number = 0;
    const char* at = *text;
    for (int i = 0; i < digits; ++i, ++at) {
        const char c = *at;
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
            digit = static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
        } else {
            return false;
        }
        number = number << 4 | digit;
    }
    if (*at != stop) return false;
    *value = number;
    *text = at;
    return true;
}

void PutHex(char** at, std::uint32_t value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) *(*at)++ = kDigits[value >> shift & 0xF];
    **at = '\0';
}

// The hex digits a hash of line i of a fingerprint is written with.
int HashDigits(int i) { return i == kNearLines ? 8 : 4; }

}  // namespace

// Divides `*value` by ten in 16-bit steps, each within 32 bits (no 64-bit
// division helper on 32-bit targets); returns the remainder.
unsigned DivideByTen(std::uint64_t* value) {
    std::uint32_t rest = 0;
    std::uint64_t quotient = 0;
    for (int shift = 48; shift >= 0; shift -= 16) {
        const std::uint32_t part = rest << 16 | static_cast<std::uint32_t>(*value >> shift & 0xFFFF);
        quotient |= static_cast<std::uint64_t>(part / 10) << shift;
        rest = part % 10;
    }
    *value = quotient;
    return rest;
}

void FormatInt64(std::int64_t value, char* buffer) {
    char digits[kInt64TextSize];
    int count = 0;
    // The magnitude in unsigned arithmetic, so that the minimum needs no
    // special case.
    std::uint64_t rest = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + DivideByTen(&rest));
    } while (rest != 0);
    char* at = buffer;
    if (value < 0) *at++ = '-';
    while (count > 0) *at++ = digits[--count];
    *at = '\0';
}

bool ParseDecimal64(const char* text, std::int64_t* value) {
    if (text == nullptr) return false;
    return ReadDecimal(&text, '\0', INT64_MIN, INT64_MAX, value);
}

bool FormatBookmarks(const Bookmarks& marks, char* buffer) {
    char* at = buffer;
    *at = '\0';
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        const Bookmark& mark = marks.Slot[slot];
        if (!IsSet(mark)) continue;
        if (at != buffer) Put(&at, " ");
        char number[3] = {static_cast<char>('0' + slot), ':', '\0'};
        Put(&at, number);
        PutInt(&at, mark.Line);
        Put(&at, ",");
        PutInt(&at, mark.Cursor);
        Put(&at, ",");
        PutInt(&at, mark.ScreenLine);
        Put(&at, ",");
        PutInt(&at, mark.Left);
    }
    return at != buffer;
}

Bookmarks ParseBookmarks(const char* text) {
    Bookmarks marks = NoBookmarks();
    if (text == nullptr) return marks;
    const char* at = text;
    while (*at != '\0') {
        while (IsSpace(*at)) ++at;
        const char* end = at;
        while (*end != '\0' && !IsSpace(*end)) ++end;
        int slot = 0;
        Bookmark mark;
        if (end != at && ReadBookmark(at, end, &slot, &mark)) {
            marks.Slot[slot] = IsSet(mark) ? mark : Bookmark{-1, -1, -1, -1};
        }
        at = end;
    }
    return marks;
}

bool FormatHashes(const TextFingerprint& print, char* buffer) {
    buffer[0] = '\0';
    if (!HasHashes(print)) return false;
    char* at = buffer;
    PutInt(&at, print.Line);
    for (int i = 0; i < kPrintLines; ++i) {
        Put(&at, " ");
        PutHex(&at, i == kNearLines ? print.Hashes[i] : print.Hashes[i] & 0xFFFF, HashDigits(i));
    }
    return true;
}

void ParseHashes(const char* text, TextFingerprint* print) {
    print->Line = 0;
    for (std::uint32_t& hash : print->Hashes) hash = 0;
    if (text == nullptr) return;
    const char* at = text;
    std::int64_t line = 0;
    if (!ReadDecimal(&at, ' ', 0, INT32_MAX, &line)) return;
    std::uint32_t hashes[kPrintLines];
    for (int i = 0; i < kPrintLines; ++i) {
        ++at;  // past the space
        if (!ReadHex(&at, HashDigits(i), i + 1 < kPrintLines ? ' ' : '\0', &hashes[i])) return;
    }
    if (hashes[kNearLines] == 0) return;
    print->Line = static_cast<std::int32_t>(line);
    for (int i = 0; i < kPrintLines; ++i) print->Hashes[i] = hashes[i];
}

bool FormatStamp(const TextFingerprint& print, char* buffer) {
    buffer[0] = '\0';
    if (!HasStamp(print)) return false;
    FormatInt64(print.Size, buffer);
    char* at = buffer;
    while (*at != '\0') ++at;
    *at++ = ' ';
    FormatInt64(print.Time, at);
    return true;
}

void ParseStamp(const char* text, TextFingerprint* print) {
    print->Size = 0;
    print->Time = 0;
    if (text == nullptr) return;
    const char* at = text;
    std::int64_t size = 0, time = 0;
    if (!ReadDecimal(&at, ' ', 0, INT64_MAX, &size)) return;
    ++at;
    if (!ReadDecimal(&at, '\0', 1, INT64_MAX, &time)) return;
    print->Size = size;
    print->Time = time;
}

CharTableChoice UnknownTable() {
    CharTableChoice table{};
    table.Kind = TableKind::Unknown;
    table.Number = -1;
    return table;
}

bool FormatTable(const CharTableChoice& table, char* buffer) {
    buffer[0] = '\0';
    switch (table.Kind) {
    case TableKind::Oem:
        CopyBounded(buffer, "oem", kTableTextSize);
        return true;
    case TableKind::Ansi:
        CopyBounded(buffer, "ansi", kTableTextSize);
        return true;
    case TableKind::Unicode:
        CopyBounded(buffer, "unicode", kTableTextSize);
        return true;
    case TableKind::Code:
        break;
    case TableKind::Unknown:
    default:
        return false;
    }
    // The name, read no further than its record.
    int length = 0;
    while (length < kTableNameSize && table.Name[length] != '\0') {
        if (table.Name[length] == '"') return false;
        ++length;
    }
    if (length == 0) return false;
    if (length == kTableNameSize) --length;  // an unterminated name: cut as the reader would
    char* at = buffer;
    PutInt(&at, table.Number);
    Put(&at, " ");
    for (int i = 0; i < length; ++i) *at++ = table.Name[i];
    *at = '\0';
    return true;
}

CharTableChoice ParseTable(const char* text) {
    CharTableChoice table = UnknownTable();
    if (text == nullptr) return table;
    if (AsciiCompareNoCase(text, "oem") == 0) {
        table.Kind = TableKind::Oem;
    } else if (AsciiCompareNoCase(text, "ansi") == 0) {
        table.Kind = TableKind::Ansi;
    } else if (AsciiCompareNoCase(text, "unicode") == 0) {
        table.Kind = TableKind::Unicode;
    } else {
        const char* at = text;
        std::int32_t number = 0;
        if (!ReadInt32(&at, ' ', &number) || at[1] == '\0') return table;
        table.Kind = TableKind::Code;
        table.Number = number;
        CopyBounded(table.Name, at + 1, kTableNameSize);
    }
    return table;
}

}  // namespace store
}  // namespace tarnwick
