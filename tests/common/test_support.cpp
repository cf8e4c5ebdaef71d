#include "common/test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarnwick {
namespace testing_support {

namespace {

int g_counter = 0;

#if defined(_WIN32)
void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
#else
void RemoveTree(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (dir != nullptr) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = path + "/" + name;
            struct stat info;
            if (lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                RemoveTree(child);
            } else {
                unlink(child.c_str());
            }
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}
#endif

}  // namespace

char PathSeparator() {
#if defined(_WIN32)
    return '\\';
#else
    return '/';
#endif
}

std::string UniqueName(const std::string& prefix) {
#if defined(_WIN32)
    unsigned long pid = GetCurrentProcessId();
    unsigned long tick = GetTickCount();
#else
    unsigned long pid = static_cast<unsigned long>(getpid());
    unsigned long tick = static_cast<unsigned long>(time(nullptr));
#endif
    std::ostringstream name;
    name << prefix << "-" << pid << "-" << tick << "-" << ++g_counter;
    return name.str();
}

TempDir::TempDir() {
#if defined(_WIN32)
    char base[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, base);
    std::string root = (n > 0 && n < MAX_PATH) ? std::string(base) : std::string(".\\");
    if (!root.empty() && root.back() != '\\') root += '\\';
    path_ = root + UniqueName("tarnwick-test");
    CreateDirectoryA(path_.c_str(), nullptr);
#else
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarnwick-test-XXXXXX";
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%s", pattern.c_str());
    const char* made = mkdtemp(buffer);
    path_ = made ? made : pattern;
#endif
}

TempDir::~TempDir() { RemoveTree(path_); }

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
