// The POSIX environment: the object itself, the heap, the process, and the
// helpers the other env_*_posix.cpp files share.
#include "platform/env_posix.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarnwick {
namespace platform {

namespace {

// The one PosixEnv. Constant-initialized, so that it is there before any
// code of the module runs; its only state is the counter of temporary
// names, so its destruction at unload does nothing (and a module unloaded
// and loaded again leaks nothing).
posix::PosixEnv g_default_env;

}  // namespace

Env* Env::Default() { return &g_default_env; }

namespace posix {

void* PosixEnv::AllocZeroed(std::size_t size) { return std::calloc(size != 0 ? size : 1, 1); }

void* PosixEnv::Alloc(std::size_t size) { return std::malloc(size != 0 ? size : 1); }

void PosixEnv::Release(void* block) { std::free(block); }

void PosixEnv::SleepMilliseconds(unsigned milliseconds) {
    timespec wait;
    wait.tv_sec = static_cast<time_t>(milliseconds / 1000);
    wait.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    timespec rest;
    while (nanosleep(&wait, &rest) != 0 && errno == EINTR) wait = rest;
}

std::uint32_t PosixEnv::ProcessId() { return static_cast<std::uint32_t>(getpid()); }

bool PosixEnv::ProcessRunning(std::uint32_t processId) {
    pid_t pid = static_cast<pid_t>(processId);
    // 0 and negative numbers name process groups, not a process.
    if (pid <= 0 || static_cast<std::uint32_t>(pid) != processId) return true;
    return kill(pid, 0) == 0 || errno != ESRCH;
}

FileTime PosixEnv::CurrentTime() {
    timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return FileTime{0, 0};
    return FileTimeOf(now);
}

FileTime FileTimeOf(const timespec& time) {
    // FILETIME counts 100 ns ticks since 1601-01-01; the Unix epoch is
    // 11644473600 seconds later.
    constexpr std::int64_t kEpochOffset = 11644473600LL;
    std::int64_t seconds = static_cast<std::int64_t>(time.tv_sec) + kEpochOffset;
    std::uint64_t ticks = 0;
    if (seconds >= 0) {
        ticks = static_cast<std::uint64_t>(seconds) * 10000000ULL + static_cast<std::uint64_t>(time.tv_nsec) / 100;
    }
    return FileTime{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

std::size_t Length(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

bool Append(char* buffer, std::size_t size, std::size_t* used, const char* text, std::size_t count) {
    if (*used + count + 1 > size) return false;
    for (std::size_t i = 0; i < count; ++i) buffer[*used + i] = text[i];
    *used += count;
    buffer[*used] = '\0';
    return true;
}

bool AppendText(char* buffer, std::size_t size, std::size_t* used, const char* text) {
    return Append(buffer, size, used, text, Length(text));
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, unsigned char* data, std::size_t size, std::size_t* read_count) {
    std::size_t total = 0;
    while (total < size) {
        ssize_t got = read(fd, data + total, size - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    *read_count = total;
    return true;
}

int LockNoWait(int fd, int operation) {
    int result;
    do {
        result = flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result;
}

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
