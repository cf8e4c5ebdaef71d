// The POSIX environment's update lock: a file beside the position file,
// locked with flock(), unlinked by its holder before it lets go.
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/env_posix.h"

namespace tarnwick {
namespace platform {

struct LockFile {
    int fd;
    char path[posix::kSystemPathSize];
};

namespace posix {

Status PosixEnv::TryLockFile(const char* path, LockFile** lock) {
    if (lock == nullptr) return Status::Unavailable;
    *lock = nullptr;
    if (path == nullptr || path[0] == '\0' || Length(path) >= kSystemPathSize) return Status::Unavailable;
    int fd;
    do {
        fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return Status::Unavailable;
    if (LockNoWait(fd, LOCK_EX) != 0) {
        bool busy = errno == EWOULDBLOCK;
        close(fd);
        // Where the file system has no locks there is no lock to have.
        return busy ? Status::Busy : Status::Unavailable;
    }
    // The holder before us unlinks the file before it closes it: a lock on
    // a file no longer at `path` guards nothing, and the next try opens the
    // new one.
    struct stat held;
    struct stat named;
    if (fstat(fd, &held) != 0 || stat(path, &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev || !S_ISREG(held.st_mode)) {
        close(fd);
        return Status::Busy;
    }
    LockFile* made = static_cast<LockFile*>(std::calloc(1, sizeof(LockFile)));
    if (made == nullptr) {
        close(fd);
        return Status::Unavailable;
    }
    made->fd = fd;
    std::size_t used = 0;
    AppendText(made->path, sizeof made->path, &used, path);
    *lock = made;
    return Status::Ok;
}

void PosixEnv::UnlockFile(LockFile* lock) {
    if (lock == nullptr) return;
    unlink(lock->path);
    close(lock->fd);  // releases the lock
    std::free(lock);
}

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
