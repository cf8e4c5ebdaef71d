// The POSIX registry substitute (see registry_paths_posix.h).
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/env_posix.h"
#include "platform/registry_paths_posix.h"
#include "platform/temp_names.h"

namespace tarnwick {
namespace platform {

struct RegistryKey {
    bool can_query;
    bool can_set;
    char folder[posix::kSystemPathSize];
};

namespace posix {

namespace {

// How many temporary names a value's replacement tries before giving up.
constexpr int kTempAttempts = 16;

// Creates a temporary file beside `path` under a name not in use (named by
// `env`), writes `data` into it in full and flushes it. On success the
// temporary name is in `temp`; on failure nothing is left behind.
bool WriteTempFile(Env* env, const char* path, const void* data, std::size_t size, mode_t mode, char* temp,
                   std::size_t temp_size) {
    int fd = -1;
    for (int attempt = 0; attempt < kTempAttempts && fd < 0; ++attempt) {
        if (!MakeTempName(env, path, temp, temp_size)) return false;
        fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST && errno != EINTR) return false;
    }
    if (fd < 0) return false;
    // The mode given to open() is reduced by the umask; a replaced file keeps its own.
    bool ok = WriteAll(fd, static_cast<const unsigned char*>(data), size) && fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (!ok) {
        unlink(temp);
        return false;
    }
    return true;
}

RegistryKey* NewKey(const char* folder, bool can_query, bool can_set) {
    RegistryKey* key = static_cast<RegistryKey*>(std::calloc(1, sizeof(RegistryKey)));
    if (key == nullptr) return nullptr;
    key->can_query = can_query;
    key->can_set = can_set;
    std::size_t used = 0;
    AppendText(key->folder, sizeof key->folder, &used, folder);
    return key;
}

}  // namespace

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
    std::size_t name_start = Length(folder) + 1;
    if (!AppendText(buffer, size, &used, folder) || !AppendText(buffer, size, &used, "/") ||
        !AppendEscapedName(buffer, size, &used, name, Length(name)) || !AppendText(buffer, size, &used, ".v")) {
        return false;
    }
    return used - name_start + kTempSuffixMax <= kNameMax;
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

bool WriteValueFile(Env* env, const char* file, const void* bytes, std::uint32_t size) {
    if (bytes == nullptr && size != 0) return false;
    char temp[kSystemPathSize];
    if (!WriteTempFile(env, file, bytes, size, 0600, temp, sizeof temp)) return false;
    if (rename(temp, file) != 0) {
        unlink(temp);
        return false;
    }
    return true;
}

RegistryKey* PosixEnv::RegistryOpenForRead(const char* path) {
    char folder[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder)) return nullptr;
    if (!IsFolder(folder)) return nullptr;
    return NewKey(folder, true, false);
}

RegistryKey* PosixEnv::RegistryCreateForWrite(const char* path) {
    char folder[kSystemPathSize];
    if (!KeyFolder(path, folder, sizeof folder)) return nullptr;
    if (!MakeFolders(folder)) return nullptr;
    return NewKey(folder, false, true);
}

void PosixEnv::RegistryClose(RegistryKey* key) { std::free(key); }

bool PosixEnv::RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
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

bool PosixEnv::RegistrySetString(RegistryKey* key, const char* name, const char* text) {
    if (text == nullptr) return false;
    if (key == nullptr || !key->can_set) return false;
    char file[kSystemPathSize];
    if (!ValueFile(key->folder, name, file, sizeof file)) return false;
    return WriteValueFile(this, file, text, static_cast<std::uint32_t>(Length(text) + 1));
}

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
