// The host's standard functions (the FarStandardFunctions table) as the
// real host performs them, and the table itself with every slot the plug-in
// must not use filled with a function that stops the host.
#pragma once

#include <cstddef>
#include <string>

#include "plugin/host_abi.h"

namespace twhost {

// Fills `table` completely: the services the plug-in uses, and for every
// other slot a function that reports the slot's name and exits.
void FillStandardFunctions(tarnwick::FarStandardFunctions* table);

// The comparisons and path helpers behind the table, also used by the
// host's own commands.
char FoldCase(char c);
int CompareIgnoringCase(const char* a, const char* b, int count);  // count < 0: whole strings
// Masks as the real host reads them: '*' any run of characters ('\'
// included), '?' one character, "[c,x-z]" one character of the set or
// range, letters ignoring case; "name.*" also matches "name" and "*."
// matches a name without an extension. A list is split at commas only.
bool MatchMask(const char* mask, const char* name);
bool MatchMaskList(const char* masks, const char* name, bool skipPath);
// The length of the longest comma-separated mask of the list.
std::size_t LongestMaskInList(const char* masks);
// "..." in place of the middle (after an "X:\" or "\\server\share\"
// root that leaves room) or of the start, to exactly maxLength characters.
void TruncatePath(char* text, int maxLength);

}  // namespace twhost
