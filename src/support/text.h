// Zero-terminated 8-bit strings in the host's code page.
//
// Lengths and bounded copies (the semantics of lstrlenA / lstrcpynA /
// lstrcatA, but never writing past the given buffer size), and the
// case-insensitive comparisons that the whole plug-in uses. Comparisons go
// through a small table of text services: the plug-in points it at the
// host's LStricmp / LStrnicmp once the host has handed them over, so that
// letters of the host's code page (Cyrillic in 866, say) compare the way the
// host compares them. Until then, and in programs without a host, an
// ASCII-only comparison is used.
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

// Case-insensitive comparisons with the sign of strcmp.
struct TextServices {
    int (*CompareNoCase)(const char* a, const char* b);
    int (*CompareNoCaseN)(const char* a, const char* b, int count);
};

// Installs the comparison functions (null members fall back to ASCII).
// Passing null restores the ASCII fallback for both.
void SetTextServices(const TextServices* services);

int CompareNoCase(const char* a, const char* b);
int CompareNoCaseN(const char* a, const char* b, int count);

// True when CompareNoCase(a, b) is 0. Answered without the installed
// comparison when the texts hold the same bytes, or when they differ in
// length, in an ASCII letter beyond case, or in a byte below 0x80 against
// one above: texts that compare equal ignoring case under any single-byte
// code page never do (the rule FoldedHash rests on). Only texts that may
// be equal are passed to the comparison.
bool EqualNoCase(const char* a, const char* b);

// ASCII-only fallbacks, also usable directly.
int AsciiCompareNoCase(const char* a, const char* b);
int AsciiCompareNoCaseN(const char* a, const char* b, int count);

// Hash that is equal for any two strings that compare equal ignoring case
// under any single-byte code page: ASCII letters are folded, and every byte
// of 0x80 and above counts as one and the same character (its case pair
// lies in the same range, but which byte it is depends on the code page).
// Lets indexes over paths stay consistent with CompareNoCase whatever text
// services are installed, before and after they change. Names that differ
// only in bytes of 0x80 and above all hash alike.
std::uint32_t FoldedHash(const char* text);

// Hash that is equal for any two strings that compare equal with the
// comparison installed now: every byte is folded through a table of 256
// entries built from that comparison itself, on the first hash after
// SetTextServices (bytes that compare equal as one-character strings fold
// alike). Agrees with any comparison that orders strings byte by byte
// through a case mapping, as the host's does. Strings that compare
// unequal, bytes above 0x7F included, rarely collide. The hash changes when
// the text services do, so it is for indexes that live within one call (the
// parser's index of open elements).
std::uint32_t CaseHash(const char* text);

// Decimal text of a signed 32-bit number; `buffer` must hold 12 bytes.
// Returns the number of characters written (terminator not counted).
int FormatInt(int value, char* buffer);

}  // namespace tarnwick
