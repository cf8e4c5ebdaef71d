#include "store/item_fields.h"

#include <cstring>

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

const char* const kFieldNames[kFieldCount] = {"type", "path", "line", "column", "top", "left", "overtype"};

namespace {

constexpr std::size_t kEditorAt = offsetof(StoredPlace, Editor);

const PlaceNumber kEditorNumbers[] = {
    {kFieldLine, kEditorAt + offsetof(EditorPlace, Line)},
    {kFieldColumn, kEditorAt + offsetof(EditorPlace, Column)},
    {kFieldTop, kEditorAt + offsetof(EditorPlace, Top)},
    {kFieldLeft, kEditorAt + offsetof(EditorPlace, Left)},
    {kFieldOvertype, kEditorAt + offsetof(EditorPlace, Overtype)},
};

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
// (Follows kFieldNames: a new field's first letter goes here too.)
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
// as the names differ in their ASCII letters, so the first field it matches
// is its only one; a name whose first byte differs from a field's (beyond
// ASCII case) cannot equal it (see CaseComparison::Equal) and is passed over without
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
            if (SameText(name, kFieldNames[k]) || AsciiCompareNoCase(name, kFieldNames[k]) == 0) {
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

const PlaceNumber* PlaceNumbers(ItemKind kind, int* count) {
    switch (kind) {
    case ItemKind::Editor:
        *count = static_cast<int>(sizeof kEditorNumbers / sizeof kEditorNumbers[0]);
        return kEditorNumbers;
    case ItemKind::Viewer:
        break;
    }
    *count = 0;
    return nullptr;
}

std::int32_t* NumberIn(StoredPlace* place, const PlaceNumber& number) {
    return reinterpret_cast<std::int32_t*>(reinterpret_cast<char*>(place) + number.Offset);
}

std::int32_t NumberOf(const StoredPlace& place, const PlaceNumber& number) {
    return *reinterpret_cast<const std::int32_t*>(reinterpret_cast<const char*>(&place) + number.Offset);
}

bool KindOfType(const char* type, ItemKind* kind) {
    if (type == nullptr || AsciiCompareNoCase(type, ItemTypeText(ItemKind::Editor)) != 0) return false;
    *kind = ItemKind::Editor;
    return true;
}

const char* QualifyingType(const MarkupNode* element, const ItemFields& fields) {
    const char* name = markup::GetName(element);
    if (name == nullptr || !(SameText(name, "item") || AsciiCompareNoCase(name, "item") == 0)) return nullptr;
    const char* type = FieldValue(element, fields, kFieldType);
    if (!Fits(type, kTypeSize) || !Fits(FieldValue(element, fields, kFieldPath), kPathSize)) return nullptr;
    return type;
}

bool IsItemOfKind(const MarkupNode* element, ItemKind kind, ItemFields& fields) {
    FindFields(element, fields);
    ItemKind own;
    return KindOfType(QualifyingType(element, fields), &own) && own == kind;
}

void ReadPlaceNumber(const MarkupNode* element, const ItemFields& fields, const PlaceNumber& number,
                     StoredPlace* place) {
    int at = fields.At[number.Id];
    if (at < 0) return;
    std::int32_t value = 0;
    *NumberIn(place, number) = markup::ParseNumber(element->Attributes[at].Value, &value) ? value : 0;
}

void ReadPlace(const MarkupNode* element, const ItemFields& fields, ItemKind kind, StoredPlace* place) {
    int count = 0;
    const PlaceNumber* numbers = PlaceNumbers(kind, &count);
    for (int i = 0; i < count; ++i) ReadPlaceNumber(element, fields, numbers[i], place);
}

void FillItemTexts(ItemTexts* texts, ItemKind kind, const char* path, const StoredPlace& place) {
    texts->Ids[0] = kFieldType;
    texts->Values[0] = ItemTypeText(kind);
    texts->Ids[1] = kFieldPath;
    texts->Values[1] = path;
    int count = 0;
    const PlaceNumber* numbers = PlaceNumbers(kind, &count);
    for (int i = 0; i < count; ++i) {
        texts->Ids[2 + i] = numbers[i].Id;
        FormatInt(NumberOf(place, numbers[i]), texts->Numbers[i]);
        texts->Values[2 + i] = texts->Numbers[i];
    }
    texts->Count = 2 + count;
}

}  // namespace store
}  // namespace tarnwick
