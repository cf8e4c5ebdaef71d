// Item changes that happen whole or not at all. Everything that can run out
// of memory (the new attribute strings, a new element) is made aside first,
// while the document is untouched; putting it in place then allocates
// nothing and cannot fail. The merge, the verbs that put a place and the
// pending changes work this way, so that a failed allocation never leaves
// an item with some of its new values and some of its old ones.
#pragma once

#include "store/item_fields.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PositionFile;

// The new attribute strings of one element, made but not yet in place (the
// element has room for those it gains already).
struct ItemUpdate {
    markup::MarkupNode* Element;
    char* Names[kFieldCount];  // owned until applied; null for an attribute left as it is
    char* Values[kFieldCount];
    bool Complete;  // false when the element lacks room (32 attributes) for a new one
};

// Prepares what an item of (kind, path, place) is written as (ItemTexts):
// each field's first attribute gets the field's name and value, a field the
// element lacks becomes a new last attribute; attributes that already hold
// exactly that name and value are left alone. False, with nothing prepared
// and the element's attributes as they were, for a null element, a path
// too long for a path buffer, or when memory runs out.
bool PrepareItemUpdate(ItemUpdate* update, markup::MarkupNode* element, ItemKind kind, const char* path,
                       const StoredPlace& place);
// Puts the prepared strings into the element (an attribute with no room left
// is dropped); allocates nothing. The update is empty afterwards.
void ApplyItemUpdate(ItemUpdate* update);
// Releases what was prepared without touching the element.
void DiscardItemUpdate(ItemUpdate* update);

// Sets the place of the first item of (kind, path), whole or not at all:
// false, with the item as it was, when there is no such item or memory runs
// out. An item that lacks room (32 attributes) for a field it does not hold
// gets the others, and the result is false.
bool UpdateWholeItem(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place);
// Updates the item of (kind, path) when there is one, else adds it in front
// (which is whole or not at all too).
bool StoreWholeItem(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place);

}  // namespace store
}  // namespace tarnwick
