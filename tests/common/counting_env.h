// An environment that passes every call to a real one and counts its heap:
// allocations made, bytes live and the most bytes live at once. Header-only,
// so that benchmarks can use it without the test support library.
//
//   CountingEnv env(platform::Env::Default());
//   ... work through &env ...
//   env.Peak();  // the most bytes that were live at one time
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace testing_support {

class CountingEnv : public platform::Env {
public:
    explicit CountingEnv(platform::Env* base) : base_(base) {}

    std::uint64_t Allocations() const { return allocations_; }
    std::uint64_t Live() const { return live_; }
    std::uint64_t Peak() const { return peak_; }
    // Starts a new peak from what is live now, and a new count.
    void ResetCounts() {
        peak_ = live_;
        allocations_ = 0;
    }

    // Each block carries its size in a header in front of it.
    void* AllocZeroed(std::size_t size) override {
        if (size > SIZE_MAX - kHeader) return nullptr;
        char* block = static_cast<char*>(base_->AllocZeroed(size + kHeader));
        if (block == nullptr) return nullptr;
        *reinterpret_cast<std::size_t*>(block) = size;
        allocations_ += 1;
        live_ += size;
        if (live_ > peak_) peak_ = live_;
        return block + kHeader;
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        char* start = static_cast<char*>(block) - kHeader;
        live_ -= *reinterpret_cast<std::size_t*>(start);
        base_->Release(start);
    }

    platform::OpenStatus OpenForRead(const char* path, platform::File** file) override {
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
    platform::PathStatus ProbePath(const char* path) override { return base_->ProbePath(path); }
    bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) override {
        return base_->ResolveReplaceTarget(path, buffer, size);
    }
    platform::CreateStatus CreateNewFile(const char* path, platform::WritableFile** file) override {
        return base_->CreateNewFile(path, file);
    }
    bool WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) override {
        return base_->WriteFile(file, data, size, written);
    }
    bool FlushFile(platform::WritableFile* file) override { return base_->FlushFile(file); }
    bool CloseWritable(platform::WritableFile* file) override { return base_->CloseWritable(file); }
    platform::WriteStatus RenameOver(const char* source, const char* target) override {
        return base_->RenameOver(source, target);
    }
    bool RemoveFile(const char* path) override { return base_->RemoveFile(path); }
    bool ListFiles(const char* pathPrefix, const char* suffix,
                   void (*visit)(const char* path, const platform::FileTime& written, void* context),
                   void* context) override {
        return base_->ListFiles(pathPrefix, suffix, visit, context);
    }
    platform::LockStatus TryLockFile(const char* path, platform::LockFile** lock) override {
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

private:
    static constexpr std::size_t kHeader = 16;  // keeps the blocks 16-byte aligned

    platform::Env* base_;
    std::uint64_t allocations_ = 0;
    std::uint64_t live_ = 0;
    std::uint64_t peak_ = 0;
};

}  // namespace testing_support
}  // namespace tarnwick
