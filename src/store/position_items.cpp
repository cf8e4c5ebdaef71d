// The item operations of the position file: finding, reading, writing,
// adding, removing and counting items in the document in memory.
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "store/item_fields.h"
#include "store/item_rules.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::GetAttribute;
using markup::GetIntAttribute;
using markup::MarkupNode;
using markup::SetAttribute;
using markup::SetIntAttribute;

const char* const kItemTypeEditor = "editor";

namespace {

// The fragment a new item is made from; its attributes then stand in the
// order type, path, line, column, top, left, overtype.
const char kNewItemFragment[] = "<item type=\"\">";
constexpr int kNewItemFragmentLength = 14;

}  // namespace

bool FitsIn(const char* text, int size) {
    if (text == nullptr) return false;
    for (int i = 0; i < size; ++i) {
        if (text[i] == '\0') return true;
    }
    return false;
}

bool IsEditorType(const char* type) { return type != nullptr && EqualNoCase(type, kItemTypeEditor); }

bool IsEditorItem(const MarkupNode* element) { return IsItemOfType(element, kItemTypeEditor); }

MarkupNode* FirstElement(MarkupNode* document) { return document != nullptr ? document->GetNext() : nullptr; }

EditorSetPosition BlankPosition() {
    EditorSetPosition position{};
    position.CurTabPos = -1;
    return position;
}

MarkupNode* AddItemElement(PositionFile& file, const char* type, const char* path,
                           const EditorSetPosition& position) {
    if (file.Document == nullptr || !FitsIn(type, kTypeSize) || !FitsIn(path, kPathSize)) return nullptr;
    MarkupNode* element = markup::InsertFragment(file.Document, kNewItemFragment, kNewItemFragmentLength);
    if (element == nullptr) return nullptr;
    if (!WriteItemElement(element, type, path, position)) {
        markup::Destroy(element);
        return nullptr;
    }
    NoteItemAddedInFront(file.Index, element);
    return element;
}

bool IsOpenHere(const EditorTable* table, const char* path) {
    return table != nullptr && ContainsRecordForPath(*table, PathKey(path));
}

// The rule itself is QualifyingType's, so that lookups, walks, the index
// and the merge can never disagree on what an item is.
bool IsItemOfType(const MarkupNode* element, const char* type) {
    if (element == nullptr || type == nullptr) return false;
    ItemFields fields;
    FindFields(element, fields);
    const char* itemType = QualifyingType(element, fields);
    return itemType != nullptr && EqualNoCase(itemType, type);
}

MarkupNode* FindItem(const PositionFile& file, const char* type, const char* path) {
    if (file.Document == nullptr || type == nullptr || path == nullptr) return nullptr;
    if (IndexesDocument(file.Index, file.Document)) return FindFirstIndexedItem(file.Index, type, path);
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        if (IsItemOfType(element, type) && EqualNoCase(GetAttribute(element, "path"), path)) return element;
    }
    return nullptr;
}

bool ItemExists(const PositionFile& file, const char* type, const char* path) {
    return FindItem(file, type, path) != nullptr;
}

bool ReadItemElement(const MarkupNode* element, const char* type, EditorSetPosition* position) {
    if (element == nullptr || position == nullptr) return false;
    if (!IsEditorType(type)) return true;
    GetIntAttribute(element, "line", &position->CurLine);
    GetIntAttribute(element, "column", &position->CurPos);
    GetIntAttribute(element, "top", &position->TopScreenLine);
    GetIntAttribute(element, "left", &position->LeftPos);
    GetIntAttribute(element, "overtype", &position->Overtype);
    position->CurTabPos = -1;
    return true;
}

bool ReadItem(const PositionFile& file, const char* type, const char* path, EditorSetPosition* position) {
    return ReadItemElement(FindItem(file, type, path), type, position);
}

bool WriteItemElement(MarkupNode* element, const char* type, const char* path, const EditorSetPosition& position) {
    if (element == nullptr) return false;
    if (!IsEditorType(type)) return true;
    // A path that would not fit a path buffer is refused rather than cut.
    if (!FitsIn(type, kTypeSize) || !FitsIn(path, kPathSize)) return false;
    bool written = true;
    written = SetAttribute(element, "type", type) && written;
    written = SetAttribute(element, "path", path) && written;
    written = SetIntAttribute(element, "line", position.CurLine) && written;
    written = SetIntAttribute(element, "column", position.CurPos) && written;
    written = SetIntAttribute(element, "top", position.TopScreenLine) && written;
    written = SetIntAttribute(element, "left", position.LeftPos) && written;
    written = SetIntAttribute(element, "overtype", position.Overtype) && written;
    return written;
}

bool WriteItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    return WriteItemElement(FindItem(file, type, path), type, path, position);
}

bool AddItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    return AddItemElement(file, type, path, position) != nullptr;
}

void RemoveItem(PositionFile& file, const char* type, const char* path) {
    MarkupNode* element = FindItem(file, type, path);
    if (element != nullptr) RemoveItemElement(file, element);
}

void RemoveItemElement(PositionFile& file, MarkupNode* element) {
    NoteItemRemoved(file.Index, element);
    markup::RemoveNode(element);
}

int CountItems(const PositionFile& file, const char* type) {
    if (file.Document == nullptr || type == nullptr) return 0;
    if (IsEditorType(type) && IndexesDocument(file.Index, file.Document)) return file.Index.EditorItems;
    int count = 0;
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        if (IsItemOfType(element, type)) ++count;
    }
    return count;
}

MarkupNode* Document(const PositionFile& file) { return file.Document; }

}  // namespace store
}  // namespace tarnwick
