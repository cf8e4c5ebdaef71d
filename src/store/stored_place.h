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

// A file's place in the editor: the cursor's line and column, the line at
// the top of the screen, the first column shown, overtype (1) or insert
// (0), the numbered bookmarks and the character table. Lines and columns
// count from 0.
struct EditorPlace {
    std::int32_t Line;
    std::int32_t Column;
    std::int32_t Top;
    std::int32_t Left;
    std::int32_t Overtype;
    Bookmarks Marks;
    CharTableChoice Table;
};

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
