#include "store/item_fields.h"

#include <cstring>

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

const char* const kFieldNames[kFieldCount] = {"type", "path", "line", "column", "top", "left", "overtype"};

namespace {

unsigned char FoldFirst(const char* text) {
    unsigned char c = text != nullptr ? static_cast<unsigned char>(text[0]) : 0;
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// True when the texts hold the same bytes (the usual case: the names as
// this plug-in writes them).
inline bool SameText(const char* a, const char* b) {
    for (; *a == *b; ++a, ++b) {
        if (*a == '\0') return true;
    }
    return false;
}

// The fields whose names start with the (folded) byte `first`: at most two.
int FieldsStartingWith(unsigned char first, Field* candidates) {
    switch (first) {
        case 't':
            candidates[0] = kFieldType;
            candidates[1] = kFieldTop;
            return 2;
        case 'p':
            candidates[0] = kFieldPath;
            return 1;
        case 'l':
            candidates[0] = kFieldLine;
            candidates[1] = kFieldLeft;
            return 2;
        case 'c':
            candidates[0] = kFieldColumn;
            return 1;
        case 'o':
            candidates[0] = kFieldOvertype;
            return 1;
        default:
            return 0;
    }
}

// FitsIn for an attribute's value, which is always terminated, with the
// library's strlen.
bool Fits(const char* text, int size) { return text != nullptr && std::strlen(text) < static_cast<std::size_t>(size); }

}  // namespace

// A name that compares equal to one field's name cannot equal another's,
// as the seven differ in their ASCII letters, so the first field it matches
// is its only one; a name whose first byte differs from a field's (beyond
// ASCII case) cannot equal it (see EqualNoCase) and is passed over without
// a comparison.
void FindFields(const MarkupNode* element, ItemFields& fields) {
    for (int k = 0; k < kFieldCount; ++k) fields.At[k] = -1;
    int found = 0;
    for (int i = 0; i < element->AttributeCount && i < element->AttributeCapacity && found < kFieldCount; ++i) {
        const char* name = element->Attributes[i].Name;
        Field candidates[2];
        int count = FieldsStartingWith(FoldFirst(name), candidates);
        for (int c = 0; c < count; ++c) {
            Field k = candidates[c];
            if (fields.At[k] >= 0) continue;
            if (SameText(name, kFieldNames[k]) || EqualNoCase(name, kFieldNames[k])) {
                fields.At[k] = static_cast<std::int8_t>(i);
                ++found;
                break;
            }
        }
    }
}

const char* FieldValue(const MarkupNode* element, const ItemFields& fields, Field field) {
    int at = fields.At[field];
    return at < 0 ? nullptr : element->Attributes[at].Value;
}

const char* QualifyingType(const MarkupNode* element, const ItemFields& fields) {
    const char* name = markup::GetName(element);
    if (name == nullptr || !(SameText(name, "item") || EqualNoCase(name, "item"))) return nullptr;
    const char* type = FieldValue(element, fields, kFieldType);
    if (!Fits(type, kTypeSize) || !Fits(FieldValue(element, fields, kFieldPath), kPathSize)) return nullptr;
    return type;
}

bool IsEditorElement(const MarkupNode* element, const ItemFields& fields) {
    return IsEditorType(QualifyingType(element, fields));
}

void ReadIntField(const MarkupNode* element, const ItemFields& fields, Field field, std::int32_t* value) {
    int at = fields.At[field];
    if (at < 0) return;
    std::int32_t number = 0;
    *value = markup::ParseNumber(element->Attributes[at].Value, &number) ? number : 0;
}

void ReadPosition(const MarkupNode* element, const ItemFields& fields, EditorSetPosition* position) {
    ReadIntField(element, fields, kFieldLine, &position->CurLine);
    ReadIntField(element, fields, kFieldColumn, &position->CurPos);
    ReadIntField(element, fields, kFieldTop, &position->TopScreenLine);
    ReadIntField(element, fields, kFieldLeft, &position->LeftPos);
    ReadIntField(element, fields, kFieldOvertype, &position->Overtype);
    position->CurTabPos = -1;
}

}  // namespace store
}  // namespace tarnwick
