// An environment that passes every call to a real one, counts the calls by
// kind and makes chosen calls fail the way the system does.
//
//   FaultEnv env(platform::Env::Default());
//   env.FailAt(FaultEnv::Op::Write, 3, FaultEnv::Fault::Short);  // the 3rd write from now comes up short
#pragma once

#include "platform/env.h"
#include "platform/env_wrapper.h"

namespace tarnwick {
namespace testing_support {

class FaultEnv : public platform::EnvWrapper {
public:
    // Time and Size are the open file's last-write time and size queries;
    // Remove is RemoveFile, Probe is ProbePath; the Registry* ones are the
    // registry's open for reading, create for writing, value query and set;
    // Lock is TryLockFile.
    enum class Op {
        Alloc,
        Open,
        Read,
        Create,
        Write,
        Flush,
        Rename,
        RegistryQuery,
        Time,
        Size,
        Remove,
        Probe,
        CloseWritable,
        RegistryOpen,
        RegistryCreate,
        RegistrySet,
        Lock,
        Count
    };
    enum class Fault { None, Fail, Short, Busy, Denied, NotFound, DiskFull, Missing, TooLarge, Unterminated };

    explicit FaultEnv(platform::Env* base) : EnvWrapper(base) {}

    // Makes calls number n .. n+count-1 of `op`, counted from now (1 = the
    // next one), fail with `fault` (DiskFull: that write takes half and
    // fails, every later write fails, until the next FailAt of writes);
    // a count of -1 means every call from n on.
    void FailAt(Op op, int n, Fault fault, int count = 1);
    // How many calls of `op` were made.
    int Calls(Op op) const { return calls_[static_cast<int>(op)]; }
    // Ends every fault set with FailAt (the counts go on).
    void ClearFaults();
    // When set, FlushFile succeeds without forcing anything to the disk
    // (for tests that make thousands of saves; faults still apply).
    void SkipFlushes(bool skip) { skipFlushes_ = skip; }
    // Blocks handed out by AllocZeroed and Alloc and not yet released
    // through this environment: 0 once everything made through it is gone.
    long Live() const { return live_; }

    // Both count as Op::Alloc.
    void* AllocZeroed(std::size_t size) override;
    void* Alloc(std::size_t size) override;
    void Release(void* block) override;
    platform::Status OpenForRead(const char* path, platform::File** file) override;
    bool GetFileTime(platform::File* file, platform::FileTime* time) override;
    bool GetFileSize(platform::File* file, std::uint64_t* size) override;
    bool ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override;
    // Fail gives Failed, Missing gives NotFound (a wrong answer: the file is
    // there), Busy gives Unreachable.
    platform::Status ProbePath(const char* path) override;
    platform::Status CreateNewFile(const char* path, platform::WritableFile** file) override;
    bool WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) override;
    bool FlushFile(platform::WritableFile* file) override;
    bool CloseWritable(platform::WritableFile* file) override;
    platform::Status RenameOver(const char* source, const char* target) override;
    bool RemoveFile(const char* path) override;
    platform::RegistryKey* RegistryOpenForRead(const char* path) override;
    platform::RegistryKey* RegistryCreateForWrite(const char* path) override;
    // Lock faults: Busy reports another holder, any other one Unavailable.
    platform::Status TryLockFile(const char* path, platform::LockFile** lock) override;
    bool RegistryQueryValue(platform::RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) override;
    bool RegistrySetString(platform::RegistryKey* key, const char* name, const char* text) override;

private:
    // Counts the call and returns the fault it is to have (None for most).
    Fault Next(Op op);

    int calls_[static_cast<int>(Op::Count)] = {};
    int first_[static_cast<int>(Op::Count)] = {};
    int last_[static_cast<int>(Op::Count)] = {};
    Fault fault_[static_cast<int>(Op::Count)] = {};
    bool diskFull_ = false;
    long live_ = 0;
    bool skipFlushes_ = false;
};

}  // namespace testing_support
}  // namespace tarnwick
