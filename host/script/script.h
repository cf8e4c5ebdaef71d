// The host's command language: one command per line, '#' comments and
// blank lines ignored, "## text" printed as narration. Commands move the
// simulated editors, call the plug-in's exports, queue answers for the UI
// it shows, and check the outcome; a failed check ends a script with a
// non-zero exit code.
#pragma once

#include <istream>
#include <string>

namespace twhost {

struct ScriptState;

// Runs commands from `in`, queueing their answers in `script` (which the
// line-oriented front end takes them from). `name` labels the lines in
// messages. In interactive mode a prompt is shown, UI waits for typed
// answers (set as the script's prompt), and a failed command is reported
// without ending the session. Returns the process's exit code.
int RunCommands(ScriptState& script, std::istream& in, const std::string& name, bool interactive);

}  // namespace twhost
