// The environment: everything the portable core takes from the operating
// system, behind one abstract class in the manner of LevelDB's Env. The
// process heap, the files the position file needs (read side and the single
// steps of a whole-file replace), the registry below HKEY_CURRENT_USER, short
// waits, the process id and the numbers of temporary names.
//
// Env::Default() is the real system: env_win32.cpp with the Win32 calls
// themselves, or the env_*_posix.cpp files, our own substitute with the same
// observable behaviour where POSIX allows it (registry keys are folders,
// values are files holding their bytes; share modes are emulated with
// advisory locks that every Tarnwick process honours). It is the only
// environment that the platform layer makes. Tests hand the core another
// Env instead, most often an EnvWrapper (env_wrapper.h) around the real one
// that watches or changes some of its calls. Paths are 8-bit strings, passed
// to the system as they are.
//
// The POSIX registry lives below the folder named by the environment
// variable TARNWICK_REGISTRY_ROOT, else $XDG_CONFIG_HOME/tarnwick/registry,
// else $HOME/.config/tarnwick/registry; it is looked up at every call, so a
// program may point it elsewhere at any time. Key and value names compare
// ignoring the case of ASCII letters only.
//
// Every operation may be called from any thread; handles belong to the Env
// that made them and must go back to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tarnwick {
namespace platform {

// A file's last-write time, as the system's FILETIME (100 ns ticks).
struct FileTime {
    std::uint32_t Low;
    std::uint32_t High;
};

// Negative, zero or positive as `a` is older than, equal to or newer than
// `b` (as CompareFileTime).
int CompareTimes(const FileTime& a, const FileTime& b);
bool TimesEqual(const FileTime& a, const FileTime& b);

// The outcome of an Env call that can fail in more than one way. Each call
// says which of these it returns; it never returns the others.
enum class Status {
    Ok,           // done
    NotFound,     // the file or a folder of its path does not exist
    Exists,       // a file or folder answers to the name
    Busy,         // another process holds it in a way that excludes us (sharing violation, lock)
    Denied,       // no permission, or a file the system refuses to replace (read-only)
    Unavailable,  // the update lock cannot be had here (a read-only folder, no permission, any other failure)
    Unreachable,  // the path's root (drive, share, medium) cannot be reached now
    Failed,       // any other failure
};

struct File;          // opaque file open for reading
struct WritableFile;  // opaque new file open for writing
struct LockFile;      // opaque held update lock
struct RegistryKey;   // opaque open registry key

class Env {
public:
    constexpr Env() = default;
    virtual ~Env();
    Env(const Env&) = delete;
    Env& operator=(const Env&) = delete;

    // The real operating system; one object for the life of the process.
    static Env* Default();

    // ---- Heap ---------------------------------------------------------

    // Zero-filled block from the process heap; null on failure. Size 0 is
    // served as 1 byte.
    virtual void* AllocZeroed(std::size_t size) = 0;
    // A block whose bytes are left as the heap has them, for buffers that
    // are filled before they are read (a file's text, a text to write):
    // zeroing megabytes that are then overwritten costs as much as a tenth
    // of a Load. By default it is AllocZeroed, so an environment that
    // counts or fails allocations sees this one too.
    virtual void* Alloc(std::size_t size);
    // Returns a block from AllocZeroed or Alloc to the heap; null is ignored.
    virtual void Release(void* block) = 0;

    // ---- Files: reading -----------------------------------------------

    // Opens an existing file for reading, sharing reading only (CreateFileA,
    // GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING). While it is open,
    // another process can read the file but cannot write or replace it.
    // Returns Ok, NotFound (the file or a folder of its path does not
    // exist; an empty or null path), Busy (another process holds it in a
    // way that excludes reading: a sharing violation, a lock), Denied (no
    // permission; a folder or other thing that is no file) or Failed.
    // `*file` is null on any status but Ok.
    virtual Status OpenForRead(const char* path, File** file) = 0;
    // The open file's last-write time (GetFileTime). False when unreadable.
    virtual bool GetFileTime(File* file, FileTime* time) = 0;
    // The open file's size in bytes (GetFileSize). False when unreadable.
    virtual bool GetFileSize(File* file, std::uint64_t* size) = 0;
    // A number that names the open file's own data on its volume (the
    // inode, or the file index and volume serial number), so that a file
    // replaced by another one is told apart even when time and size match.
    // False when the file system does not tell.
    virtual bool GetFileIdentity(File* file, std::uint64_t* identity) = 0;
    // Reads up to `size` bytes from the current position (ReadFile); the
    // count read goes to `*read` (0 at the end of the file). False on an
    // error, with `*read` what was read before it.
    virtual bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) = 0;
    // Closes the file and releases the handle; null is ignored.
    virtual void CloseFile(File* file) = 0;
    // The size and last-write time of the file at `path`, as an open
    // handle would give them. This default opens the file, asks and closes
    // it (through the calls above, so that an environment that wraps them
    // sees each one); the system's environments ask by name, without
    // opening (stat, GetFileAttributesExA). Ok, or what OpenForRead says,
    // or Failed when the file does not tell.
    virtual Status StatFile(const char* path, std::uint64_t* size, FileTime* time);

    // True when `path`, as the file API reads it, names one existing file
    // that no other name of its folder could be mistaken for: on Windows,
    // no other entry of the folder turns into the same name in the file
    // API's code page (a character that page lacks becomes `?` or a
    // look-alike), and the entry's own name survives the conversion
    // unchanged. POSIX names are bytes with no code page to convert them
    // to: there no other entry of the folder may look like the name but
    // for characters outside ASCII, which any conversion may have made of
    // its letters. This default asks StatFile whether a file answers to the
    // name. Reads the folder: for the few events that open or store a file.
    virtual bool NamesOneFile(const char* path);

    // Existence test used to purge the entries of vanished files. Returns
    // Exists (a file or folder answers to the path: FindFirstFileA found it,
    // or GetFileAttributesA did for roots and "folder\" paths), NotFound
    // (the lookup said file or path not found, or a folder of the path is a
    // file, and the path's root can be reached), Unreachable (the root:
    // drive, share, medium, cannot be reached now) or Failed (any other
    // failure of the lookup; an empty or null path). Never Ok.
    virtual Status ProbePath(const char* path) = 0;

    // ---- Files: the steps of a whole-file replace -----------------------

    // The path a replace of `path` must write: the file a symbolic link
    // points to on POSIX, `path` itself on Windows. False (nothing in
    // `buffer`) when the path is to be taken as it is; `buffer` holds
    // `size` bytes.
    virtual bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) = 0;
    // Creates the file `path`, which must not exist yet, for writing with
    // no sharing (CreateFileA, GENERIC_WRITE, CREATE_NEW). Returns Ok,
    // Exists (a file of that name is there already), Busy (a sharing or
    // lock violation), Denied (no permission to create it in that folder)
    // or Failed. `*file` is null on any status but Ok.
    virtual Status CreateNewFile(const char* path, WritableFile** file) = 0;
    // Writes up to `size` bytes at the end of what was written (WriteFile);
    // the count written goes to `*written`. False on an error (a full disk).
    virtual bool WriteFile(WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) = 0;
    // Forces what was written to the disk (FlushFileBuffers, fsync). False
    // on an error.
    virtual bool FlushFile(WritableFile* file) = 0;
    // Closes the file and releases the handle; false when the system
    // reported an error on closing (the handle is gone all the same).
    virtual bool CloseWritable(WritableFile* file) = 0;
    // Puts the closed file `source` in place of `target` in one step,
    // replacing it when it exists (MoveFileExA with
    // MOVEFILE_REPLACE_EXISTING|MOVEFILE_WRITE_THROUGH; rename on POSIX,
    // where a replaced file's permissions carry over and the folder is
    // flushed). Returns Ok, Busy (a reader holds `target` open and it
    // cannot be replaced), Denied (no permission to write in the folder or
    // to replace the file; `target` is read-only, on POSIX: no write
    // permission bit is set, or this user may not write it, as Windows
    // refuses it) or Failed (full disk, any other failure). On any failure
    // both files stay as they were.
    virtual Status RenameOver(const char* source, const char* target) = 0;
    // Deletes a file (DeleteFileA, unlink). False when it could not.
    virtual bool RemoveFile(const char* path) = 0;
    // Calls `visit` with the full path and the last-write time of every
    // file whose path begins with `pathPrefix` (a folder and the start of
    // a name in it) and ends with `suffix`: FindFirstFileA/FindNextFileA on
    // "<pathPrefix>*<suffix>" (names are checked again, the pattern also
    // matches short names), readdir on POSIX. `visit` may remove the file
    // it is handed. False when the folder cannot be listed.
    virtual bool ListFiles(const char* pathPrefix, const char* suffix,
                           void (*visit)(const char* path, const FileTime& written, void* context),
                           void* context) = 0;

    // ---- Files: the update lock -----------------------------------------

    // Takes the exclusive lock named `path` without waiting. Windows: the
    // file is opened with no sharing and FILE_FLAG_DELETE_ON_CLOSE
    // (CreateFileA, OPEN_ALWAYS), so that it vanishes with the last handle,
    // a killed holder's included. POSIX: the file is opened (made when
    // missing) and locked with flock(LOCK_EX), then checked to be still the
    // one at `path` (same inode), since a holder unlinks it before letting
    // go; the system drops the lock of a killed holder. Returns Ok (held by
    // the caller until UnlockFile), Busy (another process, or another lock
    // of this one, holds it now) or Unavailable (it cannot be had here: the
    // file cannot be made or opened, a read-only folder, no permission, any
    // other failure). `*lock` is null on any status but Ok.
    virtual Status TryLockFile(const char* path, LockFile** lock) = 0;
    // Lets the lock go and removes its file (on POSIX unlinked before it is
    // closed, so nobody locks a file that is about to vanish); null is
    // ignored.
    virtual void UnlockFile(LockFile* lock) = 0;

    // ---- Registry (below HKEY_CURRENT_USER) -----------------------------

    // Opens `path` (relative to HKEY_CURRENT_USER) for reading values
    // (RegOpenKeyExA, KEY_QUERY_VALUE). Null on any failure.
    virtual RegistryKey* RegistryOpenForRead(const char* path) = 0;
    // Opens `path` for writing, creating it when missing (RegCreateKeyExA,
    // KEY_WRITE). Null on any failure.
    virtual RegistryKey* RegistryCreateForWrite(const char* path) = 0;
    // Closes the key; null is ignored.
    virtual void RegistryClose(RegistryKey* key) = 0;
    // Reads the raw bytes of a value, whatever its type (RegQueryValueExA).
    // `*size` holds the buffer's size on entry and the value's byte count
    // on success. False when the value is missing, larger than the buffer,
    // or on any other error; the buffer's contents are then unspecified.
    // Note: like the system call, a string value that was stored without a
    // terminator may come back without one. Some systems (Wine) add the
    // terminator and count it in `*size`, and then also need room for it
    // in the buffer. Callers must handle both.
    virtual bool RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) = 0;
    // Stores `text` with its terminator as a REG_SZ value (RegSetValueExA).
    // False on any failure, null text included.
    virtual bool RegistrySetString(RegistryKey* key, const char* name, const char* text) = 0;

    // ---- Process --------------------------------------------------------

    // Sleeps the calling thread for about `milliseconds`.
    virtual void SleepMilliseconds(unsigned milliseconds) = 0;
    // The calling process's id, for unique temporary names.
    virtual std::uint32_t ProcessId() = 0;
    // False only when no process with that id runs (OpenProcess with
    // SYNCHRONIZE and a zero wait, kill(pid, 0)); true when it runs or the
    // system cannot tell (no permission to look).
    virtual bool ProcessRunning(std::uint32_t processId) = 0;
    // The current time of the file clock (GetSystemTimeAsFileTime).
    virtual FileTime CurrentTime() = 0;

    // ---- Temporary names ------------------------------------------------

    // The number for the next temporary file name (see temp_names.h): 1,
    // 2, 3 and on, never the same twice in one process for the life of this
    // Env. Safe from any thread.
    virtual std::uint32_t NextTempNumber();

private:
    // The environment's one piece of state: the temporary names it handed out.
    std::atomic<std::uint32_t> tempNumbers_{0};
};

}  // namespace platform
}  // namespace tarnwick
