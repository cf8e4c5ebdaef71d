#include "common/test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/system_tools.h"
#include "platform/env.h"

namespace tarnwick {
namespace testing_support {

namespace {

int g_counter = 0;

}  // namespace

std::string UniqueName(const std::string& prefix) {
    unsigned long pid = static_cast<unsigned long>(platform::Env::Default()->ProcessId());
    std::ostringstream name;
    name << prefix << "-" << pid << "-" << ClockCount() << "-" << ++g_counter;
    return name.str();
}

TempDir::TempDir() : path_(MakeTempFolder("tarnwick-test")) {}

TempDir::~TempDir() { RemoveFolderTree(path_); }

std::string TempDir::File(const std::string& name) const { return path_ + PathSeparator() + name; }

bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

bool DeleteFilePath(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace testing_support
}  // namespace tarnwick
