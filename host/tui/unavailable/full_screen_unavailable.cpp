// Built instead of tui/ when ncurses was not found.
#include "tui/full_screen.h"

namespace twhost {

bool PrepareFullScreen(std::string* error) {
    *error = "this tarnwick-host was built without the full-screen front end (install libncurses-dev and build again)";
    return false;
}

int RunFullScreen() { return 2; }

}  // namespace twhost
