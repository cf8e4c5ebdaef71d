// The parts of the host's file helpers that are POSIX's own.
#include <filesystem>
#include <system_error>

#include "core/files.h"

namespace twhost {

char PathSeparator() { return '/'; }

const char* NativeLineEnd() { return "\n"; }

std::string ExecutableFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return AbsolutePath(".");
    return self.parent_path().string();
}

}  // namespace twhost
