#include "store_test_support.h"

#include <cstdio>
#include <cstring>

#include "common/test_support.h"
#include "markup/markup_node.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    if (platform::Env::Default()->OpenForRead(path.c_str(), &handle) != platform::OpenStatus::Ok) return false;
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
#if defined(_WIN32)
    HANDLE handle = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FILETIME value;
    value.dwLowDateTime = time.Low;
    value.dwHighDateTime = time.High;
    BOOL ok = SetFileTime(handle, nullptr, nullptr, &value);
    CloseHandle(handle);
    return ok != 0;
#else
    const std::int64_t epochOffset = 11644473600LL;  // seconds from 1601 to 1970
    std::uint64_t ticks = (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(static_cast<std::int64_t>(ticks / 10000000ULL) - epochOffset);
    times[1].tv_nsec = static_cast<long>(ticks % 10000000ULL) * 100L;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
#endif
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

WriterLock::WriterLock(const std::string& path) {
#if defined(_WIN32)
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        handle_ = handle;
        held_ = true;
    }
#else
    fd_ = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
    }
#endif
}

WriterLock::~WriterLock() { Unlock(); }

void WriterLock::Unlock() {
#if defined(_WIN32)
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
#else
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
#endif
    held_ = false;
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
