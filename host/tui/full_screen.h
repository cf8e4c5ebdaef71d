// The full-screen front end (tui/), built natively when ncurses is found.
#pragma once

#include <string>

namespace twhost {

// Called right after the options are read: sends the host's output lines
// to the log (or nowhere). False, with the reason, when this host was built
// without the full-screen front end.
bool PrepareFullScreen(std::string* error);
// Runs the panels and the editor until the user quits (F10); the module is
// started and stays loaded until then. Returns the exit code.
int RunFullScreen();

}  // namespace twhost
