// The attributes an item is made of: one table of their names and of the
// place's members they hold, which every reading and writing of items
// follows, and the reading of them in one pass over an element's
// attributes (what the merge and the document's index read of every item,
// instead of one GetAttribute, a pass of its own, per field).
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/place_texts.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

constexpr int kTypeSize = 20;  // item types: 19 characters and the terminator
constexpr int kNumberTextSize = kInt64TextSize;  // the text of a 32- or 64-bit number

// The attributes of items of every kind. An item of a kind is written
// with its type, its path and then its kind's fields (PlaceFields), in
// that order.
enum Field {
    kFieldType,
    kFieldPath,
    kFieldLine,
    kFieldColumn,
    kFieldTop,
    kFieldLeft,
    kFieldOvertype,
    kFieldBookmarks,
    kFieldTable,
    kFieldOffset,
    kFieldHex,
    kFieldWrap,
    kFieldHash,
    kFieldStamp,
    kFieldCount
};

// The fields' attribute names as the plug-in writes them.
extern const char* const kFieldNames[kFieldCount];

// How a field's value is written (doc/position-file.md).
enum class FieldForm {
    Int32,      // a std::int32_t member, decimal
    Int64,      // a std::int64_t member, decimal
    Bookmarks,  // a Bookmarks member; written only when a slot is set
    Table,      // a CharTableChoice member; written only when it names a table
    Hashes,     // a TextFingerprint's line and hashes; written only when it has them
    Stamp,      // a TextFingerprint's size and time; written only when it has hashes and them
};

// A detail of a place: the field it is stored in, its form and where its
// member stands in a StoredPlace.
struct PlaceField {
    Field Id;
    FieldForm Form;
    std::size_t Offset;  // of the member within StoredPlace
};

// The fields an item of `kind` holds after its type and path, in the order
// they are written; `*count` gets how many.
const PlaceField* PlaceFields(ItemKind kind, int* count);

// The kind whose type text `type` is (ignoring case); false for a type no
// kind has.
bool KindOfType(const char* type, ItemKind* kind);

// For each field, the index of the first attribute whose name equals the
// field's ignoring case (what GetAttribute would find), -1 when none.
struct ItemFields {
    std::int8_t At[kFieldCount];
};

// Finds every field of `element` in one pass over its attributes.
void FindFields(const markup::MarkupNode* element, ItemFields& fields);

// The value of the field's attribute, or null when the element has none.
const char* FieldValue(const markup::MarkupNode* element, const ItemFields& fields, Field field);

// The element's type when it is a qualifying item (position_file.h: named
// "item", with a type and a path that fit their buffers), else null.
const char* QualifyingType(const markup::MarkupNode* element, const ItemFields& fields);

// Finds the element's fields (FindFields); true when it is a qualifying
// item of `kind`.
bool IsItemOfKind(const markup::MarkupNode* element, ItemKind kind, ItemFields& fields);

// Reads one field of a place into `*place`: a missing attribute leaves its
// member as it was, except the fingerprint's, which then has none (it must
// never come from anywhere but the item); a number that is not one (a 64-bit one: not decimal or
// too large) sets it to 0, a malformed table gives Unknown, and bookmarks
// are read leniently (store/place_texts.h).
void ReadPlaceField(const markup::MarkupNode* element, const ItemFields& fields, const PlaceField& field,
                    StoredPlace* place);
// Reads every field of `kind` so (ReadPlaceField); the other kinds' members
// of `*place` stay as they were.
void ReadPlace(const markup::MarkupNode* element, const ItemFields& fields, ItemKind kind, StoredPlace* place);

// The attributes an item of (kind, path, place) is written as: names and
// value texts in field order. A field with nothing to say (no bookmark
// set, no table to store) has a null value: it is not written, and an
// existing item loses it.
struct ItemTexts {
    int Count;
    Field Ids[kFieldCount];
    const char* Values[kFieldCount];  // the type and path given, the texts below, or null
    char Numbers[kFieldCount][kNumberTextSize];
    char BookmarksText[kBookmarksTextSize];
    char TableText[kTableTextSize];
    char HashesText[kHashesTextSize];
    char StampText[kStampTextSize];
};
void FillItemTexts(ItemTexts* texts, ItemKind kind, const char* path, const StoredPlace& place);

}  // namespace store
}  // namespace tarnwick
