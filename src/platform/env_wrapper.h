// An environment that hands every call to another one, in the manner of
// LevelDB's EnvWrapper. An environment that watches or changes only some
// calls (a test double that counts the heap, one that injects faults, one
// whose files live in memory) derives from it and overrides just those, so
// that a new Env operation is forwarded in one place.
//
//   class SlowDisk : public platform::EnvWrapper {
//   public:
//       explicit SlowDisk(Env* target) : EnvWrapper(target) {}
//       bool FlushFile(WritableFile* file) override { ...; return target()->FlushFile(file); }
//   };
//
// Every call is forwarded as it is, Alloc included: a wrapper that keeps
// its own books on the heap overrides AllocZeroed, Alloc and Release
// together, or blocks of one kind go past it. Handles made by the target
// belong to it: a wrapper that makes its own handles (its own files)
// overrides every call that takes them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace platform {

class EnvWrapper : public Env {
public:
    // REQUIRES: `target` outlives the wrapper.
    explicit EnvWrapper(Env* target) : target_(target) {}
    ~EnvWrapper() override;

    // The environment every call goes to.
    Env* target() const { return target_; }

    void* AllocZeroed(std::size_t size) override;
    void* Alloc(std::size_t size) override;
    void Release(void* block) override;

    Status OpenForRead(const char* path, File** file) override;
    bool GetFileTime(File* file, FileTime* time) override;
    bool GetFileSize(File* file, std::uint64_t* size) override;
    bool GetFileIdentity(File* file, std::uint64_t* identity) override;
    bool ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override;
    void CloseFile(File* file) override;
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
    // The target's numbers, so that every wrapper of one environment draws
    // from one counter and their temporary names never collide.
    std::uint32_t NextTempNumber() override;

private:
    Env* const target_;
};

}  // namespace platform
}  // namespace tarnwick
