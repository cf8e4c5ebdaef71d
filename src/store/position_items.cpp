// The verbs on single items and the walk over them: finding, reading,
// putting, removing and counting items in the document in memory.
#include "markup/markup_node.h"
#include "store/document_index.h"
#include "store/item_fields.h"
#include "store/item_rules.h"
#include "store/item_update.h"
#include "store/pending_changes.h"
#include "store/position_file.h"
#include "store/position_file_state.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

bool FitsIn(const char* text, int size) {
    if (text == nullptr) return false;
    for (int i = 0; i < size; ++i) {
        if (text[i] == '\0') return true;
    }
    return false;
}

MarkupNode* FirstElement(MarkupNode* document) { return document != nullptr ? document->GetNext() : nullptr; }

bool IsOpenHere(const PositionFile& file, ItemKind kind, const char* path, std::uint32_t pathHash) {
    return file.Open != nullptr && file.Open->IsOpen(file.Open->Context, kind, path, pathHash);
}

MarkupNode* FindItem(const PositionFile& file, ItemKind kind, const char* path) {
    if (file.Document == nullptr || path == nullptr) return nullptr;
    if (IndexesDocument(file.Index, file.Document)) return FindFirstIndexedItem(file.Index, kind, path);
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        ItemFields fields;
        if (IsItemOfKind(element, kind, fields) && file.Comparison->Equal(FieldValue(element, fields, kFieldPath), path)) {
            return element;
        }
    }
    return nullptr;
}

void LinkItemInFront(PositionFile& file, MarkupNode* element) {
    markup::InsertAfter(file.Document, element);
    NoteItemAddedInFront(file.Index, element);
}

bool AddItemElement(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place) {
    MarkupNode* element = NewDetachedItem(file.Document, kind, path, place);
    if (element == nullptr) return false;
    LinkItemInFront(file, element);
    return true;
}

void RemoveItemElement(PositionFile& file, MarkupNode* element) {
    NoteItemRemoved(file.Index, element);
    markup::RemoveNode(element);
}

bool ReadItem(const PositionFile* file, ItemKind kind, const char* path, StoredPlace* place) {
    if (file == nullptr) return false;
    MarkupNode* element = FindItem(*file, kind, path);
    if (element == nullptr) return false;
    if (place != nullptr) {
        ItemFields fields;
        FindFields(element, fields);
        ReadPlace(element, fields, kind, place);
    }
    return true;
}

bool WriteItem(PositionFile* file, ItemKind kind, const char* path, const StoredPlace& place) {
    if (file == nullptr || !UpdateWholeItem(*file, kind, path, place)) return false;
    NotePlace(*file, kind, path, place);
    return true;
}

bool AddItem(PositionFile* file, ItemKind kind, const char* path, const StoredPlace& place) {
    if (file == nullptr || !AddItemElement(*file, kind, path, place)) return false;
    NotePlace(*file, kind, path, place);
    return true;
}

void RemoveItem(PositionFile* file, ItemKind kind, const char* path) {
    if (file == nullptr) return;
    MarkupNode* element = FindItem(*file, kind, path);
    if (element != nullptr) RemoveItemElement(*file, element);
    NoteRemoval(*file, kind, path);
}

int CountItems(const PositionFile* file, ItemKind kind) {
    if (file == nullptr || file->Document == nullptr) return 0;
    if (IndexesDocument(file->Index, file->Document)) {
        int at = static_cast<int>(kind);
        if (at >= 0 && at < kItemKindCount) return file->Index.KindItems[at];
    }
    int count = 0;
    for (MarkupNode* element = FirstElement(file->Document); element != nullptr; element = element->GetNext()) {
        ItemFields fields;
        if (IsItemOfKind(element, kind, fields)) ++count;
    }
    return count;
}

void VisitItems(const PositionFile* file, ItemKind kind,
                bool (*visit)(void* context, const char* path, const StoredPlace& place), void* context) {
    if (file == nullptr || visit == nullptr) return;
    const StoredPlace empty = EmptyPlace();
    for (MarkupNode* element = FirstElement(file->Document); element != nullptr; element = element->GetNext()) {
        ItemFields fields;
        if (!IsItemOfKind(element, kind, fields)) continue;
        StoredPlace place = empty;
        ReadPlace(element, fields, kind, &place);
        if (!visit(context, FieldValue(element, fields, kFieldPath), place)) return;
    }
}

}  // namespace store
}  // namespace tarnwick
