// The host's standard functions (the FarStandardFunctions slots the plug-in
// uses) as the real host performs them, and the comparisons and path helpers
// behind them. They are the defaults of every stand-in host built with the
// kit (stand_in_host.h); the substitute host wraps them with its trace and
// its checks of what the plug-in hands in.
#pragma once

#include <cstddef>

#include "plugin/host_abi.h"

namespace hostkit {

// ---- The table's functions ---------------------------------------------

int TW_CDECL Sprintf(char* buffer, const char* format, ...);
int TW_CDECL Sscanf(const char* buffer, const char* format, ...);
// Digits of `value` in `radix` (2 to 36; any other radix gives ""): a sign
// in radix 10 only, the bits of a negative number in the others, as the C
// runtime does. A null buffer is returned as it is.
char* TW_STDCALL Itoa(int value, char* buffer, int radix);
// FoldCase on every character; a null text is left alone.
void TW_STDCALL LStrlwr(char* text);
int TW_STDCALL LStricmp(const char* a, const char* b);
// 0 for a count of 0 or less.
int TW_STDCALL LStrnicmp(const char* a, const char* b, int count);
// Removes every double quote; a null text is left alone.
void TW_STDCALL Unquote(char* text);
// TruncatePath in place, as the 1.75 host does; returns `text` (null
// stays null).
char* TW_STDCALL TruncPathStr(char* text, int maxLength);
// Name matching only: PN_CMPNAME, or PN_CMPNAMELIST for a comma-separated
// list, each with PN_SKIPPATH. 1 for a match, else 0 (also for null
// arguments and for any other flag).
int TW_STDCALL ProcessName(const char* masks, char* name, tarnwick::DWORD_T flags);

// ---- The helpers behind them -------------------------------------------

// Lower case as the host folds it: ASCII natively; on Windows also the
// Cyrillic capitals of code page 866, the host's OEM code page.
char FoldCase(char c);
// Compares ignoring case, at most `count` characters (count < 0: whole
// strings). A null text sorts before any other.
int CompareIgnoringCase(const char* a, const char* b, int count);
// Masks as the real host reads them: '*' any run of characters ('\'
// included), '?' one character, "[c,x-z]" one character of the set or
// range, letters ignoring case; "name.*" also matches "name" and "*."
// matches a name without an extension. A list is split at commas only.
bool MatchMask(const char* mask, const char* name);
bool MatchMaskList(const char* masks, const char* name, bool skipPath);
// The length of the longest comma-separated mask of the list.
std::size_t LongestMaskInList(const char* masks);
// The name part of a path: what follows its last '\', '/' or ':'.
const char* NamePart(const char* path);
// "..." in place of the middle (after an "X:\" or "\\server\share\"
// root that leaves room) or of the start, to exactly maxLength characters.
// The 1.75 host's roots have backslashes only; the 3.x layer's take '/'
// as well (`slashSeparates`).
void TruncatePath(char* text, int maxLength, bool slashSeparates);

}  // namespace hostkit
