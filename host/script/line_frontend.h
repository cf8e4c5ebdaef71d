// The line-oriented front end: prints each menu, message box and dialog as
// text and takes its answer from the script's queue (or the console's
// prompt in interactive mode).
#pragma once

#include "core/ui_frontend.h"

namespace twhost {

// The one line-oriented front end; it holds no state of its own.
UiFrontend& LineFrontend();

}  // namespace twhost
