// Built instead of tui/ when ncurses was not found.
#include "tui/full_screen.h"

namespace twhost {

std::unique_ptr<FullScreen> PrepareFullScreen(std::string* error) {
    *error = "this tarnwick-host was built without the full-screen front end (install libncurses-dev and build again)";
    return nullptr;
}

}  // namespace twhost
