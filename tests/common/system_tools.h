// The few things tests need from the operating system beyond the platform
// environment: temporary folders, folder listings, file times set by hand, a
// file held open the way another program holds it, and paths the system
// cannot decide about. Each platform implements them in its own source file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/env.h"

namespace tarnwick {
namespace testing_support {

// True in the Windows build; tests that only make sense on one platform
// skip themselves on the other.
extern const bool kIsWindows;

char PathSeparator();
// A path naming the root of the file system ("C:\" or "/").
std::string FileSystemRoot();

// A number that changes with the clock, for unique names.
unsigned long ClockCount();
// The current time as FILETIME ticks (100 ns since 1601).
std::uint64_t NowTicks();

// Makes a fresh, empty folder below the system's temporary folder, named
// after `prefix`; returns its path (a best guess when it cannot be made).
std::string MakeTempFolder(const std::string& prefix);
// Makes one folder; false when it cannot be made.
bool MakeFolder(const std::string& path);
// Removes the folder with everything in it, read-only files included.
void RemoveFolderTree(const std::string& path);
// The names in the folder, without "." and "..", in the system's order.
std::vector<std::string> ListFolder(const std::string& folder);

// Sets the file's last-write time.
bool SetLastWriteTime(const std::string& path, const platform::FileTime& time);

// A path whose existence cannot be decided now: on an unmapped drive letter
// under Windows, behind a loop of symbolic links (made in `folder`) on
// POSIX. Empty when none can be made.
std::string UndecidablePath(const std::string& folder);
// A path on a drive letter that no drive is mapped to; empty when every
// letter is mapped or the system has no drive letters.
std::string UnmappedDrivePath();

// Keeps a file open for writing the way another program (another host in
// the middle of a save) does, so that readers are refused: a write handle
// that shares reading only on Windows, an exclusive lock elsewhere.
class ForeignWriter {
public:
    explicit ForeignWriter(const std::string& path);
    ~ForeignWriter();
    ForeignWriter(const ForeignWriter&) = delete;
    ForeignWriter& operator=(const ForeignWriter&) = delete;
    bool Held() const { return held_; }
    // Lets the file go; nothing happens when it is not held.
    void Unlock();

private:
    // A handle on Windows, a descriptor elsewhere; -1 when none is open.
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

// The folder the running test program lies in, with a separator at the end.
std::string ProgramFolder();
// The file name of a test program built beside this one (".exe" added on
// Windows).
std::string SiblingProgram(const std::string& name);

// A process started from a program with arguments, killed or waited for;
// killed and waited for when the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Starts `program`; false when it could not be started.
    bool Start(const std::string& program, const std::vector<std::string>& arguments);
    bool Running() const { return started_; }
    std::uint32_t Id() const { return id_; }
    // Ends it at once, as a crash does (SIGKILL, TerminateProcess), and
    // waits until it is gone.
    void Kill();
    // Waits for it to end; its exit code, -1 when it did not exit by itself.
    int Wait();

private:
    bool started_ = false;
    std::uint32_t id_ = 0;
    std::intptr_t handle_ = 0;  // the process handle on Windows
};

// Sleeps the calling thread.
void SleepMs(unsigned milliseconds);

// Keeps a file open for reading the way another program (a viewer) does:
// sharing reading only, or reading and writing, but never deletion, so that
// the file cannot be replaced while it is held (on POSIX a shared lock,
// which every Tarnwick process honours, for both).
class ForeignReader {
public:
    ForeignReader(const std::string& path, bool shareWriting);
    ~ForeignReader();
    ForeignReader(const ForeignReader&) = delete;
    ForeignReader& operator=(const ForeignReader&) = delete;
    bool Held() const { return handle_ != -1; }
    // Lets the file go; nothing happens when it is not held.
    void Release();

private:
    std::intptr_t handle_ = -1;
};

// Points the registry at a private place for the object's lifetime: the
// POSIX registry substitute's root folder moves to `folder` (the previous
// setting comes back on destruction). On Windows the real registry is used
// and the object does nothing; tests keep to private keys there.
class RegistryRootOverride {
public:
    explicit RegistryRootOverride(const std::string& folder);
    ~RegistryRootOverride();
    RegistryRootOverride(const RegistryRootOverride&) = delete;
    RegistryRootOverride& operator=(const RegistryRootOverride&) = delete;

private:
    bool had_previous_ = false;
    std::string previous_;
};

}  // namespace testing_support
}  // namespace tarnwick
