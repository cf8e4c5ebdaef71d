// The texts of a place's details that are more than one 32-bit number: the
// viewer's 64-bit offset, the set of numbered bookmarks, the character
// table and the text's fingerprint, as doc/position-file.md describes them. Writing gives the one form
// the writer uses; reading is lenient and never fails as a whole.
#pragma once

#include <cstdint>

#include "store/stored_place.h"

namespace tarnwick {
namespace store {

// Room for the longest texts with their terminators: ten entries of a slot,
// a colon, four numbers of up to 11 characters and three commas, with nine
// spaces between; a number, a space and a name of 127 characters.
constexpr int kBookmarksTextSize = 10 * (2 + 4 * 11 + 3) + 9 + 1;
constexpr int kTableTextSize = 11 + 1 + kTableNameSize;
constexpr int kInt64TextSize = 21;
// A line number, four neighbours' 4 hex digits and the line's 8, spaced.
constexpr int kHashesTextSize = 11 + (kPrintLines - 1) * 5 + 9 + 1;
// Two 64-bit numbers and a space.
constexpr int kStampTextSize = 2 * kInt64TextSize;

// Signed decimal, as printf("%lld") writes it; `buffer` holds kInt64TextSize.
void FormatInt64(std::int64_t value, char* buffer);
// True when the whole text is a signed decimal ("-" and digits only) that
// fits; `*value` is untouched otherwise.
bool ParseDecimal64(const char* text, std::int64_t* value);

// The set slots in slot order, one space apart, each "n:line,cursor,screenline,left";
// false (and an empty text) when no slot is set.
bool FormatBookmarks(const Bookmarks& marks, char* buffer);
// All ten slots unset, then each well-formed entry with a slot of 0..9 and
// numbers that fit sets its slot (a later entry of a slot wins; a negative
// line unsets it). Malformed entries are skipped.
Bookmarks ParseBookmarks(const char* text);

// "oem", "ansi", "unicode", or "<number> <name>" for a code table; false (and
// an empty text) for a table that is not to be stored: Unknown, a kind no
// value names, a code table without a name or whose name holds a double
// quote (which the writer could not write).
bool FormatTable(const CharTableChoice& table, char* buffer);
// The table a text names (keywords ignore ASCII case; a name longer than
// the record holds is cut); Unknown, number -1, for a malformed text.
CharTableChoice ParseTable(const char* text);
// The fingerprint's hashes: "<line> <h> <h> <H> <h> <h>", the line in
// decimal, then the hashes top to bottom in lowercase hex, the cursor's
// line in 8 digits and the neighbours in 4; false (and an empty text) when
// it holds none.
bool FormatHashes(const TextFingerprint& print, char* buffer);
// Sets Line and Hashes of `*print` from such a text (hex digits of either
// case, exactly that many); a malformed text, or a cursor line's hash of
// 0, leaves no hashes (all zero).
void ParseHashes(const char* text, TextFingerprint* print);
// The file's stamp: "<size> <time>", both decimal; false (and an empty
// text) when the fingerprint has no stamp.
bool FormatStamp(const TextFingerprint& print, char* buffer);
// Sets Size and Time of `*print` from such a text; a malformed one (a
// negative size, a time that is not positive) leaves them 0: no stamp.
void ParseStamp(const char* text, TextFingerprint* print);

// A table choice with nothing recorded: Unknown, number -1, no name.
CharTableChoice UnknownTable();

}  // namespace store
}  // namespace tarnwick
