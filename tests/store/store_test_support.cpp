#include "store_test_support.h"

#include <cstdio>
#include <cstring>

#include "common/test_support.h"
#include "markup/markup_node.h"

namespace tarnwick {
namespace store {

using namespace markup;
namespace store_testing {

std::string ItemLine(const std::string& path, int line, int column, int top, int left, int overtype,
                     const std::string& type) {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "\" line=\"%d\" column=\"%d\" top=\"%d\" left=\"%d\" overtype=\"%d\">\r\n",
                  line, column, top, left, overtype);
    return "<item type=\"" + type + "\" path=\"" + path + numbers;
}

std::vector<std::string> ItemPaths(const PositionFile& file) {
    std::vector<std::string> paths;
    for (MarkupNode* node = file.Document ? file.Document->GetNext() : nullptr; node; node = node->GetNext()) {
        if (IsItemOfType(node, "editor")) paths.push_back(GetAttribute(node, "path"));
    }
    return paths;
}

int StoredLine(const PositionFile& file, const std::string& path) {
    EditorSetPosition position = Position(-1000);
    if (!ReadItem(file, "editor", path.c_str(), &position)) return -1000;
    return position.CurLine;
}

bool GetTimeAndSize(const std::string& path, platform::FileTime* time, std::uint64_t* size) {
    platform::File* handle = nullptr;
    if (platform::Env::Default()->OpenForRead(path.c_str(), &handle) != platform::Status::Ok) return false;
    bool ok = platform::Env::Default()->GetFileTime(handle, time) && platform::Env::Default()->GetFileSize(handle, size);
    platform::Env::Default()->CloseFile(handle);
    return ok;
}

platform::FileTime ShiftTime(const platform::FileTime& time, std::int64_t seconds) {
    std::uint64_t ticks = (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
    ticks += static_cast<std::uint64_t>(seconds * 10000000LL);
    return platform::FileTime{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

bool SetTime(const std::string& path, const platform::FileTime& time) {
    return testing_support::SetLastWriteTime(path, time);
}

bool WriteAsOtherHost(const std::string& path, const std::string& content) {
    // An hour past the file's current time, and further on each call: never
    // equal to a time the file had before. A new file starts from a fixed time.
    static std::int64_t offset = 0;
    platform::FileTime time{};
    std::uint64_t size = 0;
    if (!GetTimeAndSize(path, &time, &size)) time = platform::FileTime{0, 0x01E00000};
    if (!testing_support::WriteWholeFile(path, content)) return false;
    ++offset;
    return SetTime(path, ShiftTime(time, 3600 + offset));
}

Host::~Host() {
    DestroyAllRecords(Table);
    UnloadDocument(File);
}

void Host::OpenEditor(std::int32_t id, const std::string& path) {
    EditorRecord record;
    std::memset(&record, 0, sizeof record);
    record.Kind = kKindEditor;
    record.EditorID = id;
    std::snprintf(record.Path, sizeof record.Path, "%s", path.c_str());
    InsertRecord(Table, record);
}

bool Host::HasRecordFor(const std::string& path) const {
    EditorRecord key;
    std::memset(&key, 0, sizeof key);
    key.Kind = kKindEditor;
    std::snprintf(key.Path, sizeof key.Path, "%s", path.c_str());
    return ContainsRecordForPath(Table, key);
}

EditorSetPosition Position(int line, int column, int top, int left, int overtype) {
    EditorSetPosition position;
    position.CurLine = line;
    position.CurPos = column;
    position.CurTabPos = -1;
    position.TopScreenLine = top;
    position.LeftPos = left;
    position.Overtype = overtype;
    return position;
}

}  // namespace store_testing
}  // namespace store
}  // namespace tarnwick
