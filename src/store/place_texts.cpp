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
    std::int64_t number = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        int digit = *at - '0';
        if (number < (INT64_MIN + digit) / 10) return false;
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

}  // namespace

void FormatInt64(std::int64_t value, char* buffer) {
    char digits[kInt64TextSize];
    int count = 0;
    // Digits of the magnitude, taken from the negative value so that the
    // minimum needs no special case.
    std::int64_t rest = value < 0 ? value : -value;
    do {
        digits[count++] = static_cast<char>('0' - rest % 10);
        rest /= 10;
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
