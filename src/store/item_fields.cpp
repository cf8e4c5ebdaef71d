#include "store/item_fields.h"

#include <cstring>

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

const char* const kFieldNames[kFieldCount] = {"type", "path",      "line",  "column", "top", "left",
                                               "overtype", "bookmarks", "table", "offset", "hex", "wrap",
                                               "hash",     "stamp"};

namespace {

constexpr std::size_t kEditorAt = offsetof(StoredPlace, Editor);
constexpr std::size_t kViewerAt = offsetof(StoredPlace, Viewer);

const PlaceField kEditorFields[] = {
    {kFieldLine, FieldForm::Int32, kEditorAt + offsetof(EditorPlace, Line)},
    {kFieldColumn, FieldForm::Int32, kEditorAt + offsetof(EditorPlace, Column)},
    {kFieldTop, FieldForm::Int32, kEditorAt + offsetof(EditorPlace, Top)},
    {kFieldLeft, FieldForm::Int32, kEditorAt + offsetof(EditorPlace, Left)},
    {kFieldOvertype, FieldForm::Int32, kEditorAt + offsetof(EditorPlace, Overtype)},
    {kFieldBookmarks, FieldForm::Bookmarks, kEditorAt + offsetof(EditorPlace, Marks)},
    {kFieldTable, FieldForm::Table, kEditorAt + offsetof(EditorPlace, Table)},
    {kFieldHash, FieldForm::Hashes, kEditorAt + offsetof(EditorPlace, Print)},
    {kFieldStamp, FieldForm::Stamp, kEditorAt + offsetof(EditorPlace, Print)},
};

const PlaceField kViewerFields[] = {
    {kFieldOffset, FieldForm::Int64, kViewerAt + offsetof(ViewerPlace, Offset)},
    {kFieldLeft, FieldForm::Int32, kViewerAt + offsetof(ViewerPlace, Left)},
    {kFieldHex, FieldForm::Int32, kViewerAt + offsetof(ViewerPlace, Hex)},
    {kFieldWrap, FieldForm::Int32, kViewerAt + offsetof(ViewerPlace, Wrap)},
    {kFieldTable, FieldForm::Table, kViewerAt + offsetof(ViewerPlace, Table)},
};

// The member of `place` that `field` names, as its form's type.
template <typename T>
T* MemberIn(StoredPlace* place, const PlaceField& field) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(place) + field.Offset);
}
template <typename T>
const T& MemberOf(const StoredPlace& place, const PlaceField& field) {
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&place) + field.Offset);
}

unsigned char FoldFirst(const char* text) {
    unsigned char c = text != nullptr ? static_cast<unsigned char>(text[0]) : 0;
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// The fields whose names start with the (folded) byte `first`: at most
// kMaxCandidates. (Follows kFieldNames: a new field's first letter goes
// here too.)
constexpr int kMaxCandidates = 3;
int FieldsStartingWith(unsigned char first, Field* candidates) {
    switch (first) {
        case 't':
            candidates[0] = kFieldType;
            candidates[1] = kFieldTop;
            candidates[2] = kFieldTable;
            return 3;
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
            candidates[1] = kFieldOffset;
            return 2;
        case 'b':
            candidates[0] = kFieldBookmarks;
            return 1;
        case 'h':
            candidates[0] = kFieldHex;
            candidates[1] = kFieldHash;
            return 2;
        case 's':
            candidates[0] = kFieldStamp;
            return 1;
        case 'w':
            candidates[0] = kFieldWrap;
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
        Field candidates[kMaxCandidates];
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

const PlaceField* PlaceFields(ItemKind kind, int* count) {
    switch (kind) {
    case ItemKind::Editor:
        *count = static_cast<int>(sizeof kEditorFields / sizeof kEditorFields[0]);
        return kEditorFields;
    case ItemKind::Viewer:
        *count = static_cast<int>(sizeof kViewerFields / sizeof kViewerFields[0]);
        return kViewerFields;
    }
    *count = 0;
    return nullptr;
}

bool KindOfType(const char* type, ItemKind* kind) {
    if (type == nullptr) return false;
    for (int k = 0; k < kItemKindCount; ++k) {
        ItemKind each = static_cast<ItemKind>(k);
        const char* text = ItemTypeText(each);
        if (SameText(type, text) || AsciiCompareNoCase(type, text) == 0) {
            *kind = each;
            return true;
        }
    }
    return false;
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

void ReadPlaceField(const MarkupNode* element, const ItemFields& fields, const PlaceField& field,
                    StoredPlace* place) {
    int at = fields.At[field.Id];
    const char* text = at < 0 ? nullptr : element->Attributes[at].Value;
    if (text == nullptr && field.Form != FieldForm::Hashes && field.Form != FieldForm::Stamp) return;
    switch (field.Form) {
    case FieldForm::Int32: {
        std::int32_t value = 0;
        *MemberIn<std::int32_t>(place, field) = markup::ParseNumber(text, &value) ? value : 0;
        break;
    }
    case FieldForm::Int64: {
        std::int64_t value = 0;
        *MemberIn<std::int64_t>(place, field) = ParseDecimal64(text, &value) ? value : 0;
        break;
    }
    case FieldForm::Bookmarks:
        *MemberIn<Bookmarks>(place, field) = ParseBookmarks(text);
        break;
    case FieldForm::Table:
        *MemberIn<CharTableChoice>(place, field) = ParseTable(text);
        break;
    case FieldForm::Hashes:
        ParseHashes(text, MemberIn<TextFingerprint>(place, field));
        break;
    case FieldForm::Stamp:
        ParseStamp(text, MemberIn<TextFingerprint>(place, field));
        break;
    }
}

void ReadPlace(const MarkupNode* element, const ItemFields& fields, ItemKind kind, StoredPlace* place) {
    int count = 0;
    const PlaceField* placeFields = PlaceFields(kind, &count);
    for (int i = 0; i < count; ++i) ReadPlaceField(element, fields, placeFields[i], place);
}

namespace {

// The text of one field of `place` in `texts`; null when it has nothing to
// say.
const char* FieldText(ItemTexts* texts, int slot, const PlaceField& field, const StoredPlace& place) {
    // A fingerprint taken at another line than the place's is not the place's.
    if ((field.Form == FieldForm::Hashes || field.Form == FieldForm::Stamp) && PrintOf(place.Editor) == nullptr) {
        return nullptr;
    }
    switch (field.Form) {
    case FieldForm::Int32:
        FormatInt(MemberOf<std::int32_t>(place, field), texts->Numbers[slot]);
        return texts->Numbers[slot];
    case FieldForm::Int64:
        FormatInt64(MemberOf<std::int64_t>(place, field), texts->Numbers[slot]);
        return texts->Numbers[slot];
    case FieldForm::Bookmarks:
        return FormatBookmarks(MemberOf<Bookmarks>(place, field), texts->BookmarksText) ? texts->BookmarksText
                                                                                         : nullptr;
    case FieldForm::Table:
        return FormatTable(MemberOf<CharTableChoice>(place, field), texts->TableText) ? texts->TableText : nullptr;
    case FieldForm::Hashes:
        return FormatHashes(MemberOf<TextFingerprint>(place, field), texts->HashesText) ? texts->HashesText : nullptr;
    case FieldForm::Stamp:
        return FormatStamp(MemberOf<TextFingerprint>(place, field), texts->StampText) ? texts->StampText : nullptr;
    }
    return nullptr;
}

}  // namespace

void FillItemTexts(ItemTexts* texts, ItemKind kind, const char* path, const StoredPlace& place) {
    texts->Ids[0] = kFieldType;
    texts->Values[0] = ItemTypeText(kind);
    texts->Ids[1] = kFieldPath;
    texts->Values[1] = path;
    int count = 0;
    const PlaceField* fields = PlaceFields(kind, &count);
    for (int i = 0; i < count; ++i) {
        texts->Ids[2 + i] = fields[i].Id;
        texts->Values[2 + i] = FieldText(texts, i, fields[i], place);
    }
    texts->Count = 2 + count;
}

}  // namespace store
}  // namespace tarnwick
