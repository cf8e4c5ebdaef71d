// The attributes an item is made of: one table of their names and of the
// place's members they hold, which every reading and writing of items
// follows, and the reading of them in one pass over an element's
// attributes (what the merge and the document's index read of every item,
// instead of one GetAttribute, a pass of its own, per field).
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/stored_place.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

constexpr int kTypeSize = 20;  // item types: 19 characters and the terminator

// The attributes of an item, in the order a new item is written.
enum Field { kFieldType, kFieldPath, kFieldLine, kFieldColumn, kFieldTop, kFieldLeft, kFieldOvertype, kFieldCount };

// The fields' attribute names as the plug-in writes them.
extern const char* const kFieldNames[kFieldCount];

// A number of a place: the field it is stored in and where it stands in a
// StoredPlace.
struct PlaceNumber {
    Field Id;
    std::size_t Offset;  // of the std::int32_t member within StoredPlace
};

// The numbers an item of `kind` holds after its type and path, in the order
// they are written; `*count` gets how many.
const PlaceNumber* PlaceNumbers(ItemKind kind, int* count);

// The member of `place` that `number` names.
std::int32_t* NumberIn(StoredPlace* place, const PlaceNumber& number);
std::int32_t NumberOf(const StoredPlace& place, const PlaceNumber& number);

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

// Reads one number of a place into `*place`: a missing attribute leaves its
// member as it was, one that is not a number sets it to 0.
void ReadPlaceNumber(const markup::MarkupNode* element, const ItemFields& fields, const PlaceNumber& number,
                     StoredPlace* place);
// Reads every number of `kind` so (ReadPlaceNumber).
void ReadPlace(const markup::MarkupNode* element, const ItemFields& fields, ItemKind kind, StoredPlace* place);

// The attributes an item of (kind, path, place) is written as: names and
// value texts in field order.
struct ItemTexts {
    int Count;
    Field Ids[kFieldCount];
    const char* Values[kFieldCount];  // the type and path given, the numbers' texts below
    char Numbers[kFieldCount][12];
};
void FillItemTexts(ItemTexts* texts, ItemKind kind, const char* path, const StoredPlace& place);

}  // namespace store
}  // namespace tarnwick
