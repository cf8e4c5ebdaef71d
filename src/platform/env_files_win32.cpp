// The Windows environment's files: reading with FILE_SHARE_READ, the steps
// of a whole-file replace, and the existence probe.
#include "support/text.h"

#include <windows.h>

#include "platform/env_win32.h"

namespace tarnwick {
namespace platform {

struct File {
    HANDLE handle;
};

struct WritableFile {
    HANDLE handle;
};

namespace win32 {

namespace {

Status StatusOfCreateError(DWORD error) {
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return Status::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return Status::Denied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Status::Busy;
    default:
        return Status::Failed;
    }
}

// A move onto `path` was refused. Another process holding the file open
// shows as a sharing violation, or as access denied while the file is being
// replaced or deleted; access denied on a folder or a read-only file is a
// lasting refusal.
Status StatusOfMoveError(DWORD error, const char* path) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Status::Busy;
    case ERROR_ACCESS_DENIED: {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
            return Status::Denied;
        }
        return Status::Busy;
    }
    case ERROR_WRITE_PROTECT:
        return Status::Denied;
    default:
        return Status::Failed;
    }
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
            if (!CopyBounded(unc_form, "\\\\", sizeof unc_form) || !AppendBounded(unc_form, rest + 4, sizeof unc_form)) {
                return false;
            }
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

Status Win32Env::OpenForRead(const char* path, File** file) {
    if (file == nullptr) return Status::Failed;
    *file = nullptr;
    if (path == nullptr || path[0] == '\0') return Status::NotFound;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return Status::NotFound;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return Status::Busy;
        case ERROR_ACCESS_DENIED:
            return Status::Denied;
        default:
            return Status::Failed;
        }
    }
    File* opened = static_cast<File*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(File)));
    if (opened == nullptr) {
        CloseHandle(handle);
        return Status::Failed;
    }
    opened->handle = handle;
    *file = opened;
    return Status::Ok;
}

bool Win32Env::GetFileTime(File* file, FileTime* time) {
    if (file == nullptr || time == nullptr) return false;
    FILETIME written;
    if (!::GetFileTime(file->handle, nullptr, nullptr, &written)) return false;
    time->Low = written.dwLowDateTime;
    time->High = written.dwHighDateTime;
    return true;
}

Status Win32Env::StatFile(const char* path, std::uint64_t* size, FileTime* time) {
    if (path == nullptr || path[0] == '\0' || size == nullptr || time == nullptr) return Status::NotFound;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Status::NotFound : Status::Failed;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Status::Denied;
    *size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    time->Low = data.ftLastWriteTime.dwLowDateTime;
    time->High = data.ftLastWriteTime.dwHighDateTime;
    return Status::Ok;
}

bool Win32Env::GetFileSize(File* file, std::uint64_t* size) {
    if (file == nullptr || size == nullptr) return false;
    DWORD high = 0;
    DWORD low = ::GetFileSize(file->handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (static_cast<std::uint64_t>(high) << 32) | low;
    return true;
}

bool Win32Env::GetFileIdentity(File* file, std::uint64_t* identity) {
    if (file == nullptr || identity == nullptr) return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file->handle, &info)) return false;
    std::uint64_t index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    *identity = index ^ (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 32);
    return true;
}

bool Win32Env::ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (file == nullptr || read == nullptr || (buffer == nullptr && size != 0)) return false;
    DWORD got = 0;
    BOOL ok = ::ReadFile(file->handle, buffer, size, &got, nullptr);
    *read = got;
    return ok != 0;
}

void Win32Env::CloseFile(File* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    HeapFree(GetProcessHeap(), 0, file);
}

bool Win32Env::ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) {
    (void)path;
    (void)buffer;
    (void)size;
    return false;
}

Status Win32Env::CreateNewFile(const char* path, WritableFile** file) {
    if (file == nullptr) return Status::Failed;
    *file = nullptr;
    // Names of MAX_PATH characters and more are not made.
    if (path == nullptr || path[0] == '\0' || lstrlenA(path) >= MAX_PATH) return Status::Failed;
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return StatusOfCreateError(GetLastError());
    WritableFile* opened =
        static_cast<WritableFile*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WritableFile)));
    if (opened == nullptr) {
        CloseHandle(handle);
        DeleteFileA(path);
        return Status::Failed;
    }
    opened->handle = handle;
    *file = opened;
    return Status::Ok;
}

bool Win32Env::WriteFile(WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) {
    if (file == nullptr || written == nullptr || (data == nullptr && size != 0)) return false;
    DWORD count = 0;
    BOOL ok = ::WriteFile(file->handle, data, size, &count, nullptr);
    *written = count;
    return ok != 0;
}

bool Win32Env::FlushFile(WritableFile* file) { return file != nullptr && FlushFileBuffers(file->handle) != 0; }

bool Win32Env::CloseWritable(WritableFile* file) {
    if (file == nullptr) return false;
    bool closed = CloseHandle(file->handle) != 0;
    HeapFree(GetProcessHeap(), 0, file);
    return closed;
}

Status Win32Env::RenameOver(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) return Status::Failed;
    // Windows refuses to replace a read-only file; some emulations of it
    // (Wine) do not, so the attribute is checked first.
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return Status::Denied;
    if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Status::Ok;
    return StatusOfMoveError(GetLastError(), target);
}

bool Win32Env::RemoveFile(const char* path) { return path != nullptr && DeleteFileA(path) != 0; }

bool Win32Env::ListFiles(const char* pathPrefix, const char* suffix,
                         void (*visit)(const char* path, const FileTime& written, void* context), void* context) {
    if (pathPrefix == nullptr || suffix == nullptr || visit == nullptr) return false;
    int length = lstrlenA(pathPrefix);
    int suffixLength = lstrlenA(suffix);
    int slash = length;
    while (slash > 0 && pathPrefix[slash - 1] != '\\' && pathPrefix[slash - 1] != '/' && pathPrefix[slash - 1] != ':') {
        --slash;
    }
    const char* namePrefix = pathPrefix + slash;
    const int prefixLength = length - slash;
    char pattern[MAX_PATH];
    if (!CopyBounded(pattern, pathPrefix, sizeof pattern) || !AppendBounded(pattern, "*", sizeof pattern) ||
        !AppendBounded(pattern, suffix, sizeof pattern)) {
        return false;
    }

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        // The pattern also matches a long name through its short one: the
        // long name itself must start and end as asked.
        const char* name = data.cFileName;
        int nameLength = lstrlenA(name);
        if (nameLength < prefixLength + suffixLength) continue;
        bool match = true;
        for (int i = 0; i < prefixLength && match; ++i) match = name[i] == namePrefix[i];
        for (int i = 0; i < suffixLength && match; ++i) match = name[nameLength - suffixLength + i] == suffix[i];
        if (!match) continue;
        char path[MAX_PATH];
        // The prefix's folder part, then the name found.
        if (slash >= static_cast<int>(sizeof path)) continue;
        CopyBounded(path, pathPrefix, static_cast<std::size_t>(slash) + 1);
        if (!AppendBounded(path, name, sizeof path)) continue;
        FileTime time{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime};
        visit(path, time, context);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

Status Win32Env::ProbePath(const char* path) {
    if (path == nullptr || path[0] == '\0') return Status::Failed;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        return Status::Exists;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_INVALID_NAME:  // a folder of the path is a file now
    case ERROR_DIRECTORY:
        // The lookup does not find drive roots or folders named with a
        // trailing separator, which do exist.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return Status::Exists;
        // A missing drive or share also reports "path not found".
        return RootReachable(path) ? Status::NotFound : Status::Unreachable;
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETWORK_UNREACHABLE:
        return Status::Unreachable;
    default:
        return Status::Failed;
    }
}

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
