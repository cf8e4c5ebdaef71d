// The item operations on the document in memory that the verbs, the merge,
// the pending changes and the purge share.
#pragma once

#include "store/position_file_state.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

// True when `text` is present and holds fewer than `size` characters, so it
// fits a buffer of `size` bytes with its terminator. Looks at no more than
// `size` characters.
bool FitsIn(const char* text, int size);

// The first element of a document's top-level chain; null for no document.
markup::MarkupNode* FirstElement(markup::MarkupNode* document);

// The first qualifying item of (kind, path) in document order, or null.
markup::MarkupNode* FindItem(const PositionFile& file, ItemKind kind, const char* path);

// A new item element of (kind, path) holding `place`, made on the heap of
// `document` but linked to nothing; null when memory runs out or the path
// does not fit a path buffer. Its attributes stand in field order.
markup::MarkupNode* NewDetachedItem(markup::MarkupNode* document, ItemKind kind, const char* path,
                                    const StoredPlace& place);

// Links a detached item in front of all others and into the index.
void LinkItemInFront(PositionFile& file, markup::MarkupNode* element);

// Adds a new item in front of all others; false, with nothing added, when
// there is no document or it could not be made.
bool AddItemElement(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place);

// Removes an element of the document (an item or not) with its subtree,
// and from the document's index.
void RemoveItemElement(PositionFile& file, markup::MarkupNode* element);

}  // namespace store
}  // namespace tarnwick
