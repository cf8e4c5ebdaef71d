// Zero-terminated 8-bit strings in the host's code page.
//
// Lengths and bounded copies (the semantics of lstrlenA / lstrcpynA /
// lstrcatA, but never writing past the given buffer size), comparisons of
// ASCII letters ignoring case, and hashes of paths. Comparisons that follow
// the host's code page are a CaseComparison's (support/case_comparison.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

// Length of a zero-terminated string; 0 for null.
std::size_t StrLength(const char* text);

// Copies at most size-1 characters of `source` and a terminator into
// `destination` (nothing at all when size is 0). Returns true when the
// whole source fitted, false when it was cut.
bool CopyBounded(char* destination, const char* source, std::size_t size);

// Appends `source` to the zero-terminated string in `destination`, a buffer
// of `size` bytes, cutting at the buffer's end. Returns true when it fitted.
bool AppendBounded(char* destination, const char* source, std::size_t size);

// True when both texts hold the same bytes; null equals only null.
inline bool SameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    for (; *a == *b; ++a, ++b) {
        if (*a == '\0') return true;
    }
    return false;
}

// Comparisons ignoring the case of ASCII letters only, with the sign of
// strcmp; null counts as "".
int AsciiCompareNoCase(const char* a, const char* b);
int AsciiCompareNoCaseN(const char* a, const char* b, int count);

// Hash that is equal for any two strings that compare equal ignoring case
// under any single-byte code page: ASCII letters are folded, and every byte
// of 0x80 and above counts as one and the same character (its case pair
// lies in the same range, but which byte it is depends on the code page).
// Lets indexes over paths stay consistent with any CaseComparison. Names that differ
// only in bytes of 0x80 and above all hash alike.
std::uint32_t FoldedHash(const char* text);

// Decimal text of a signed 32-bit number; `buffer` must hold 12 bytes.
// Returns the number of characters written (terminator not counted).
int FormatInt(int value, char* buffer);
// The same for an unsigned 32-bit number; `buffer` must hold 11 bytes.
int FormatUnsigned(std::uint32_t value, char* buffer);

}  // namespace tarnwick
