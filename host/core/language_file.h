// The host's language files: `<Module><Lang>.lng` beside the module, a first
// line `.Language=Name,Description`, then one message per line in number
// order, each text in double quotes (escapes \n \r \t \b \\ \" and ""); lines
// beginning with neither a dot nor a quote are ignored.
#pragma once

#include <string>
#include <vector>

namespace twhost {

struct LanguageFile {
    std::string Language;               // the name after ".Language=", up to the comma
    std::vector<std::string> Messages;  // message n is Messages[n]
};

// Reads a language file. Blank lines and comment lines are skipped; a text
// line holds the characters between its first and its last double quote.
// False, with the reason in `error`, when the file cannot be read, its first
// line is not a `.Language=` line, or a message line is not quoted.
bool ReadLanguageFile(const std::string& path, LanguageFile* file, std::string* error);

// The texts the plug-in's GetMsg service hands out. A file that could not be
// read leaves the table empty, so every message is null.
void SetActiveLanguage(const LanguageFile& file);
const LanguageFile& ActiveLanguage();

}  // namespace twhost
