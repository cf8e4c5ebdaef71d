// Item changes that happen whole or not at all. Everything that can run out
// of memory (the new attribute strings, a new element) is made aside first,
// while the document is untouched; putting it in place then allocates
// nothing and cannot fail. The merge, the store of a position and the
// update at close work this way, so that a failed allocation never leaves
// an item with some of its new values and some of its old ones.
#pragma once

#include "support/editor_position.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PositionFile;

// The attributes an editor item holds: type, path, line, column, top, left,
// overtype.
constexpr int kItemAttributeCount = 7;

// The new attribute strings of one element, made but not yet in place (the
// element has room for those it gains already).
struct ItemUpdate {
    markup::MarkupNode* Element;
    char* Names[kItemAttributeCount];   // owned until applied; null for an attribute left as it is
    char* Values[kItemAttributeCount];
    bool Complete;  // false when the element lacks room (32 attributes) for a new one
};

// Prepares what WriteItemElement(element, type, path, position) would set;
// attributes that already hold exactly that name and value are left alone.
// For a type other than "editor" nothing is to be set. False, with nothing
// prepared and the element's attributes as they were, for a null element, a
// path or type too long for its buffer, or when memory runs out.
bool PrepareItemUpdate(ItemUpdate* update, markup::MarkupNode* element, const char* type, const char* path,
                       const EditorSetPosition& position);
// Puts the prepared strings into the element (an attribute with no room left
// is dropped); allocates nothing. The update is empty afterwards.
void ApplyItemUpdate(ItemUpdate* update);
// Releases what was prepared without touching the element.
void DiscardItemUpdate(ItemUpdate* update);

// A new item element, filled like AddItemElement fills one, made on the
// heap of `document` but linked to nothing; null when memory runs out or the
// type or path is too long. Link it with markup::InsertAfter(document, ...)
// to put it in front of all other items.
markup::MarkupNode* NewDetachedItem(markup::MarkupNode* document, const char* type, const char* path,
                                    const EditorSetPosition& position);

// WriteItem whole or not at all: false, with the item as it was, when there
// is no such item or memory runs out.
bool UpdateWholeItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
// Updates the item of `path` when there is one, else adds it in front with
// AddItem (which is whole or not at all too).
bool StoreWholeItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);

}  // namespace store
}  // namespace tarnwick
