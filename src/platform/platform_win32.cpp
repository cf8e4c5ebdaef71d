// The platform layer on Windows: the process heap, the registry below
// HKEY_CURRENT_USER and the file functions of kernel32, called directly.
#include "platform/platform.h"

#include <cstdio>

#include <windows.h>

namespace tarnwick {
namespace platform {

namespace {

// How many temporary names a replacement tries before giving up, so that
// temporary files left behind by a crash never block saving.
constexpr int kTempAttempts = 16;
// Registry key paths are built in buffers of this size.
constexpr DWORD kKeyPathSize = 2048;
// Key names are at most 255 characters.
constexpr DWORD kKeyNameSize = 256;

volatile LONG g_temp_counter = 0;

DWORD Length(const char* text) {
    DWORD n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

// Builds "<path>.<pid>.<n>.tmp" with a fresh counter value; false when the
// name would not fit in MAX_PATH.
bool MakeTempName(const char* path, char* buffer, std::size_t size) {
    unsigned long n = static_cast<unsigned long>(InterlockedIncrement(&g_temp_counter));
    int written = std::snprintf(buffer, size, "%s.%lu.%lu.tmp", path, static_cast<unsigned long>(GetCurrentProcessId()), n);
    return written > 0 && static_cast<std::size_t>(written) < size;
}

WriteStatus StatusOfCreateError(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return WriteStatus::Denied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteStatus::Busy;
    default:
        return WriteStatus::Failed;
    }
}

// A move onto `path` was refused. Another process holding the file open
// shows as a sharing violation, or as access denied while the file is being
// replaced or deleted; access denied on a folder or a read-only file is a
// lasting refusal.
WriteStatus StatusOfMoveError(DWORD error, const char* path) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteStatus::Busy;
    case ERROR_ACCESS_DENIED: {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
            return WriteStatus::Denied;
        }
        return WriteStatus::Busy;
    }
    case ERROR_WRITE_PROTECT:
        return WriteStatus::Denied;
    default:
        return WriteStatus::Failed;
    }
}

// Deletes the key at `path` (a buffer of kKeyPathSize bytes that is extended
// and restored while descending) after all its sub-keys.
bool DeleteKeyTree(char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return false;
    bool ok = true;
    DWORD base = Length(path);
    DWORD index = 0;
    for (;;) {
        char name[kKeyNameSize];
        DWORD name_size = kKeyNameSize;
        LONG result = RegEnumKeyExA(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        bool fits = base + 1 + name_size + 1 <= kKeyPathSize;
        bool deleted = false;
        if (fits) {
            path[base] = '\\';
            for (DWORD i = 0; i <= name_size; ++i) path[base + 1 + i] = name[i];
            deleted = DeleteKeyTree(path);
            path[base] = '\0';
        }
        // A sub-key that stays moves the enumeration past it.
        if (!deleted) {
            ok = false;
            ++index;
        }
    }
    RegCloseKey(key);
    if (RegDeleteKeyA(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) ok = false;
    return ok;
}

// The root of `path` as GetDriveTypeA wants it: "X:\" or "\\server\share\";
// null (the current drive) for a path without one. False when the root does
// not fit.
bool RootOf(const char* path, char* root, std::size_t size, const char** result) {
    // Long-path forms: "\\?\X:\..." and "\\?\UNC\server\share\...".
    char unc_form[MAX_PATH];
    if (path[0] == '\\' && path[1] == '\\' && path[2] == '?' && path[3] == '\\') {
        const char* rest = path + 4;
        if ((rest[0] == 'U' || rest[0] == 'u') && (rest[1] == 'N' || rest[1] == 'n') &&
            (rest[2] == 'C' || rest[2] == 'c') && rest[3] == '\\') {
            int written = std::snprintf(unc_form, sizeof unc_form, "\\\\%s", rest + 4);
            if (written < 0 || static_cast<std::size_t>(written) >= sizeof unc_form) return false;
            path = unc_form;
        } else {
            path = rest;
        }
    }
    if (path[0] != '\0' && path[1] == ':') {
        if (size < 4) return false;
        root[0] = path[0];
        root[1] = ':';
        root[2] = '\\';
        root[3] = '\0';
        *result = root;
        return true;
    }
    bool slash0 = path[0] == '\\' || path[0] == '/';
    bool slash1 = path[0] != '\0' && (path[1] == '\\' || path[1] == '/');
    if (slash0 && slash1) {
        // "\\server\share\": up to the separator after the share name.
        std::size_t i = 2;
        int separators = 0;
        while (path[i] != '\0') {
            if (path[i] == '\\' || path[i] == '/') {
                if (++separators == 2) break;
            }
            ++i;
        }
        if (i + 2 > size) return false;
        for (std::size_t k = 0; k < i; ++k) root[k] = path[k] == '/' ? '\\' : path[k];
        root[i] = '\\';
        root[i + 1] = '\0';
        *result = root;
        return true;
    }
    *result = nullptr;
    return true;
}

// Whether the root of `path` can be reached now: a known drive or share,
// with a medium in it where the medium can be taken out.
bool RootReachable(const char* path) {
    char buffer[MAX_PATH];
    const char* root = nullptr;
    if (!RootOf(path, buffer, sizeof buffer, &root)) return false;
    UINT type = GetDriveTypeA(root);
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) return false;
    if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_REMOTE) {
        return GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
    }
    return true;
}

}  // namespace

// ---- Heap -------------------------------------------------------------

void* HeapAllocZeroed(std::size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size != 0 ? size : 1); }

void HeapRelease(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

// ---- Registry ---------------------------------------------------------

struct RegistryKey {
    HKEY handle;
};

static RegistryKey* WrapKey(HKEY handle) {
    RegistryKey* key = static_cast<RegistryKey*>(HeapAllocZeroed(sizeof(RegistryKey)));
    if (key == nullptr) {
        RegCloseKey(handle);
        return nullptr;
    }
    key->handle = handle;
    return key;
}

RegistryKey* RegistryOpenForRead(const char* path) {
    if (path == nullptr) return nullptr;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return nullptr;
    return WrapKey(handle);
}

RegistryKey* RegistryCreateForWrite(const char* path) {
    if (path == nullptr) return nullptr;
    HKEY handle;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (result != ERROR_SUCCESS) return nullptr;
    return WrapKey(handle);
}

void RegistryClose(RegistryKey* key) {
    if (key == nullptr) return;
    RegCloseKey(key->handle);
    HeapRelease(key);
}

bool RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
    if (key == nullptr || buffer == nullptr || size == nullptr) return false;
    DWORD count = *size;
    LONG result = RegQueryValueExA(key->handle, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &count);
    if (result != ERROR_SUCCESS || count > *size) return false;
    *size = count;
    return true;
}

bool RegistrySetRaw(RegistryKey* key, const char* name, const void* bytes, std::uint32_t size) {
    if (key == nullptr || (bytes == nullptr && size != 0)) return false;
    return RegSetValueExA(key->handle, name, 0, REG_SZ, static_cast<const BYTE*>(bytes), size) == ERROR_SUCCESS;
}

bool RegistrySetString(RegistryKey* key, const char* name, const char* text) {
    if (text == nullptr) return false;
    return RegistrySetRaw(key, name, text, Length(text) + 1);
}

bool RegistryDeleteTree(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    char buffer[kKeyPathSize];
    DWORD length = Length(path);
    if (length + 1 > kKeyPathSize) return false;
    for (DWORD i = 0; i <= length; ++i) buffer[i] = path[i];
    return DeleteKeyTree(buffer);
}

// ---- Files ------------------------------------------------------------

int CompareTimes(const FileTime& a, const FileTime& b) {
    FILETIME x = {a.Low, a.High};
    FILETIME y = {b.Low, b.High};
    return static_cast<int>(CompareFileTime(&x, &y));
}

bool TimesEqual(const FileTime& a, const FileTime& b) { return CompareTimes(a, b) == 0; }

struct File {
    HANDLE handle;
};

OpenStatus OpenForRead(const char* path, File** file) {
    if (file == nullptr) return OpenStatus::Failed;
    *file = nullptr;
    if (path == nullptr || path[0] == '\0') return OpenStatus::NotFound;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return OpenStatus::NotFound;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return OpenStatus::Busy;
        case ERROR_ACCESS_DENIED:
            return OpenStatus::Denied;
        default:
            return OpenStatus::Failed;
        }
    }
    File* opened = static_cast<File*>(HeapAllocZeroed(sizeof(File)));
    if (opened == nullptr) {
        CloseHandle(handle);
        return OpenStatus::Failed;
    }
    opened->handle = handle;
    *file = opened;
    return OpenStatus::Ok;
}

bool GetFileTime(File* file, FileTime* time) {
    if (file == nullptr || time == nullptr) return false;
    FILETIME written;
    if (!::GetFileTime(file->handle, nullptr, nullptr, &written)) return false;
    time->Low = written.dwLowDateTime;
    time->High = written.dwHighDateTime;
    return true;
}

bool GetFileSize(File* file, std::uint64_t* size) {
    if (file == nullptr || size == nullptr) return false;
    DWORD high = 0;
    DWORD low = ::GetFileSize(file->handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (static_cast<std::uint64_t>(high) << 32) | low;
    return true;
}

bool GetFileIdentity(File* file, std::uint64_t* identity) {
    if (file == nullptr || identity == nullptr) return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file->handle, &info)) return false;
    std::uint64_t index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    *identity = index ^ (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 32);
    return true;
}

bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (file == nullptr || read == nullptr || (buffer == nullptr && size != 0)) return false;
    DWORD got = 0;
    BOOL ok = ::ReadFile(file->handle, buffer, size, &got, nullptr);
    *read = got;
    return ok != 0;
}

void CloseFile(File* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    HeapRelease(file);
}

WriteStatus ReplaceFileContent(const char* path, const void* data, std::uint32_t size) {
    if (path == nullptr || path[0] == '\0' || (data == nullptr && size != 0)) return WriteStatus::Failed;

    char temp[MAX_PATH];
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kTempAttempts && handle == INVALID_HANDLE_VALUE; ++attempt) {
        if (!MakeTempName(path, temp, sizeof temp)) return WriteStatus::Failed;
        handle = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return StatusOfCreateError(error);
        }
    }
    if (handle == INVALID_HANDLE_VALUE) return WriteStatus::Failed;

    // Every byte must reach the file, and the file the disk, before it may
    // take the place of the old one.
    const BYTE* bytes = static_cast<const BYTE*>(data);
    DWORD remaining = size;
    bool ok = true;
    while (ok && remaining > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes, remaining, &written, nullptr) || written == 0 || written > remaining) {
            ok = false;
        } else {
            bytes += written;
            remaining -= written;
        }
    }
    if (ok && !FlushFileBuffers(handle)) ok = false;
    if (!CloseHandle(handle)) ok = false;
    if (!ok) {
        DeleteFileA(temp);
        return WriteStatus::Failed;
    }

    if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileA(temp);
        return StatusOfMoveError(error, path);
    }
    return WriteStatus::Ok;
}

PathStatus ProbePath(const char* path) {
    if (path == nullptr || path[0] == '\0') return PathStatus::Failed;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        return PathStatus::Exists;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_INVALID_NAME:  // a folder of the path is a file now
    case ERROR_DIRECTORY:
        // The lookup does not find drive roots or folders named with a
        // trailing separator, which do exist.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return PathStatus::Exists;
        // A missing drive or share also reports "path not found".
        return RootReachable(path) ? PathStatus::Missing : PathStatus::Unreachable;
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETWORK_UNREACHABLE:
        return PathStatus::Unreachable;
    default:
        return PathStatus::Failed;
    }
}

// ---- Process ----------------------------------------------------------

void SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

std::uint32_t ProcessId() { return GetCurrentProcessId(); }

}  // namespace platform
}  // namespace tarnwick
