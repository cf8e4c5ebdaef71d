// The POSIX environment's test that a name handed over by a host that
// converts names to an 8-bit code page names one file (Env::NamesOneFile).
// POSIX names are bytes with no code page of their own: an entry whose
// name differs from the one handed over only where the entry has a
// character outside ASCII (taken as UTF-8) could have been converted into
// it, so such a name is not trusted.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/env_posix.h"

namespace tarnwick {
namespace platform {
namespace posix {

namespace {

// The length of the UTF-8 sequence that `lead` starts (1 for ASCII and for
// a byte that starts none).
int SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

// True when `entry` may turn into `name` in an 8-bit code page: one byte of
// `name` a character of `entry`, equal where the character is ASCII, and
// at least one character that is not.
bool MayTurnInto(const char* entry, const char* name) {
    bool converted = false;
    const unsigned char* e = reinterpret_cast<const unsigned char*>(entry);
    const unsigned char* n = reinterpret_cast<const unsigned char*>(name);
    for (; *e != '\0' && *n != '\0'; ++n) {
        if (*e < 0x80) {
            if (*e != *n) return false;
            ++e;
            continue;
        }
        int length = SequenceLength(*e);
        for (int i = 1; i < length; ++i) {
            if ((e[i] & 0xC0) != 0x80) length = 1;
        }
        e += length;
        converted = true;
    }
    return converted && *e == '\0' && *n == '\0';
}

}  // namespace

bool PosixEnv::NamesOneFile(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const char* slash = std::strrchr(path, '/');
    const char* name = slash != nullptr ? slash + 1 : path;
    std::string folder = slash != nullptr ? std::string(path, static_cast<std::size_t>(slash - path) + 1) : "./";
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) return false;
    bool alone = true;
    while (alone) {
        const dirent* entry = readdir(entries);
        if (entry == nullptr) break;
        if (std::strcmp(entry->d_name, name) != 0 && MayTurnInto(entry->d_name, name)) alone = false;
    }
    closedir(entries);
    return alone;
}

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
