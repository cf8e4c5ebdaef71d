// What the host's script commands share: the parsed command line and the
// small parsing and reporting helpers every command uses.
#pragma once

#include <string>
#include <vector>

#include "core/editors.h"
#include "plugin/host_abi.h"
#include "script/position_text.h"

namespace twhost {

struct ScriptState;

struct Args {
    std::vector<std::string> Words;  // Words[0] is the command
    std::string Line;
    std::string Where;               // "file:line"
    bool NextUi = false;             // "next CHECK": the check is for the next UI shown
    ScriptState* Script = nullptr;   // the run's state, where answers and checks are queued
};


// The words of a line; a word in double quotes may hold blanks.
std::vector<std::string> SplitWords(const std::string& line);
// The rest of the line after `words` words, one pair of enclosing double
// quotes removed (so that leading or trailing blanks can be given).
std::string RestAfter(const std::string& line, int words);
bool ParseInt(const std::string& text, int* value);
bool NeedInt(const Args& args, std::size_t index, int* value, std::string* error);
bool NeedOnOff(const std::string& word, bool* on, std::string* error);
// A name from a script, made absolute inside the work folder.
std::string Resolve(const std::string& name);
bool Contains(const std::string& text, const std::string& part);

// "PF_EDITOR | PF_DISABLEPANELS" for the plug-in's flags.
std::string FlagNames(tarnwick::DWORD_T flags);

bool NeedEditor(SimEditor** editor, std::string* error);
// Prints where the current editor stands.
bool ReportEditor(std::string* error);
// Prints a file, or that it does not exist.
void ShowFile(const std::string& path);
// The lines of the file the cfg commands look at; false when it is missing.
bool ReadCfg(std::vector<TextLine>* lines, bool* exists);

}  // namespace twhost
