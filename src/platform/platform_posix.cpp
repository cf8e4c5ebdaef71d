// The platform layer on POSIX systems: our own substitute for the Windows
// services, with the same observable behaviour.
//
// Registry: every key is a folder below a root folder, every value a file in
// its key's folder holding the value's raw bytes. Names are folded to lower
// case (ASCII) and escaped, so that names compare without regard to case and
// no name can reach outside the root. Values are replaced atomically.
//
// Files: the Windows share modes that matter here are emulated with flock():
// a reader holds a shared lock while its file is open, and a replacement
// takes an exclusive lock on the file it replaces, failing at once when a
// reader holds it. Every Tarnwick process honours these locks.
#include "platform/platform.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {
namespace platform {

namespace {

// Longest path the layer builds, terminator included.
constexpr std::size_t kSystemPathSize = PATH_MAX;
// Longest single folder or file name on the usual file systems.
constexpr std::size_t kNameMax = 255;
// How many temporary names a replacement tries before giving up.
constexpr int kTempAttempts = 16;

std::atomic<std::uint32_t> g_temp_counter{0};

// ---- Bounded string helpers -------------------------------------------

std::size_t Length(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

// Appends `count` bytes of `text` to the string of `*used` bytes in `buffer`
// (of `size` bytes), keeping it terminated. False when it does not fit; the
// buffer is then unchanged.
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

bool AppendNumber(char* buffer, std::size_t size, std::size_t* used, unsigned long value) {
    char digits[24];
    int written = std::snprintf(digits, sizeof digits, "%lu", value);
    if (written <= 0 || static_cast<std::size_t>(written) >= sizeof digits) return false;
    return Append(buffer, size, used, digits, static_cast<std::size_t>(written));
}

// Builds "<path>.<pid>.<n>.tmp" with a fresh counter value.
bool MakeTempName(const char* path, char* buffer, std::size_t size) {
    std::size_t used = 0;
    buffer[0] = '\0';
    std::uint32_t n = g_temp_counter.fetch_add(1, std::memory_order_relaxed);
    return AppendText(buffer, size, &used, path) && AppendText(buffer, size, &used, ".") &&
           AppendNumber(buffer, size, &used, static_cast<unsigned long>(getpid())) &&
           AppendText(buffer, size, &used, ".") && AppendNumber(buffer, size, &used, n) &&
           AppendText(buffer, size, &used, ".tmp");
}

// ---- Low-level file helpers -------------------------------------------

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

// Reads until `size` bytes or the end of the file; the count read goes to `*read`.
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

int CloseChecked(int fd) {
    // After an interrupted close the descriptor is gone on Linux; do not retry.
    return close(fd);
}

int LockNoWait(int fd, int operation) {
    int result;
    do {
        result = flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result;
}

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

WriteStatus StatusOfWriteError(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return WriteStatus::Denied;
    default:
        return WriteStatus::Failed;
    }
}

// Creates a temporary file beside `path` under a name not in use, writes
// `data` into it in full and flushes it. On success the temporary name is
// in `temp`; on failure nothing is left behind.
WriteStatus WriteTempFile(const char* path, const void* data, std::size_t size, mode_t mode, char* temp,
                          std::size_t temp_size) {
    int fd = -1;
    for (int attempt = 0; attempt < kTempAttempts && fd < 0; ++attempt) {
        if (!MakeTempName(path, temp, temp_size)) return WriteStatus::Failed;
        fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST && errno != EINTR) return StatusOfWriteError(errno);
    }
    if (fd < 0) return WriteStatus::Failed;
    // The mode given to open() is reduced by the umask; a replaced file keeps its own.
    bool ok = WriteAll(fd, static_cast<const unsigned char*>(data), size) && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (CloseChecked(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp);
        return StatusOfWriteError(error);
    }
    return WriteStatus::Ok;
}

// ---- Registry substitute ----------------------------------------------

// The folder that stands for HKEY_CURRENT_USER.
bool RegistryRoot(char* buffer, std::size_t size) {
    std::size_t used = 0;
    buffer[0] = '\0';
    const char* root = std::getenv("TARNWICK_REGISTRY_ROOT");
    if (root != nullptr && root[0] != '\0') return AppendText(buffer, size, &used, root);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return AppendText(buffer, size, &used, config) && AppendText(buffer, size, &used, "/tarnwick/registry");
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return AppendText(buffer, size, &used, home) &&
               AppendText(buffer, size, &used, "/.config/tarnwick/registry");
    }
    return false;
}

// Appends the on-disk form of one key or value name: ASCII letters folded to
// lower case, letters, digits, '-', '_' and ' ' kept, every other byte
// written as "%xx". The result never contains '/' or '.', so it can be
// neither "." nor ".." nor reach another folder, and suffixes starting with
// '.' cannot collide with a name.
bool AppendEscapedName(char* buffer, std::size_t size, std::size_t* used, const char* name, std::size_t count) {
    static const char kHex[] = "0123456789abcdef";
    std::size_t start = *used;
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ' ';
        if (plain) {
            char one = static_cast<char>(c);
            if (!Append(buffer, size, used, &one, 1)) return false;
        } else {
            char three[3] = {'%', kHex[c >> 4], kHex[c & 15]};
            if (!Append(buffer, size, used, three, 3)) return false;
        }
    }
    return *used - start <= kNameMax;
}

// The folder of the key `path` (components separated by backslashes; empty
// components are skipped, the empty path is the root itself).
bool KeyFolder(const char* path, char* buffer, std::size_t size) {
    if (path == nullptr || !RegistryRoot(buffer, size)) return false;
    std::size_t used = Length(buffer);
    const char* p = path;
    while (*p != '\0') {
        const char* end = p;
        while (*end != '\0' && *end != '\\') ++end;
        if (end > p) {
            if (!AppendText(buffer, size, &used, "/") ||
                !AppendEscapedName(buffer, size, &used, p, static_cast<std::size_t>(end - p))) {
                return false;
            }
        }
        p = *end == '\\' ? end + 1 : end;
    }
    return true;
}

// A value's file: "<key folder>/<escaped name>.v" (the default value, with
// the empty name, is ".v").
bool ValueFile(const char* folder, const char* name, char* buffer, std::size_t size) {
    if (name == nullptr) name = "";
    std::size_t used = 0;
    buffer[0] = '\0';
    // Leave room for the temporary suffix of an atomic write within one name.
    constexpr std::size_t kTempSuffix = 1 + 10 + 1 + 10 + 4;
    std::size_t name_start = Length(folder) + 1;
    if (!AppendText(buffer, size, &used, folder) || !AppendText(buffer, size, &used, "/") ||
        !AppendEscapedName(buffer, size, &used, name, Length(name)) || !AppendText(buffer, size, &used, ".v")) {
        return false;
    }
    return used - name_start + kTempSuffix <= kNameMax;
}

bool IsFolder(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates `path` and every missing folder above it.
bool MakeFolders(char* path) {
    std::size_t length = Length(path);
    for (std::size_t i = 1; i <= length; ++i) {
        if (path[i] != '/' && path[i] != '\0') continue;
        if (path[i - 1] == '/') continue;
        char saved = path[i];
        path[i] = '\0';
        int result = mkdir(path, 0700);
        int error = errno;
        path[i] = saved;
        if (result != 0 && error != EEXIST) return false;
    }
    return IsFolder(path);
}

// Removes the folder `path` (a buffer of `size` bytes that is extended and
// restored while descending) with everything in it; symbolic links are
// removed, never followed.
bool RemoveFolderTree(char* path, std::size_t size) {
    DIR* dir = opendir(path);
    if (dir == nullptr) return false;
    bool ok = true;
    std::size_t base = Length(path);
    while (dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        std::size_t used = base;
        if (!AppendText(path, size, &used, "/") || !AppendText(path, size, &used, name)) {
            path[base] = '\0';
            ok = false;
            continue;
        }
        struct stat info;
        if (lstat(path, &info) == 0 && S_ISDIR(info.st_mode)) {
            if (!RemoveFolderTree(path, size)) ok = false;
        } else if (unlink(path) != 0) {
            ok = false;
        }
        path[base] = '\0';
    }
    closedir(dir);
    if (rmdir(path) != 0) ok = false;
    return ok;
}

}  // namespace

// ---- Heap -------------------------------------------------------------

void* HeapAllocZeroed(std::size_t size) { return std::calloc(size != 0 ? size : 1, 1); }

void HeapRelease(void* block) { std::free(block); }

// ---- Registry ---------------------------------------------------------

struct RegistryKey {
    bool can_query;
    bool can_set;
    char folder[kSystemPathSize];
};

static RegistryKey* NewKey(const char* folder, bool can_query, bool can_set) {
    RegistryKey* key = static_cast<RegistryKey*>(HeapAllocZeroed(sizeof(RegistryKey)));
    if (key == nullptr) return nullptr;
    key->can_query = can_query;
    key->can_set = can_set;
    std::size_t used = 0;
    AppendText(key->folder, sizeof key->folder, &used, folder);
    return key;
}

RegistryKey* RegistryOpenForRead(const char* path) {
    char folder[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder)) return nullptr;
    if (!IsFolder(folder)) return nullptr;
    return NewKey(folder, true, false);
}

RegistryKey* RegistryCreateForWrite(const char* path) {
    char folder[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder)) return nullptr;
    if (!MakeFolders(folder)) return nullptr;
    return NewKey(folder, false, true);
}

void RegistryClose(RegistryKey* key) { HeapRelease(key); }

bool RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
    if (key == nullptr || !key->can_query || buffer == nullptr || size == nullptr) return false;
    char file[kSystemPathSize];
    if (!ValueFile(key->folder, name, file, sizeof file)) return false;
    int fd = open(file, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= *size;
    std::size_t got = 0;
    // A value is replaced by renaming, so the open file cannot change under us.
    ok = ok && ReadAll(fd, static_cast<unsigned char*>(buffer), static_cast<std::size_t>(info.st_size), &got) &&
         got == static_cast<std::size_t>(info.st_size);
    close(fd);
    if (!ok) return false;
    *size = static_cast<std::uint32_t>(got);
    return true;
}

bool RegistrySetRaw(RegistryKey* key, const char* name, const void* bytes, std::uint32_t size) {
    if (key == nullptr || !key->can_set || (bytes == nullptr && size != 0)) return false;
    char file[kSystemPathSize];
    char temp[kSystemPathSize];
    if (!ValueFile(key->folder, name, file, sizeof file)) return false;
    if (WriteTempFile(file, bytes, size, 0600, temp, sizeof temp) != WriteStatus::Ok) return false;
    if (rename(temp, file) != 0) {
        unlink(temp);
        return false;
    }
    return true;
}

bool RegistrySetString(RegistryKey* key, const char* name, const char* text) {
    if (text == nullptr) return false;
    return RegistrySetRaw(key, name, text, static_cast<std::uint32_t>(Length(text) + 1));
}

bool RegistryDeleteTree(const char* path) {
    char folder[kSystemPathSize];
    char root[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder) || !RegistryRoot(root, sizeof root)) return false;
    // The root stands for HKEY_CURRENT_USER itself, which cannot be deleted.
    if (Length(folder) == Length(root)) return false;
    if (!IsFolder(folder)) return false;
    return RemoveFolderTree(folder, sizeof folder);
}

// ---- Files ------------------------------------------------------------

namespace {

std::uint64_t Ticks(const FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

}  // namespace

int CompareTimes(const FileTime& a, const FileTime& b) {
    std::uint64_t x = Ticks(a), y = Ticks(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool TimesEqual(const FileTime& a, const FileTime& b) { return CompareTimes(a, b) == 0; }

struct File {
    int fd;
};

OpenStatus OpenForRead(const char* path, File** file) {
    if (file == nullptr) return OpenStatus::Failed;
    *file = nullptr;
    if (path == nullptr || path[0] == '\0') return OpenStatus::NotFound;
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
            return OpenStatus::NotFound;
        case EACCES:
        case EPERM:
            return OpenStatus::Denied;
        default:
            return OpenStatus::Failed;
        }
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        close(fd);
        return OpenStatus::Failed;
    }
    // A folder cannot be opened as a file on Windows either; pipes and
    // sockets are no files to read a document from.
    if (S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
        close(fd);
        return OpenStatus::Denied;
    }
    // Where the file system has no locks, reading goes on unlocked.
    if (LockNoWait(fd, LOCK_SH) != 0 && errno == EWOULDBLOCK) {
        close(fd);
        return OpenStatus::Busy;
    }
    File* opened = static_cast<File*>(HeapAllocZeroed(sizeof(File)));
    if (opened == nullptr) {
        close(fd);
        return OpenStatus::Failed;
    }
    opened->fd = fd;
    *file = opened;
    return OpenStatus::Ok;
}

bool GetFileTime(File* file, FileTime* time) {
    if (file == nullptr || time == nullptr) return false;
    struct stat info;
    if (fstat(file->fd, &info) != 0) return false;
    // FILETIME counts 100 ns ticks since 1601-01-01; the Unix epoch is
    // 11644473600 seconds later.
    constexpr std::int64_t kEpochOffset = 11644473600LL;
    std::int64_t seconds = static_cast<std::int64_t>(info.st_mtim.tv_sec) + kEpochOffset;
    std::uint64_t ticks = 0;
    if (seconds >= 0) {
        ticks = static_cast<std::uint64_t>(seconds) * 10000000ULL + static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
    }
    time->Low = static_cast<std::uint32_t>(ticks);
    time->High = static_cast<std::uint32_t>(ticks >> 32);
    return true;
}

bool GetFileSize(File* file, std::uint64_t* size) {
    if (file == nullptr || size == nullptr) return false;
    struct stat info;
    if (fstat(file->fd, &info) != 0 || info.st_size < 0) return false;
    *size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool GetFileIdentity(File* file, std::uint64_t* identity) {
    if (file == nullptr || identity == nullptr) return false;
    struct stat info;
    if (fstat(file->fd, &info) != 0) return false;
    *identity = static_cast<std::uint64_t>(info.st_ino) ^ (static_cast<std::uint64_t>(info.st_dev) << 48) ^
                (static_cast<std::uint64_t>(info.st_dev) >> 16);
    return true;
}

bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (file == nullptr || read == nullptr || (buffer == nullptr && size != 0)) return false;
    std::size_t got = 0;
    bool ok = ReadAll(file->fd, static_cast<unsigned char*>(buffer), size, &got);
    *read = static_cast<std::uint32_t>(got);
    return ok;
}

void CloseFile(File* file) {
    if (file == nullptr) return;
    close(file->fd);  // releases the shared lock
    HeapRelease(file);
}

WriteStatus ReplaceFileContent(const char* path, const void* data, std::uint32_t size) {
    if (path == nullptr || path[0] == '\0' || (data == nullptr && size != 0)) return WriteStatus::Failed;

    // Replace the file a symbolic link points to, not the link.
    char resolved[kSystemPathSize];
    struct stat link_info;
    if (lstat(path, &link_info) == 0 && S_ISLNK(link_info.st_mode) && realpath(path, resolved) != nullptr) {
        path = resolved;
    }

    // A replaced file keeps its permissions; a new one gets the usual ones.
    mode_t mode = 0666;
    struct stat target_info;
    bool target_exists = stat(path, &target_info) == 0;
    if (target_exists) {
        if (S_ISDIR(target_info.st_mode)) return WriteStatus::Denied;
        mode = target_info.st_mode & 07777;
    }

    char temp[kSystemPathSize];
    WriteStatus written = WriteTempFile(path, data, size, mode, temp, sizeof temp);
    if (written != WriteStatus::Ok) return written;
    if (target_exists) chmod(temp, mode);

    // Exclude readers of the old file for the moment of the swap; a reader
    // that holds it already makes the replacement fail, as on Windows. (Some
    // network file systems lock exclusively only what is open for writing.
    // Where the file system has no locks, the swap goes on unlocked.)
    int target = open(path, O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (target < 0) target = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (target >= 0 && LockNoWait(target, LOCK_EX) != 0 && errno == EWOULDBLOCK) {
        close(target);
        unlink(temp);
        return WriteStatus::Busy;
    }
    if (rename(temp, path) != 0) {
        int error = errno;
        if (target >= 0) close(target);
        unlink(temp);
        return StatusOfWriteError(error);
    }
    SyncFolderOf(path);
    if (target >= 0) close(target);
    return WriteStatus::Ok;
}

PathStatus ProbePath(const char* path) {
    if (path == nullptr || path[0] == '\0') return PathStatus::Failed;
    struct stat info;
    if (stat(path, &info) == 0) return PathStatus::Exists;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return PathStatus::Missing;
    default:
        return PathStatus::Failed;
    }
}

// ---- Process ----------------------------------------------------------

void SleepMilliseconds(unsigned milliseconds) {
    timespec wait;
    wait.tv_sec = static_cast<time_t>(milliseconds / 1000);
    wait.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    timespec rest;
    while (nanosleep(&wait, &rest) != 0 && errno == EINTR) wait = rest;
}

std::uint32_t ProcessId() { return static_cast<std::uint32_t>(getpid()); }

}  // namespace platform
}  // namespace tarnwick
