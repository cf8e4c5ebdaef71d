// What the position file keeps of one file: its kind of place and the place
// itself, in records of the core's own, free of any host's layouts (the
// plug-in converts the host's records at its edge).
#pragma once

#include <cstdint>

namespace tarnwick {
namespace store {

// The kinds of item, each with its `type` text in the file
// (doc/position-file.md); the plug-in's editor records carry the same kind.
enum class ItemKind : std::int32_t {
    Editor = 0,  // type "editor": a file's place in the editor
};

// The `type` text of a kind ("editor").
const char* ItemTypeText(ItemKind kind);

// A file's place in the editor: the cursor's line and column, the line at
// the top of the screen, the first column shown, and overtype (1) or
// insert (0). Lines and columns count from 0.
struct EditorPlace {
    std::int32_t Line;
    std::int32_t Column;
    std::int32_t Top;
    std::int32_t Left;
    std::int32_t Overtype;
};

// The place an item holds. An item of kind Editor reads and writes Editor;
// a new kind of item adds its own member here, and a new kind of detail of
// a place (something else the host remembers per file) becomes a member of
// the place it belongs to, with its fields in store/item_fields.cpp.
struct StoredPlace {
    EditorPlace Editor;
};

}  // namespace store
}  // namespace tarnwick
