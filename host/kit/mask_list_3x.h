// The mask lists of the 3.x host's layer for 1.x plug-ins (ProcessName with
// PN_CMPNAMELIST there): masks separated by ',' or ';', double quotes
// grouping a mask that holds separators or spaces, '|' starting the masks
// that exclude, "/.../" a regular expression and "<name>" a mask group.
#pragma once

namespace hostkit {

enum class MaskListMatch { NoMatch, Match, Invalid };

// Whether `name` (taken whole: the caller cuts the path off) matches the
// list: it matches one include mask and no exclude mask. Plain masks
// follow MatchMask (kit/standard_functions.h); a regular expression
// matches when it is found anywhere in the name, ignoring case (letters
// after its closing '/' are accepted and ignored). Spaces around a mask
// are dropped, and empty masks between separators are skipped.
// An empty include part ("|*.bak") stands for "*". Invalid: an empty list,
// '|' with no exclude mask after it or a second '|', a regular expression
// without its closing '/', one that does not compile or one followed by
// anything but a separator, and any "<...>" group: this host defines no
// groups, and an unknown group makes the real parser reject the list.
// A mask of any length is matched; nothing is copied into a fixed buffer.
MaskListMatch MatchMaskList3x(const char* masks, const char* name);

}  // namespace hostkit
