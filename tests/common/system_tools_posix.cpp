// The test system tools on POSIX.
#include "common/system_tools.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tarnwick {
namespace testing_support {

namespace {

// Seconds from 1601 (FILETIME's epoch) to 1970.
constexpr std::int64_t kEpochOffset = 11644473600LL;
constexpr const char* kRegistryRootVariable = "TARNWICK_REGISTRY_ROOT";

}  // namespace

const bool kIsWindows = false;

char PathSeparator() { return '/'; }

std::string FileSystemRoot() { return "/"; }

unsigned long ClockCount() { return static_cast<unsigned long>(std::time(nullptr)); }

std::uint64_t NowTicks() {
    return (static_cast<std::uint64_t>(std::time(nullptr)) + kEpochOffset) * 10000000ULL;
}

std::string MakeTempFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%s", pattern.c_str());
    const char* made = mkdtemp(buffer);
    return made ? made : pattern;
}

bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0700) == 0; }

void RemoveFolderTree(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (dir != nullptr) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = path + "/" + name;
            struct stat info;
            if (lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                RemoveFolderTree(child);
            } else {
                unlink(child.c_str());
            }
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool SetLastWriteTime(const std::string& path, const platform::FileTime& time) {
    std::uint64_t ticks = (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(static_cast<std::int64_t>(ticks / 10000000ULL) - kEpochOffset);
    times[1].tv_nsec = static_cast<long>(ticks % 10000000ULL) * 100L;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string UndecidablePath(const std::string& folder) {
    const std::string a = folder + "/loop-a";
    const std::string b = folder + "/loop-b";
    if (symlink(b.c_str(), a.c_str()) != 0 || symlink(a.c_str(), b.c_str()) != 0) return std::string();
    return a + "/Plan.txt";
}

std::string UnmappedDrivePath() { return std::string(); }

ForeignWriter::ForeignWriter(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    handle_ = fd;
    held_ = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
}

ForeignWriter::~ForeignWriter() { Unlock(); }

void ForeignWriter::Unlock() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
    handle_ = -1;
    held_ = false;
}

ForeignReader::ForeignReader(const std::string& path, bool shareWriting) {
    (void)shareWriting;  // advisory locks know no share modes
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && flock(fd, LOCK_SH | LOCK_NB) != 0) {
        close(fd);
        fd = -1;
    }
    handle_ = fd;
}

ForeignReader::~ForeignReader() { Release(); }

void ForeignReader::Release() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
    handle_ = -1;
}

std::string ProgramFolder() {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "./";
    std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}

std::string SiblingProgram(const std::string& name) { return ProgramFolder() + name; }

ChildProcess::~ChildProcess() {
    if (started_) Kill();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments) {
    if (started_) return false;
    std::vector<char*> argv;
    std::vector<std::string> copies;
    copies.push_back(program);
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    for (std::string& argument : copies) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    id_ = static_cast<std::uint32_t>(pid);
    started_ = true;
    return true;
}

void ChildProcess::Kill() {
    if (!started_) return;
    kill(static_cast<pid_t>(id_), SIGKILL);
    Wait();
}

int ChildProcess::Wait() {
    if (!started_) return -1;
    int status = 0;
    pid_t done;
    do {
        done = waitpid(static_cast<pid_t>(id_), &status, 0);
    } while (done < 0 && errno == EINTR);
    started_ = false;
    if (done < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void SleepMs(unsigned milliseconds) { usleep(static_cast<useconds_t>(milliseconds) * 1000u); }

RegistryRootOverride::RegistryRootOverride(const std::string& folder) {
    const char* previous = std::getenv(kRegistryRootVariable);
    had_previous_ = previous != nullptr;
    if (had_previous_) previous_ = previous;
    setenv(kRegistryRootVariable, folder.c_str(), 1);
}

RegistryRootOverride::~RegistryRootOverride() {
    if (had_previous_) {
        setenv(kRegistryRootVariable, previous_.c_str(), 1);
    } else {
        unsetenv(kRegistryRootVariable);
    }
}

}  // namespace testing_support
}  // namespace tarnwick
