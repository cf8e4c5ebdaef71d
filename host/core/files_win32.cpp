// The parts of the host's file helpers that are Windows's own.
#include <windows.h>

#include "core/files.h"

namespace twhost {

char PathSeparator() { return '\\'; }

const char* NativeLineEnd() { return "\r\n"; }

std::string ExecutableFolder() {
    char buffer[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return AbsolutePath(".");
    return FolderOf(std::string(buffer, length));
}

}  // namespace twhost
