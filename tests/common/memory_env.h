// An environment whose files live in memory, for tests and fuzz targets that
// load and save thousands of times a second: no disk, no syncs, no renames
// through the kernel, and every run starts from the same empty file system.
// The heap and the process calls go to the base environment; so does the
// registry, which nothing here replaces.
//
//   MemoryEnv files(platform::Env::Default());
//   files.PutFile("/data/positions.cfg", text);  // as another host's save
//   PositionFile file{};
//   file.Env = &files;
//
// The files behave as the real environments promise (platform/env.h):
// - every new file (CreateNewFile, PutFile) has an identity of its own and
//   the current time of the memory clock; a rename moves the file with its
//   identity and time, so a replaced file has a new identity, time and size
//   stamp whenever its content was written anew;
// - sharing as on Windows: a file open for reading can be read again but
//   neither replaced, renamed nor removed (Busy, false); a new file open
//   for writing can be neither read nor renamed until it is closed;
// - CreateNewFile refuses a name that is taken (Exists);
// - folders are implied by the paths of the files: any folder exists, a path
//   below which files lie is a folder (it cannot be opened as a file, nor
//   replaced: Denied); paths compare byte for byte;
// - update locks are always granted;
// - the memory clock moves on by one tick at every new file, every write
//   and every CurrentTime, and by the time asked for at SleepMilliseconds,
//   which does not sleep.
// Safe to use from several threads; handles are not shared between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/env.h"
#include "platform/env_wrapper.h"

namespace tarnwick {
namespace testing_support {

class MemoryEnv : public platform::EnvWrapper {
public:
    // `base` serves the heap and the process calls.
    explicit MemoryEnv(platform::Env* base) : EnvWrapper(base) {}
    // Handles still open are not released: a caller that leaks one leaks it
    // for the leak checker to see.
    ~MemoryEnv() override = default;

    // Puts `content` at `path` as a new file, in place of one that is there
    // (as a save of another host does). False when the name is a folder or
    // the file there is open.
    bool PutFile(const std::string& path, const std::string& content);
    // The content of the file at `path`; false when there is none.
    bool GetFile(const std::string& path, std::string* content) const;
    // How many files there are.
    std::size_t FileCount() const;
    // Handles made by OpenForRead and CreateNewFile that are not closed yet.
    int OpenHandles() const;

    platform::Status OpenForRead(const char* path, platform::File** file) override;
    bool GetFileTime(platform::File* file, platform::FileTime* time) override;
    bool GetFileSize(platform::File* file, std::uint64_t* size) override;
    bool GetFileIdentity(platform::File* file, std::uint64_t* identity) override;
    bool ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override;
    void CloseFile(platform::File* file) override;
    platform::Status ProbePath(const char* path) override;

    // No links: every path is replaced as it is.
    bool ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) override;
    platform::Status CreateNewFile(const char* path, platform::WritableFile** file) override;
    bool WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) override;
    bool FlushFile(platform::WritableFile* file) override;
    bool CloseWritable(platform::WritableFile* file) override;
    platform::Status RenameOver(const char* source, const char* target) override;
    bool RemoveFile(const char* path) override;
    bool ListFiles(const char* pathPrefix, const char* suffix,
                   void (*visit)(const char* path, const platform::FileTime& written, void* context),
                   void* context) override;

    platform::Status TryLockFile(const char* path, platform::LockFile** lock) override;
    void UnlockFile(platform::LockFile* lock) override;

    void SleepMilliseconds(unsigned milliseconds) override;
    platform::FileTime CurrentTime() override;

private:
    struct Data {
        std::string Bytes;
        std::uint64_t Time = 0;
        std::uint64_t Identity = 0;
        int Readers = 0;
        bool Writing = false;
    };
    struct Reader;
    struct Writer;

    // The file at `path`, or null. REQUIRES: mutex_ held.
    std::shared_ptr<Data> Find(const std::string& path) const;
    // True when files lie below `path` (it names a folder). REQUIRES: mutex_ held.
    bool IsFolder(const std::string& path) const;
    // A new file's data, stamped with a new identity and the time. REQUIRES: mutex_ held.
    std::shared_ptr<Data> NewData();
    // The clock after one more tick. REQUIRES: mutex_ held.
    std::uint64_t Tick();

    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<Data>> files_;
    // 2026-01-01 in 100 ns ticks since 1601, so that times look like real ones.
    std::uint64_t clock_ = 134116992000000000ULL;
    std::uint64_t lastIdentity_ = 0;
    int openHandles_ = 0;
};

}  // namespace testing_support
}  // namespace tarnwick
