// The POSIX environment, declared for the env_*_posix.cpp files that
// implement it, with the few helpers they share.
//
// Files: the Windows share modes that matter here are emulated with flock():
// a reader holds a shared lock while its file is open, and a replacement
// takes an exclusive lock on the file it replaces, failing at once when a
// reader holds it. Every Tarnwick process honours these locks.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <ctime>

#include "platform/env.h"

namespace tarnwick {
namespace platform {
namespace posix {

// Longest path the layer builds, terminator included.
constexpr std::size_t kSystemPathSize = PATH_MAX;
// Longest single folder or file name on the usual file systems.
constexpr std::size_t kNameMax = 255;

class PosixEnv : public Env {
public:
    void* AllocZeroed(std::size_t size) override;
    void* Alloc(std::size_t size) override;
    void Release(void* block) override;

    Status OpenForRead(const char* path, File** file) override;
    bool GetFileTime(File* file, FileTime* time) override;
    bool GetFileSize(File* file, std::uint64_t* size) override;
    bool GetFileIdentity(File* file, std::uint64_t* identity) override;
    bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override;
    void CloseFile(File* file) override;
    Status StatFile(const char* path, std::uint64_t* size, FileTime* time) override;
    bool NamesOneFile(const char* path) override;
    Status ProbePath(const char* path) override;

    bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) override;
    Status CreateNewFile(const char* path, WritableFile** file) override;
    bool WriteFile(WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) override;
    bool FlushFile(WritableFile* file) override;
    bool CloseWritable(WritableFile* file) override;
    Status RenameOver(const char* source, const char* target) override;
    bool RemoveFile(const char* path) override;
    bool ListFiles(const char* pathPrefix, const char* suffix,
                   void (*visit)(const char* path, const FileTime& written, void* context), void* context) override;
    Status TryLockFile(const char* path, LockFile** lock) override;
    void UnlockFile(LockFile* lock) override;

    RegistryKey* RegistryOpenForRead(const char* path) override;
    RegistryKey* RegistryCreateForWrite(const char* path) override;
    void RegistryClose(RegistryKey* key) override;
    bool RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) override;
    bool RegistrySetString(RegistryKey* key, const char* name, const char* text) override;

    void SleepMilliseconds(unsigned milliseconds) override;
    std::uint32_t ProcessId() override;
    bool ProcessRunning(std::uint32_t processId) override;
    FileTime CurrentTime() override;
};

// ---- Bounded strings --------------------------------------------------

std::size_t Length(const char* text);
// Appends `count` bytes of `text` to the string of `*used` bytes in `buffer`
// (of `size` bytes), keeping it terminated. False when it does not fit; the
// buffer is then unchanged.
bool Append(char* buffer, std::size_t size, std::size_t* used, const char* text, std::size_t count);
bool AppendText(char* buffer, std::size_t size, std::size_t* used, const char* text);

// ---- Times ------------------------------------------------------------

// A time since the Unix epoch as FILETIME ticks (zero before 1601).
FileTime FileTimeOf(const timespec& time);

// ---- Descriptors ------------------------------------------------------

// Writes all `size` bytes, retrying interrupted and partial writes.
bool WriteAll(int fd, const unsigned char* data, std::size_t size);
// Reads until `size` bytes or the end of the file; the count read goes to `*read_count`.
bool ReadAll(int fd, unsigned char* data, std::size_t size, std::size_t* read_count);
// flock() without waiting, retried when interrupted.
int LockNoWait(int fd, int operation);

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
