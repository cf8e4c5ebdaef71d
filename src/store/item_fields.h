// The attributes an item is made of, found in one pass over an element's
// attributes: what the merge and the document's index read of every item,
// instead of one GetAttribute (a pass of its own) per field.
#pragma once

#include <cstdint>

#include "support/editor_position.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

// The attributes of an editor item, in the order WriteItemElement writes
// them.
enum Field { kFieldType, kFieldPath, kFieldLine, kFieldColumn, kFieldTop, kFieldLeft, kFieldOvertype, kFieldCount };

// The fields' attribute names as the plug-in writes them.
extern const char* const kFieldNames[kFieldCount];

// For each field, the index of the first attribute whose name equals the
// field's ignoring case (what GetAttribute would find), -1 when none.
struct ItemFields {
    std::int8_t At[kFieldCount];
};

// Finds all seven fields of `element` in one pass over its attributes.
void FindFields(const markup::MarkupNode* element, ItemFields& fields);

// The value of the field's attribute, or null when the element has none.
const char* FieldValue(const markup::MarkupNode* element, const ItemFields& fields, Field field);

// The element's type when it is a qualifying item (IsItemOfType with its
// own type), else null.
const char* QualifyingType(const markup::MarkupNode* element, const ItemFields& fields);

// IsEditorItem, from the element's fields.
bool IsEditorElement(const markup::MarkupNode* element, const ItemFields& fields);

// GetIntAttribute of one field: a missing field leaves `*value` as it was,
// one that is not a number sets it to 0.
void ReadIntField(const markup::MarkupNode* element, const ItemFields& fields, Field field, std::int32_t* value);

// ReadItemElement(element, "editor", position), from the element's fields.
void ReadPosition(const markup::MarkupNode* element, const ItemFields& fields, EditorSetPosition* position);

}  // namespace store
}  // namespace tarnwick
