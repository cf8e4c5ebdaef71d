// Helpers for the position-file tests: item lines as another host writes
// them, file times set by hand, a lock that keeps readers out the way a
// writer of another host does, a handle closed with its test, a host with
// the files it has open, and what the verbs say of the items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/open_paths.h"
#include "common/system_tools.h"
#include "platform/env.h"
#include "store/position_file.h"

namespace tarnwick {
namespace store {
namespace store_testing {

// One item line in the form the writer produces.
std::string ItemLine(const std::string& path, int line, int column = 0, int top = 0, int left = 0, int overtype = 0,
                     const std::string& type = "editor");

// The paths of the editor items, front to back (VisitItems).
std::vector<std::string> ItemPaths(const PositionFile* file);

// The editor items, front to back, each as the line the writer makes of
// it (ItemLine) with its bookmarks and table, then the viewer items: what
// memory holds of them, for comparing two states.
std::string ItemListing(const PositionFile* file);

// The line stored for `path`, or -1000 when there is no such item.
int StoredLine(const PositionFile* file, const std::string& path);

// True when there is an editor item of `path`.
bool HasItem(const PositionFile* file, const std::string& path);

// Sets the place of the editor item of `path`, adding it in front when
// there is none (what the plug-in does when it stores a place).
bool PutItem(PositionFile* file, const std::string& path, const StoredPlace& place);

// The file's last-write time and size; false when it cannot be opened.
bool GetTimeAndSize(const std::string& path, platform::FileTime* time, std::uint64_t* size);
// Sets the file's last-write time.
bool SetTime(const std::string& path, const platform::FileTime& time);
// A time `seconds` after (or before, when negative) `time`.
platform::FileTime ShiftTime(const platform::FileTime& time, std::int64_t seconds);

// Writes `content` as another host would and moves its time on by a second
// beyond the last such write, so the change is seen whatever the clock's
// granularity.
bool WriteAsOtherHost(const std::string& path, const std::string& content);

// Keeps the file open for writing, so that readers are refused (another
// host in the middle of writing it).
using WriterLock = testing_support::ForeignWriter;

// A position file opened with the ASCII comparison, closed on destruction.
// Converts to the handle, so that it goes to the verbs as it is.
class OpenedFile {
public:
    explicit OpenedFile(platform::Env* env = platform::Env::Default(), const OpenFiles* open = nullptr,
                        std::uint64_t memoryLimit = 0);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    operator PositionFile*() const { return file_; }
    PositionFile* get() const { return file_; }
    // Closes the handle and opens a new one with the same setup: nothing
    // loaded, nothing pending.
    void Reopen();
    // Closes the handle before the end of the test (it is null then).
    void Close();

private:
    PositionFileSetup setup_;
    PositionFile* file_;
};

// A host: the files it has open and its position file, which asks them.
struct Host {
    explicit Host(platform::Env* env = platform::Env::Default());
    testing_support::OpenPaths Editors;
    OpenedFile File;
    // An editor of this host has `path` open.
    void OpenEditor(const std::string& path) { Editors.Open(path); }
    // A viewer of this host has `path` open.
    void OpenViewer(const std::string& path) { Editors.Open(path, ItemKind::Viewer); }
    // True while this host follows an editor of `path` (the store did not
    // tell it to forget the path).
    bool HasRecordFor(const std::string& path) const { return Editors.Has(path); }
};

StoredPlace Position(int line, int column = 0, int top = 0, int left = 0, int overtype = 0);
// A viewer's place (no table recorded).
StoredPlace ViewerAt(std::int64_t offset, int left = 0, int hex = 0, int wrap = 0);

}  // namespace store_testing
}  // namespace store
}  // namespace tarnwick
