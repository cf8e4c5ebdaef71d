// An environment that passes every call to the real one and keeps count of
// the heap blocks it hands out and of their bytes, for the memory figures.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace benchhost {

class CountingEnv : public tarnwick::platform::Env {
public:
    // Each block carries its size in front of it, so that Release can
    // subtract it.
    static constexpr std::size_t kHeader = 16;

    void* AllocZeroed(std::size_t size) override {
        unsigned char* block = static_cast<unsigned char*>(base_->AllocZeroed(size + kHeader));
        if (block == nullptr) return nullptr;
        *reinterpret_cast<std::size_t*>(block) = size;
        LiveBytes += size;
        LiveBytes32 += Bytes32(size);
        LiveBlocks += 1;
        Allocations += 1;
        return block + kHeader;
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        unsigned char* start = static_cast<unsigned char*>(block) - kHeader;
        LiveBytes -= *reinterpret_cast<std::size_t*>(start);
        LiveBytes32 -= Bytes32(*reinterpret_cast<std::size_t*>(start));
        LiveBlocks -= 1;
        base_->Release(start);
    }
    tarnwick::platform::OpenStatus OpenForRead(const char* path, tarnwick::platform::File** file) override {
        return base_->OpenForRead(path, file);
    }
    bool GetFileTime(tarnwick::platform::File* file, tarnwick::platform::FileTime* time) override {
        return base_->GetFileTime(file, time);
    }
    bool GetFileSize(tarnwick::platform::File* file, std::uint64_t* size) override {
        return base_->GetFileSize(file, size);
    }
    bool GetFileIdentity(tarnwick::platform::File* file, std::uint64_t* identity) override {
        return base_->GetFileIdentity(file, identity);
    }
    bool ReadFile(tarnwick::platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override {
        return base_->ReadFile(file, buffer, size, read);
    }
    void CloseFile(tarnwick::platform::File* file) override { base_->CloseFile(file); }
    tarnwick::platform::PathStatus ProbePath(const char* path) override { return base_->ProbePath(path); }
    bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) override {
        return base_->ResolveReplaceTarget(path, buffer, size);
    }
    tarnwick::platform::CreateStatus CreateNewFile(const char* path, tarnwick::platform::WritableFile** file) override {
        return base_->CreateNewFile(path, file);
    }
    bool WriteFile(tarnwick::platform::WritableFile* file, const void* data, std::uint32_t size,
                   std::uint32_t* written) override {
        return base_->WriteFile(file, data, size, written);
    }
    bool FlushFile(tarnwick::platform::WritableFile* file) override { return base_->FlushFile(file); }
    bool CloseWritable(tarnwick::platform::WritableFile* file) override { return base_->CloseWritable(file); }
    tarnwick::platform::WriteStatus RenameOver(const char* source, const char* target) override {
        return base_->RenameOver(source, target);
    }
    bool RemoveFile(const char* path) override { return base_->RemoveFile(path); }
    tarnwick::platform::RegistryKey* RegistryOpenForRead(const char* path) override {
        return base_->RegistryOpenForRead(path);
    }
    tarnwick::platform::RegistryKey* RegistryCreateForWrite(const char* path) override {
        return base_->RegistryCreateForWrite(path);
    }
    void RegistryClose(tarnwick::platform::RegistryKey* key) override { base_->RegistryClose(key); }
    bool RegistryQueryValue(tarnwick::platform::RegistryKey* key, const char* name, void* buffer,
                            std::uint32_t* size) override {
        return base_->RegistryQueryValue(key, name, buffer, size);
    }
    bool RegistrySetString(tarnwick::platform::RegistryKey* key, const char* name, const char* text) override {
        return base_->RegistrySetString(key, name, text);
    }
    void SleepMilliseconds(unsigned milliseconds) override { base_->SleepMilliseconds(milliseconds); }
    std::uint32_t ProcessId() override { return base_->ProcessId(); }

    // What the live blocks would take in the 32-bit build: blocks of
    // `NodeSize` bytes (the markup node) count `NodeSize32` bytes there,
    // every other block its own size; each is rounded up to the heap's 8-byte
    // granularity and carries the 8-byte header of the Windows heap.
    std::size_t NodeSize = 0;
    std::size_t NodeSize32 = 0;
    std::int64_t LiveBytes32 = 0;

    std::int64_t LiveBytes = 0;
    std::int64_t LiveBlocks = 0;
    std::int64_t Allocations = 0;

private:
    std::int64_t Bytes32(std::size_t size) const {
        std::size_t size32 = size == NodeSize && NodeSize != 0 ? NodeSize32 : size;
        if (size32 == 0) size32 = 1;
        return static_cast<std::int64_t>((size32 + 7) / 8 * 8 + 8);
    }

    tarnwick::platform::Env* base_ = tarnwick::platform::Env::Default();
};

}  // namespace benchhost
