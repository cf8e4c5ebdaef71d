// Helpers for the position-file tests: item lines as another host writes
// them, file times set by hand, a lock that keeps readers out the way a
// writer of another host does, and a look at a document's items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/system_tools.h"
#include "platform/env.h"
#include "store/editor_table.h"
#include "store/position_file.h"

namespace tarnwick {
namespace store {
namespace store_testing {

// One item line in the form the writer produces.
std::string ItemLine(const std::string& path, int line, int column = 0, int top = 0, int left = 0, int overtype = 0,
                     const std::string& type = "editor");

// The paths of the document's editor items, front to back.
std::vector<std::string> ItemPaths(const PositionFile& file);

// The line stored for `path`, or -1000 when there is no such item.
int StoredLine(const PositionFile& file, const std::string& path);

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

// A host: its position file and its editor table.
struct Host {
    PositionFile File{};
    EditorTable Table{nullptr, nullptr};
    ~Host();
    // Tracks an editor of this host on `path`.
    void OpenEditor(std::int32_t id, const std::string& path);
    bool HasRecordFor(const std::string& path) const;
};

EditorSetPosition Position(int line, int column = 0, int top = 0, int left = 0, int overtype = 0);

}  // namespace store_testing
}  // namespace store
}  // namespace tarnwick
