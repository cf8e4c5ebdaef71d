#include "common/fault_env.h"

namespace tarnwick {
namespace testing_support {

void FaultEnv::FailAt(Op op, int n, Fault fault, int count) {
    int i = static_cast<int>(op);
    first_[i] = calls_[i] + n;
    last_[i] = count < 0 ? 0x7FFFFFFF : first_[i] + count - 1;
    fault_[i] = fault;
    if (op == Op::Write) diskFull_ = false;
}

FaultEnv::Fault FaultEnv::Next(Op op) {
    int i = static_cast<int>(op);
    int call = ++calls_[i];
    if (fault_[i] == Fault::None || call < first_[i] || call > last_[i]) return Fault::None;
    return fault_[i];
}

void FaultEnv::ClearFaults() {
    for (int i = 0; i < static_cast<int>(Op::Count); ++i) fault_[i] = Fault::None;
    diskFull_ = false;
}

void* FaultEnv::AllocZeroed(std::size_t size) {
    if (Next(Op::Alloc) != Fault::None) return nullptr;
    void* block = target()->AllocZeroed(size);
    if (block != nullptr) ++live_;
    return block;
}

void* FaultEnv::Alloc(std::size_t size) {
    if (Next(Op::Alloc) != Fault::None) return nullptr;
    void* block = target()->Alloc(size);
    if (block != nullptr) ++live_;
    return block;
}

void FaultEnv::Release(void* block) {
    if (block == nullptr) return;
    --live_;
    target()->Release(block);
}

bool FaultEnv::GetFileTime(platform::File* file, platform::FileTime* time) {
    if (Next(Op::Time) != Fault::None) return false;
    return target()->GetFileTime(file, time);
}

bool FaultEnv::GetFileSize(platform::File* file, std::uint64_t* size) {
    if (Next(Op::Size) != Fault::None) return false;
    return target()->GetFileSize(file, size);
}

platform::Status FaultEnv::ProbePath(const char* path) {
    switch (Next(Op::Probe)) {
    case Fault::None:
        return target()->ProbePath(path);
    case Fault::Missing:
        return platform::Status::NotFound;
    case Fault::Busy:
        return platform::Status::Unreachable;
    default:
        return platform::Status::Failed;
    }
}

bool FaultEnv::CloseWritable(platform::WritableFile* file) {
    // The handle is gone either way; only the report differs.
    bool closed = target()->CloseWritable(file);
    return Next(Op::CloseWritable) == Fault::None && closed;
}

bool FaultEnv::RemoveFile(const char* path) {
    if (Next(Op::Remove) != Fault::None) return false;
    return target()->RemoveFile(path);
}

platform::RegistryKey* FaultEnv::RegistryOpenForRead(const char* path) {
    if (Next(Op::RegistryOpen) != Fault::None) return nullptr;
    return target()->RegistryOpenForRead(path);
}

platform::RegistryKey* FaultEnv::RegistryCreateForWrite(const char* path) {
    if (Next(Op::RegistryCreate) != Fault::None) return nullptr;
    return target()->RegistryCreateForWrite(path);
}

bool FaultEnv::RegistrySetString(platform::RegistryKey* key, const char* name, const char* text) {
    if (Next(Op::RegistrySet) != Fault::None) return false;
    return target()->RegistrySetString(key, name, text);
}

platform::Status FaultEnv::OpenForRead(const char* path, platform::File** file) {
    if (file != nullptr) *file = nullptr;
    switch (Next(Op::Open)) {
    case Fault::None:
        return target()->OpenForRead(path, file);
    case Fault::Busy:
        return platform::Status::Busy;
    case Fault::Denied:
        return platform::Status::Denied;
    case Fault::NotFound:
        return platform::Status::NotFound;
    default:
        return platform::Status::Failed;
    }
}

bool FaultEnv::ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    Fault fault = Next(Op::Read);
    if (fault == Fault::None) return target()->ReadFile(file, buffer, size, read);
    if (fault == Fault::Short) return target()->ReadFile(file, buffer, size / 2, read);
    if (read != nullptr) *read = 0;
    return false;
}

platform::Status FaultEnv::CreateNewFile(const char* path, platform::WritableFile** file) {
    if (file != nullptr) *file = nullptr;
    switch (Next(Op::Create)) {
    case Fault::None:
        return target()->CreateNewFile(path, file);
    case Fault::Busy:
        return platform::Status::Busy;
    case Fault::Denied:
        return platform::Status::Denied;
    default:
        return platform::Status::Failed;
    }
}

bool FaultEnv::WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) {
    Fault fault = Next(Op::Write);
    if (fault == Fault::DiskFull) diskFull_ = true;
    if (diskFull_) {
        // A full disk takes what fits of this write and nothing after it.
        if (fault == Fault::DiskFull && size > 1) {
            std::uint32_t part = 0;
            target()->WriteFile(file, data, size / 2, &part);
        }
        if (written != nullptr) *written = 0;
        return false;
    }
    if (fault == Fault::None) return target()->WriteFile(file, data, size, written);
    if (fault == Fault::Short) return target()->WriteFile(file, data, size / 2, written);
    if (written != nullptr) *written = 0;
    return false;
}

bool FaultEnv::FlushFile(platform::WritableFile* file) {
    if (Next(Op::Flush) != Fault::None) return false;
    return skipFlushes_ || target()->FlushFile(file);
}

platform::Status FaultEnv::RenameOver(const char* source, const char* target) {
    switch (Next(Op::Rename)) {
    case Fault::None:
        return EnvWrapper::RenameOver(source, target);  // `target` is the file here
    case Fault::Busy:
        return platform::Status::Busy;
    case Fault::Denied:
        return platform::Status::Denied;
    default:
        return platform::Status::Failed;
    }
}

platform::Status FaultEnv::TryLockFile(const char* path, platform::LockFile** lock) {
    if (lock != nullptr) *lock = nullptr;
    switch (Next(Op::Lock)) {
    case Fault::None:
        return target()->TryLockFile(path, lock);
    case Fault::Busy:
        return platform::Status::Busy;
    default:
        return platform::Status::Unavailable;
    }
}

bool FaultEnv::RegistryQueryValue(platform::RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
    switch (Next(Op::RegistryQuery)) {
    case Fault::None:
        return target()->RegistryQueryValue(key, name, buffer, size);
    case Fault::Unterminated:
        // The whole buffer filled with text and no terminator.
        if (buffer == nullptr || size == nullptr) return false;
        for (std::uint32_t i = 0; i < *size; ++i) static_cast<char*>(buffer)[i] = 'x';
        return true;
    default:  // missing, too large, any other error
        return false;
    }
}

}  // namespace testing_support
}  // namespace tarnwick
