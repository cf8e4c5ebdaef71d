// The names the 3.x host's layer for 1.x plug-ins hands a plug-in: it keeps
// its own names in UTF-16 and converts every name crossing to the plug-in
// into the OEM code page, so a character that code page lacks becomes its
// best-fit character or '?', and the name the plug-in gets may no longer
// name the file (or may name another one).
//
// The substitute host keeps its names as the script gives them, in UTF-8,
// and models the conversion with code page 437 on every system (the Windows
// build handles files by narrow names, so it has no wide name to convert).
#pragma once

#include <string>

namespace twhost {

// The OEM code page the substitute host's 3.x layer converts names to.
constexpr int kOemNameCodePage = 437;

// `name` (UTF-8) in code page 437: ASCII as it is, a character of the code
// page as its byte, a Latin letter with a diacritic the code page lacks as
// its base letter (the best fit: U+0151 'ő' gives 'o'), anything else as
// '?'. Bytes that are not valid UTF-8 pass through as they are, so a name
// already in OEM bytes is left alone.
std::string OemNameOf(const std::string& name);

// `name` (UTF-8) in UTF-16, as the 3.x host keeps its names; bytes that are
// not valid UTF-8 become the characters U+0080 to U+00FF of the same value.
std::u16string WideNameOf(const std::string& name);

// The name the plug-in is given for a file the host holds as `name`: as it
// is in the 1.75 host, OemNameOf(name) in the 3.x layer.
std::string NameForPlugin(const std::string& name);

}  // namespace twhost
