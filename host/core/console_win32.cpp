// The console on Windows: it shows the OEM code page, the plug-in's own,
// so text passes unchanged and one byte is one column.
#include <string>

#include "core/console.h"

namespace twhost {

std::string ForConsole(const char* text) { return text == nullptr ? "(null)" : std::string(text); }

void SetConsoleCodePage866(bool) {}

std::size_t DisplayWidth(const std::string& text) { return text.size(); }

}  // namespace twhost
