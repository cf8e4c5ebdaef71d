// What the position file keeps of one file: its kind of place and the place
// itself, in records of the core's own, free of any host's layouts (the
// plug-in converts the host's records at its edge).
#pragma once

#include <cstdint>

namespace tarnwick {
namespace store {

// The kinds of item, each with its `type` text in the file
// (doc/position-file.md); the plug-in's records carry the same kind.
enum class ItemKind : std::int32_t {
    Editor = 0,  // type "editor": a file's place in the editor
    Viewer = 1,  // type "viewer": a file's place in the viewer
};
constexpr int kItemKindCount = 2;

// The `type` text of a kind ("editor", "viewer").
const char* ItemTypeText(ItemKind kind);

// One numbered bookmark of the editor, as the host keeps it: the cursor's
// line and its position in the line when the bookmark was set, the cursor's
// row in the window (the top line was Line - ScreenLine), and the first
// column shown. A slot whose Line is negative is not set.
struct Bookmark {
    std::int32_t Line;
    std::int32_t Cursor;
    std::int32_t ScreenLine;
    std::int32_t Left;
};
constexpr int kBookmarkCount = 10;
struct Bookmarks {
    Bookmark Slot[kBookmarkCount];
};
// All ten slots unset.
Bookmarks NoBookmarks();
inline bool IsSet(const Bookmark& bookmark) { return bookmark.Line >= 0; }
// Both unset, or set at the same place.
bool SameBookmark(const Bookmark& a, const Bookmark& b);
bool SameBookmarks(const Bookmarks& a, const Bookmarks& b);

// The character table a file is shown in. A code table is known by its
// name, which survives a restart of the host and a change in the order of
// its tables; its number is the hint where to look first.
enum class TableKind : std::int32_t {
    Unknown = 0,  // not recorded (an item written before tables were kept)
    Oem = 1,
    Ansi = 2,
    Code = 3,     // code table Number, named Name
    Unicode = 4,  // the viewer's Unicode mode
};
constexpr int kTableNameSize = 128;  // the host's TableName, with its terminator
struct CharTableChoice {
    TableKind Kind;
    std::int32_t Number;         // code table k when Kind is Code, else -1
    char Name[kTableNameSize];   // its name when Kind is Code, else empty
};

// What identifies the text at an editor's place, so that the place can be
// found again after the file changed outside the editor: hashes of the
// cursor's line and of the two lines above and below it (their text as the
// editor shows it, with trailing spaces, tabs and CRs left out), taken at
// line Line, and the file's size and last-write time when that text was
// the file's. All zero (EmptyPlace) is no fingerprint.
constexpr int kNearLines = 2;  // lines hashed above and below the cursor's
constexpr int kPrintLines = 2 * kNearLines + 1;
struct TextFingerprint {
    std::int32_t Line;  // the cursor's line the hashes were taken at
    // Hashes[kNearLines] is the cursor's line (32 bits, never 0 when there
    // is a fingerprint); the others, top to bottom, keep 16 bits: 0 is no
    // line there (before the first line or after the last).
    std::uint32_t Hashes[kPrintLines];
    // The file as it stood when its text was the one hashed: its size and
    // last-write time (FILETIME ticks). Time 0: not known.
    std::int64_t Size;
    std::int64_t Time;
};
// True when `print` holds hashes.
inline bool HasHashes(const TextFingerprint& print) { return print.Hashes[kNearLines] != 0; }
// True when it also knows the file's size and time.
inline bool HasStamp(const TextFingerprint& print) { return HasHashes(print) && print.Time != 0; }

// A file's place in the editor: the cursor's line and column, the line at
// the top of the screen, the first column shown, overtype (1) or insert
// (0), the numbered bookmarks and the character table. Lines and columns
// count from 0. Print belongs to the place only when its Line is the
// place's (PrintOf): a host that knows no fingerprint moves the place and
// keeps the old attributes.
struct EditorPlace {
    std::int32_t Line;
    std::int32_t Column;
    std::int32_t Top;
    std::int32_t Left;
    std::int32_t Overtype;
    Bookmarks Marks;
    CharTableChoice Table;
    TextFingerprint Print;
};

// The place's fingerprint when it has one that belongs to it (taken at its
// line), else null.
const TextFingerprint* PrintOf(const EditorPlace& place);

// The viewer's wrap modes.
enum : std::int32_t { kWrapOff = 0, kWrapLines = 1, kWrapWords = 2 };

// A file's place in the viewer: the byte offset shown at the top of the
// window (bytes also in Unicode mode), the first column shown, hex mode (1)
// or text (0), the wrap mode and the character table.
struct ViewerPlace {
    std::int64_t Offset;
    std::int32_t Left;
    std::int32_t Hex;
    std::int32_t Wrap;
    CharTableChoice Table;
};

// The place an item holds. An item of kind Editor reads and writes Editor,
// one of kind Viewer reads and writes Viewer; the other member is left as
// it is. A new kind of item adds its own member here, and a new kind of
// detail of a place (something else the host remembers per file) becomes a
// member of the place it belongs to, with its fields in
// store/item_fields.cpp.
struct StoredPlace {
    EditorPlace Editor;
    ViewerPlace Viewer;
};

// A place with nothing recorded: zero numbers, no bookmarks set, the table
// Unknown.
StoredPlace EmptyPlace();

}  // namespace store
}  // namespace tarnwick
