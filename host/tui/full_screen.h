// The full-screen front end (tui/), built natively when ncurses is found.
#pragma once

#include <memory>
#include <string>

namespace twhost {

// The full-screen host: the terminal it draws on, the front end the
// services use while it runs, and the log that takes the host's output
// lines. main makes it right after the options are read and keeps it until
// the process ends; while it lives, the host's output lines go to the log
// (--log) or nowhere.
class FullScreen {
public:
    virtual ~FullScreen() = default;
    // Runs the panels and the editor until the user quits (F10); the module
    // is started and stays loaded until then. Returns the exit code.
    virtual int Run() = 0;
};

// Null, with the reason, when this host was built without the full-screen
// front end.
std::unique_ptr<FullScreen> PrepareFullScreen(std::string* error);

}  // namespace twhost
