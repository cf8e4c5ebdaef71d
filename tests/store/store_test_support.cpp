#include "store_test_support.h"

#include <cstdio>

#include "common/test_support.h"

namespace tarnwick {
namespace store {
namespace store_testing {

std::string ItemLine(const std::string& path, int line, int column, int top, int left, int overtype,
                     const std::string& type) {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "\" line=\"%d\" column=\"%d\" top=\"%d\" left=\"%d\" overtype=\"%d\">\r\n",
                  line, column, top, left, overtype);
    return "<item type=\"" + type + "\" path=\"" + path + numbers;
}

namespace {

bool AddPath(void* context, const char* path, const StoredPlace&) {
    static_cast<std::vector<std::string>*>(context)->push_back(path);
    return true;
}

std::string TableText(const CharTableChoice& table) {
    return " table=" + std::to_string(static_cast<int>(table.Kind)) + "/" + std::to_string(table.Number) + "/" +
           table.Name;
}

bool AddLine(void* context, const char* path, const StoredPlace& place) {
    const EditorPlace& p = place.Editor;
    std::string& listing = *static_cast<std::string*>(context);
    listing += ItemLine(path, p.Line, p.Column, p.Top, p.Left, p.Overtype);
    for (int i = 0; i < kBookmarkCount; ++i) {
        const Bookmark& mark = p.Marks.Slot[i];
        if (!IsSet(mark)) continue;
        listing += " mark" + std::to_string(i) + "=" + std::to_string(mark.Line) + "," +
                   std::to_string(mark.Cursor) + "," + std::to_string(mark.ScreenLine) + "," +
                   std::to_string(mark.Left);
    }
    listing += TableText(p.Table) + "\n";
    return true;
}

bool AddViewerLine(void* context, const char* path, const StoredPlace& place) {
    const ViewerPlace& p = place.Viewer;
    *static_cast<std::string*>(context) += std::string("viewer ") + path + " " + std::to_string(p.Offset) + " " +
                                           std::to_string(p.Left) + " " + std::to_string(p.Hex) + " " +
                                           std::to_string(p.Wrap) + TableText(p.Table) + "\n";
    return true;
}

}  // namespace

std::vector<std::string> ItemPaths(const PositionFile* file) {
    std::vector<std::string> paths;
    VisitItems(file, ItemKind::Editor, AddPath, &paths);
    return paths;
}

std::string ItemListing(const PositionFile* file) {
    std::string listing;
    VisitItems(file, ItemKind::Editor, AddLine, &listing);
    VisitItems(file, ItemKind::Viewer, AddViewerLine, &listing);
    return listing;
}

int StoredLine(const PositionFile* file, const std::string& path) {
    StoredPlace place = Position(-1000);
    if (!ReadItem(file, ItemKind::Editor, path.c_str(), &place)) return -1000;
    return place.Editor.Line;
}

bool HasItem(const PositionFile* file, const std::string& path) {
    return ReadItem(file, ItemKind::Editor, path.c_str(), nullptr);
}

bool PutItem(PositionFile* file, const std::string& path, const StoredPlace& place) {
    return HasItem(file, path) ? WriteItem(file, ItemKind::Editor, path.c_str(), place)
                               : AddItem(file, ItemKind::Editor, path.c_str(), place);
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

OpenedFile::OpenedFile(platform::Env* env, const OpenFiles* open, std::uint64_t memoryLimit)
    : setup_{env, &AsciiComparison(), open, memoryLimit}, file_(OpenPositionFile(setup_)) {}

OpenedFile::~OpenedFile() { ClosePositionFile(file_); }

void OpenedFile::Reopen() {
    Close();
    file_ = OpenPositionFile(setup_);
}

void OpenedFile::Close() {
    ClosePositionFile(file_);
    file_ = nullptr;
}

Host::Host(platform::Env* env) : File(env, Editors.Files()) {}

StoredPlace ViewerAt(std::int64_t offset, int left, int hex, int wrap) {
    StoredPlace place = EmptyPlace();
    place.Viewer.Offset = offset;
    place.Viewer.Left = left;
    place.Viewer.Hex = hex;
    place.Viewer.Wrap = wrap;
    return place;
}

StoredPlace Position(int line, int column, int top, int left, int overtype) {
    StoredPlace place = EmptyPlace();
    place.Editor.Line = line;
    place.Editor.Column = column;
    place.Editor.Top = top;
    place.Editor.Left = left;
    place.Editor.Overtype = overtype;
    return place;
}

}  // namespace store_testing
}  // namespace store
}  // namespace tarnwick
