// The narrow interface between the portable core and the operating system:
// the process heap, the registry below HKEY_CURRENT_USER, the few file
// operations the position file needs, and the clock for short waits.
//
// platform_win32.cpp implements it with the Win32 calls themselves;
// platform_posix.cpp is our own substitute with the same observable
// behaviour where POSIX allows it (registry keys are folders, values are
// files holding their bytes; share modes are emulated with advisory locks
// that every Tarnwick process honours). Paths are 8-bit strings, passed to
// the system as they are.
//
// The POSIX registry lives below the folder named by the environment
// variable TARNWICK_REGISTRY_ROOT, else $XDG_CONFIG_HOME/tarnwick/registry,
// else $HOME/.config/tarnwick/registry; it is looked up at every call, so a
// program may point it elsewhere at any time. Key and value names compare
// ignoring the case of ASCII letters only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {
namespace platform {

// ---- Heap -------------------------------------------------------------

// Zero-filled block from the process heap; null on failure. Size 0 is
// served as 1 byte.
void* HeapAllocZeroed(std::size_t size);
// Returns a block to the process heap; null is ignored.
void HeapRelease(void* block);

// ---- Registry (below HKEY_CURRENT_USER) -------------------------------

struct RegistryKey;  // opaque open key

// Opens `path` (relative to HKEY_CURRENT_USER) for reading values
// (RegOpenKeyExA, KEY_QUERY_VALUE). Null on any failure.
RegistryKey* RegistryOpenForRead(const char* path);
// Opens `path` for writing, creating it when missing (RegCreateKeyExA,
// KEY_WRITE). Null on any failure.
RegistryKey* RegistryCreateForWrite(const char* path);
void RegistryClose(RegistryKey* key);

// Reads the raw bytes of a value, whatever its type (RegQueryValueExA).
// `*size` holds the buffer's size on entry and the value's byte count on
// success. False when the value is missing, larger than the buffer, or on
// any other error; the buffer's contents are then unspecified.
// Note: like the system call, a string value that was stored without a
// terminator may come back without one. Some systems (Wine) add the
// terminator and count it in `*size`, and then also need room for it in the
// buffer. Callers must handle both.
bool RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size);
// Stores `text` with its terminator as a REG_SZ value (RegSetValueExA).
bool RegistrySetString(RegistryKey* key, const char* name, const char* text);
// Stores raw bytes as a REG_SZ value, as a program other than ours might
// (without a terminator, say). For tests of broken values.
bool RegistrySetRaw(RegistryKey* key, const char* name, const void* bytes, std::uint32_t size);
// Deletes a key with all its values and sub-keys. For tests and tools.
bool RegistryDeleteTree(const char* path);

// ---- Files ------------------------------------------------------------

// A file's last-write time, as the system's FILETIME (100 ns ticks).
struct FileTime {
    std::uint32_t Low;
    std::uint32_t High;
};

// Negative, zero or positive as `a` is older than, equal to or newer than
// `b` (CompareFileTime).
int CompareTimes(const FileTime& a, const FileTime& b);
bool TimesEqual(const FileTime& a, const FileTime& b);

enum class OpenStatus {
    Ok,
    NotFound,     // the file or a folder of its path does not exist
    Busy,         // another process holds it in a way that excludes us (sharing violation, lock)
    Denied,       // no permission
    Failed,       // any other failure
};

struct File;  // opaque open file

// Opens an existing file for reading, sharing reading only (CreateFileA,
// GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING). While it is open, another
// process can read the file but cannot write or replace it.
OpenStatus OpenForRead(const char* path, File** file);
// The open file's last-write time (GetFileTime). False when unreadable.
bool GetFileTime(File* file, FileTime* time);
// The open file's size in bytes (GetFileSize). False when unreadable.
bool GetFileSize(File* file, std::uint64_t* size);
// A number that names the open file's own data on its volume (the inode, or
// the file index and volume serial number), so that a file replaced by
// another one is told apart even when time and size match. False when the
// file system does not tell.
bool GetFileIdentity(File* file, std::uint64_t* identity);
// Reads up to `size` bytes from the current position (ReadFile).
bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read);
void CloseFile(File* file);

enum class WriteStatus {
    Ok,
    Busy,      // the target is open in another process (a reader) and cannot be replaced
    Denied,    // no permission to write in the folder or to replace the file
    Failed,    // full disk, short write, any other failure
};

// Replaces the whole content of `path` with `size` bytes, never leaving a
// torn or empty file: the bytes go to a temporary file in the same folder,
// named uniquely per process and per call, are checked to be written in
// full and flushed to disk, and the temporary file then replaces `path` in
// one step (MoveFileExA with MOVEFILE_REPLACE_EXISTING|MOVEFILE_WRITE_THROUGH
// on Windows, rename on POSIX). On any failure `path` is left as it was and
// the temporary file is removed.
WriteStatus ReplaceFileContent(const char* path, const void* data, std::uint32_t size);

enum class PathStatus {
    Exists,       // a file or folder answers to the path (FindFirstFileA found it,
                  // or GetFileAttributesA did for roots and "folder\" paths)
    Missing,      // the lookup said file or path not found (or a folder of the path is a
                  // file), and the path's root can be reached
    Unreachable,  // the root (drive, share, medium) cannot be reached now
    Failed,       // any other failure of the lookup
};
// Existence test used to purge the entries of vanished files.
PathStatus ProbePath(const char* path);

// ---- Process ----------------------------------------------------------

// Sleeps the calling thread for about `milliseconds`.
void SleepMilliseconds(unsigned milliseconds);
// The calling process's id, for unique temporary names.
std::uint32_t ProcessId();

}  // namespace platform
}  // namespace tarnwick
