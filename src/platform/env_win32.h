// The Windows environment, declared for the env_*_win32.cpp files that
// implement it: the process heap, the registry below HKEY_CURRENT_USER and
// the file functions of kernel32, called directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace platform {
namespace win32 {

class Win32Env : public Env {
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

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
