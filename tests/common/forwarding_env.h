// An environment that hands every call to another one. Test and benchmark
// environments derive from it and override only what they watch or change,
// so that a new Env operation is forwarded in one place. Header-only, so
// that benchmarks can use it without the test support library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace testing_support {

class ForwardingEnv : public platform::Env {
public:
    explicit ForwardingEnv(platform::Env* base) : base_(base) {}

    void* AllocZeroed(std::size_t size) override { return base_->AllocZeroed(size); }
    void Release(void* block) override { base_->Release(block); }

    platform::Status OpenForRead(const char* path, platform::File** file) override {
        return base_->OpenForRead(path, file);
    }
    bool GetFileTime(platform::File* file, platform::FileTime* time) override { return base_->GetFileTime(file, time); }
    bool GetFileSize(platform::File* file, std::uint64_t* size) override { return base_->GetFileSize(file, size); }
    bool GetFileIdentity(platform::File* file, std::uint64_t* identity) override {
        return base_->GetFileIdentity(file, identity);
    }
    bool ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override {
        return base_->ReadFile(file, buffer, size, read);
    }
    void CloseFile(platform::File* file) override { base_->CloseFile(file); }
    platform::Status ProbePath(const char* path) override { return base_->ProbePath(path); }

    bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) override {
        return base_->ResolveReplaceTarget(path, buffer, size);
    }
    platform::Status CreateNewFile(const char* path, platform::WritableFile** file) override {
        return base_->CreateNewFile(path, file);
    }
    bool WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) override {
        return base_->WriteFile(file, data, size, written);
    }
    bool FlushFile(platform::WritableFile* file) override { return base_->FlushFile(file); }
    bool CloseWritable(platform::WritableFile* file) override { return base_->CloseWritable(file); }
    platform::Status RenameOver(const char* source, const char* target) override {
        return base_->RenameOver(source, target);
    }
    bool RemoveFile(const char* path) override { return base_->RemoveFile(path); }
    bool ListFiles(const char* pathPrefix, const char* suffix,
                   void (*visit)(const char* path, const platform::FileTime& written, void* context),
                   void* context) override {
        return base_->ListFiles(pathPrefix, suffix, visit, context);
    }

    platform::Status TryLockFile(const char* path, platform::LockFile** lock) override {
        return base_->TryLockFile(path, lock);
    }
    void UnlockFile(platform::LockFile* lock) override { base_->UnlockFile(lock); }

    platform::RegistryKey* RegistryOpenForRead(const char* path) override { return base_->RegistryOpenForRead(path); }
    platform::RegistryKey* RegistryCreateForWrite(const char* path) override {
        return base_->RegistryCreateForWrite(path);
    }
    void RegistryClose(platform::RegistryKey* key) override { base_->RegistryClose(key); }
    bool RegistryQueryValue(platform::RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) override {
        return base_->RegistryQueryValue(key, name, buffer, size);
    }
    bool RegistrySetString(platform::RegistryKey* key, const char* name, const char* text) override {
        return base_->RegistrySetString(key, name, text);
    }

    void SleepMilliseconds(unsigned milliseconds) override { base_->SleepMilliseconds(milliseconds); }
    std::uint32_t ProcessId() override { return base_->ProcessId(); }
    bool ProcessRunning(std::uint32_t processId) override { return base_->ProcessRunning(processId); }
    platform::FileTime CurrentTime() override { return base_->CurrentTime(); }
    std::uint32_t NextTempNumber() override { return base_->NextTempNumber(); }

protected:
    platform::Env* base() const { return base_; }

private:
    platform::Env* base_;
};

}  // namespace testing_support
}  // namespace tarnwick
