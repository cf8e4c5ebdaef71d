// The POSIX environment's files: reading with a shared lock, the steps of a
// whole-file replace, and the existence probe.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/env_posix.h"

namespace tarnwick {
namespace platform {

struct File {
    int fd;
};

struct WritableFile {
    int fd;
};

namespace posix {

namespace {

// Flushes the folder holding `path`, so that a rename in it is on disk.
void SyncFolderOf(const char* path) {
    char folder[kSystemPathSize];
    std::size_t used = 0;
    folder[0] = '\0';
    std::size_t length = Length(path);
    std::size_t slash = length;
    while (slash > 0 && path[slash - 1] != '/') --slash;
    bool fits = slash == 0 ? AppendText(folder, sizeof folder, &used, ".")
                           : Append(folder, sizeof folder, &used, path, slash);
    if (!fits) return;
    int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

Status StatusOfWriteError(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return Status::Denied;
    default:
        return Status::Failed;
    }
}

bool Stat(File* file, struct stat* info) { return file != nullptr && fstat(file->fd, info) == 0; }

}  // namespace

Status PosixEnv::OpenForRead(const char* path, File** file) {
    if (file == nullptr) return Status::Failed;
    *file = nullptr;
    if (path == nullptr || path[0] == '\0') return Status::NotFound;
    // Non-blocking, so that opening a named pipe cannot hang.
    int fd;
    do {
        fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return Status::NotFound;
        case EACCES:
        case EPERM:
            return Status::Denied;
        default:
            return Status::Failed;
        }
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        close(fd);
        return Status::Failed;
    }
    // A folder cannot be opened as a file on Windows either; pipes and
    // sockets are no files to read a document from.
    if (S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
        close(fd);
        return Status::Denied;
    }
    // Where the file system has no locks, reading goes on unlocked.
    if (LockNoWait(fd, LOCK_SH) != 0 && errno == EWOULDBLOCK) {
        close(fd);
        return Status::Busy;
    }
    File* opened = static_cast<File*>(std::calloc(1, sizeof(File)));
    if (opened == nullptr) {
        close(fd);
        return Status::Failed;
    }
    opened->fd = fd;
    *file = opened;
    return Status::Ok;
}

bool PosixEnv::GetFileTime(File* file, FileTime* time) {
    struct stat info;
    if (time == nullptr || !Stat(file, &info)) return false;
    *time = FileTimeOf(info.st_mtim);
    return true;
}

bool PosixEnv::GetFileSize(File* file, std::uint64_t* size) {
    struct stat info;
    if (size == nullptr || !Stat(file, &info) || info.st_size < 0) return false;
    *size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

Status PosixEnv::StatFile(const char* path, std::uint64_t* size, FileTime* time) {
    if (path == nullptr || path[0] == '\0' || size == nullptr || time == nullptr) return Status::NotFound;
    struct stat info;
    if (stat(path, &info) != 0) return errno == ENOENT || errno == ENOTDIR ? Status::NotFound : Status::Failed;
    if (!S_ISREG(info.st_mode)) return Status::Denied;
    if (info.st_size < 0) return Status::Failed;
    *size = static_cast<std::uint64_t>(info.st_size);
    *time = FileTimeOf(info.st_mtim);
    return Status::Ok;
}

bool PosixEnv::GetFileIdentity(File* file, std::uint64_t* identity) {
    struct stat info;
    if (identity == nullptr || !Stat(file, &info)) return false;
    *identity = static_cast<std::uint64_t>(info.st_ino) ^ (static_cast<std::uint64_t>(info.st_dev) << 48) ^
                (static_cast<std::uint64_t>(info.st_dev) >> 16);
    return true;
}

bool PosixEnv::ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (file == nullptr || read == nullptr || (buffer == nullptr && size != 0)) return false;
    std::size_t got = 0;
    bool ok = ReadAll(file->fd, static_cast<unsigned char*>(buffer), size, &got);
    *read = static_cast<std::uint32_t>(got);
    return ok;
}

void PosixEnv::CloseFile(File* file) {
    if (file == nullptr) return;
    close(file->fd);  // releases the shared lock
    std::free(file);
}

Status PosixEnv::ProbePath(const char* path) {
    if (path == nullptr || path[0] == '\0') return Status::Failed;
    struct stat info;
    if (stat(path, &info) == 0) return Status::Exists;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return Status::NotFound;
    default:
        return Status::Failed;
    }
}

bool PosixEnv::ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) {
    // Replace the file a symbolic link points to, not the link.
    char resolved[kSystemPathSize];
    struct stat link_info;
    if (path == nullptr || lstat(path, &link_info) != 0 || !S_ISLNK(link_info.st_mode)) return false;
    if (realpath(path, resolved) == nullptr) return false;
    std::size_t used = 0;
    if (size == 0) return false;
    buffer[0] = '\0';
    return AppendText(buffer, size, &used, resolved);
}

Status PosixEnv::CreateNewFile(const char* path, WritableFile** file) {
    if (file == nullptr) return Status::Failed;
    *file = nullptr;
    if (path == nullptr || path[0] == '\0') return Status::Failed;
    int fd;
    do {
        fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EEXIST) return Status::Exists;
        return StatusOfWriteError(errno);
    }
    WritableFile* opened = static_cast<WritableFile*>(std::calloc(1, sizeof(WritableFile)));
    if (opened == nullptr) {
        close(fd);
        unlink(path);
        return Status::Failed;
    }
    opened->fd = fd;
    *file = opened;
    return Status::Ok;
}

bool PosixEnv::WriteFile(WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) {
    if (file == nullptr || written == nullptr || (data == nullptr && size != 0)) return false;
    *written = 0;
    ssize_t count;
    do {
        count = write(file->fd, data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return false;
    *written = static_cast<std::uint32_t>(count);
    return true;
}

bool PosixEnv::FlushFile(WritableFile* file) { return file != nullptr && fsync(file->fd) == 0; }

bool PosixEnv::CloseWritable(WritableFile* file) {
    if (file == nullptr) return false;
    // After an interrupted close the descriptor is gone on Linux; do not retry.
    bool closed = close(file->fd) == 0;
    std::free(file);
    return closed;
}

Status PosixEnv::RenameOver(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) return Status::Failed;
    // A replaced file keeps its permissions (a new file was made with the
    // usual ones, reduced by the umask).
    struct stat target_info;
    if (stat(target, &target_info) == 0) {
        if (S_ISDIR(target_info.st_mode)) return Status::Denied;
        // A file nobody may write (as the read-only attribute on Windows),
        // or one this user may not write, is not replaced: Windows refuses
        // the move in the same case. Root passes the access test, so the
        // mode bits are looked at too.
        if ((target_info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Status::Denied;
        if (access(target, W_OK) != 0 && errno == EACCES) return Status::Denied;
        chmod(source, target_info.st_mode & 07777);
    }
    // Exclude readers of the old file for the moment of the swap; a reader
    // that holds it already makes the replacement fail, as on Windows. (Some
    // network file systems lock exclusively only what is open for writing.
    // Where the file system has no locks, the swap goes on unlocked.)
    int held = open(target, O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (held < 0) held = open(target, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (held >= 0 && LockNoWait(held, LOCK_EX) != 0 && errno == EWOULDBLOCK) {
        close(held);
        return Status::Busy;
    }
    if (rename(source, target) != 0) {
        int error = errno;
        if (held >= 0) close(held);
        return StatusOfWriteError(error);
    }
    SyncFolderOf(target);
    if (held >= 0) close(held);
    return Status::Ok;
}

bool PosixEnv::RemoveFile(const char* path) { return path != nullptr && unlink(path) == 0; }

bool PosixEnv::ListFiles(const char* pathPrefix, const char* suffix,
                         void (*visit)(const char* path, const FileTime& written, void* context), void* context) {
    if (pathPrefix == nullptr || suffix == nullptr || visit == nullptr) return false;
    // The folder is what comes before the last separator; the rest starts
    // the names asked for.
    std::size_t length = Length(pathPrefix);
    std::size_t slash = length;
    while (slash > 0 && pathPrefix[slash - 1] != '/') --slash;
    char folder[kSystemPathSize];
    std::size_t folderUsed = 0;
    folder[0] = '\0';
    bool fits = slash == 0 ? AppendText(folder, sizeof folder, &folderUsed, ".")
                           : Append(folder, sizeof folder, &folderUsed, pathPrefix, slash);
    if (!fits) return false;
    const char* namePrefix = pathPrefix + slash;
    const std::size_t prefixLength = length - slash;
    const std::size_t suffixLength = Length(suffix);

    DIR* dir = opendir(folder);
    if (dir == nullptr) return false;
    while (dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        std::size_t nameLength = Length(name);
        if (nameLength < prefixLength + suffixLength) continue;
        bool match = true;
        for (std::size_t i = 0; i < prefixLength && match; ++i) match = name[i] == namePrefix[i];
        for (std::size_t i = 0; i < suffixLength && match; ++i) {
            match = name[nameLength - suffixLength + i] == suffix[i];
        }
        if (!match) continue;
        char path[kSystemPathSize];
        std::size_t used = 0;
        path[0] = '\0';
        if (!Append(path, sizeof path, &used, pathPrefix, slash) || !AppendText(path, sizeof path, &used, name)) {
            continue;
        }
        struct stat info;
        if (lstat(path, &info) != 0 || !S_ISREG(info.st_mode)) continue;
        visit(path, FileTimeOf(info.st_mtim), context);
    }
    closedir(dir);
    return true;
}

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
