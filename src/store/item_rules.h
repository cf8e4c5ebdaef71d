// The rules that make a top-level element an item, shared by the position
// file's reading, merge, item operations and purge.
#pragma once

#include "store/editor_table.h"
#include "support/editor_position.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PositionFile;

// True when `text` is present and holds fewer than `size` characters, so it
// fits a buffer of `size` bytes with its terminator. Looks at no more than
// `size` characters.
bool FitsIn(const char* text, int size);

// True for the item type "editor" (ignoring case).
bool IsEditorType(const char* type);

// The editor items of a chain: qualifying items of type "editor".
bool IsEditorItem(const markup::MarkupNode* element);

// The first element of a document's top-level chain; null for no document.
markup::MarkupNode* FirstElement(markup::MarkupNode* document);

// The position a merge starts from for each item before reading it:
// all zero, CurTabPos -1.
EditorSetPosition BlankPosition();

// Adds a new item in front of all others and fills it; the new element, or
// null when it could not be made or filled (nothing is added then).
markup::MarkupNode* AddItemElement(PositionFile& file, const char* type, const char* path,
                                   const EditorSetPosition& position);

// Removes an element of the document (an item or not) with its subtree,
// and from the document's index.
void RemoveItemElement(PositionFile& file, markup::MarkupNode* element);

// True when an editor of this process (a record in `table`, which may be
// null) has `path` open.
bool IsOpenHere(const EditorTable* table, const char* path);

}  // namespace store
}  // namespace tarnwick
