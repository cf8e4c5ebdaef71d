// Item changes that happen whole or not at all. Everything that can run out
// of memory (the new attribute strings, a new element) is made aside first,
// while the document is untouched; putting it in place then allocates
// nothing and cannot fail. The merge, the verbs that put a place and the
// pending changes work this way, so that a failed allocation never leaves
// an item with some of its new values and some of its old ones.
#pragma once

#include <cstdint>

#include "markup/markup_node.h"
#include "store/item_fields.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace store {

struct PositionFile;

// The change of one element's attributes, made but not yet in place: the
// attributes it loses and the new strings of those it gets (the element has
// room for those it gains already).
struct ItemUpdate {
    markup::MarkupNode* Element;
    int RemoveCount;
    std::int8_t Removals[markup::kMaxAttributes];  // indexes of attributes that go, highest first
    int PutCount;
    std::int8_t PutAt[markup::kMaxAttributes];  // where each new string pair goes once the removals are done
    char* Names[markup::kMaxAttributes];        // owned until applied
    char* Values[markup::kMaxAttributes];
    bool Complete;  // false when the element lacks room (32 attributes) for a new one
};

// Prepares what an item of (kind, path, place) is written as (ItemTexts):
// each field's first attribute gets the field's name and value, a field the
// element lacks becomes a new last attribute, and a field with nothing to
// say loses every attribute of its name; attributes that already hold
// exactly that name and value, and those of no field of the kind, are
// left alone. False, with nothing prepared and the element's attributes as
// they were, for a null element, a path too long for a path buffer, or
// when memory runs out.
bool PrepareItemUpdate(ItemUpdate* update, markup::MarkupNode* element, ItemKind kind, const char* path,
                       const StoredPlace& place);
// Prepares making `element`'s attributes those of `source`, all of them and
// in their order, whatever they are: attribute i gets source's attribute i
// unless it holds exactly that already, and those beyond source's count
// go. False, with nothing prepared, when memory runs out.
bool PrepareWholeCopy(ItemUpdate* update, markup::MarkupNode* element, const markup::MarkupNode* source);
// True when `element` holds exactly `source`'s attributes (names and values
// byte for byte, in order): a whole copy would change nothing.
bool HoldsSameAttributes(const markup::MarkupNode* element, const markup::MarkupNode* source);
// Puts the prepared change into the element; allocates nothing. The update
// is empty afterwards.
void ApplyItemUpdate(ItemUpdate* update);
// Releases what was prepared without touching the element.
void DiscardItemUpdate(ItemUpdate* update);

// A new item element holding `source`'s attributes, made on the heap of
// `document` but linked to nothing; null when memory runs out.
markup::MarkupNode* NewDetachedCopy(markup::MarkupNode* document, const markup::MarkupNode* source);

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
