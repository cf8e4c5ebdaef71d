// Helpers shared by the test programs: a private temporary folder per test
// and whole-file reads and writes, on POSIX and on Windows alike.
#pragma once

#include <string>

#include "common/system_tools.h"

namespace tarnwick {
namespace testing_support {

// A fresh, empty folder that is removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // `name` joined to the folder with the platform's separator.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// PathSeparator() and the other system tools: common/system_tools.h.
bool WriteWholeFile(const std::string& path, const std::string& content);
// The file's bytes; empty when it cannot be read (see FileExists).
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
bool DeleteFilePath(const std::string& path);
// A name unique to this process and call, for registry keys and the like.
std::string UniqueName(const std::string& prefix);

}  // namespace testing_support
}  // namespace tarnwick
