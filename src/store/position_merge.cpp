// The merge of the position file read from disk into the document in
// memory.
#include "store/position_merge.h"

#include <cstring>

#include "markup/markup_node.h"
#include "store/item_index.h"
#include "store/item_rules.h"
#include "store/pending_changes.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::GetAttribute;
using markup::MarkupAttribute;
using markup::MarkupNode;

namespace {

// True when the first attribute named `name` (ignoring case) has exactly
// that name and value, so that setting it would change nothing.
bool HoldsExactly(const MarkupNode* element, const char* name, const char* value) {
    for (std::int32_t i = 0; i < element->AttributeCount; ++i) {
        const MarkupAttribute& attribute = element->Attributes[i];
        if (CompareNoCase(attribute.Name, name) != 0) continue;
        return std::strcmp(attribute.Name, name) == 0 && std::strcmp(attribute.Value, value) == 0;
    }
    return false;
}

bool HoldsExactly(const MarkupNode* element, const char* name, std::int32_t value) {
    char text[12];
    FormatInt(value, text);
    return HoldsExactly(element, name, text);
}

// True when WriteItemElement(element, "editor", path, position) would leave
// the element as it is. Most items of a merge are like that: the file holds
// what this host saved.
bool ItemHolds(const MarkupNode* element, const char* path, const EditorSetPosition& position) {
    return HoldsExactly(element, "type", kItemTypeEditor) && HoldsExactly(element, "path", path) &&
           HoldsExactly(element, "line", position.CurLine) && HoldsExactly(element, "column", position.CurPos) &&
           HoldsExactly(element, "top", position.TopScreenLine) && HoldsExactly(element, "left", position.LeftPos) &&
           HoldsExactly(element, "overtype", position.Overtype);
}

// Drops every record of this process's editors that has `path` open.
void DropRecordsOfPath(EditorTable& table, const char* path) {
    EditorRecord key = PathKey(path);
    while (FetchRecordByPath(table, &key)) RemoveRecord(table, key);
}

// The paths of this process's open editors as a set of hash bits: a path
// whose bit is clear is certainly not open here, which spares the walk of
// the table for nearly every item of a merge.
struct OpenPathFilter {
    std::uint32_t Bits[256];  // 8192 bits
};

void MarkOpenPath(const EditorRecord& record, void* context) {
    if (record.Kind != kKindEditor) return;
    OpenPathFilter* filter = static_cast<OpenPathFilter*>(context);
    std::uint32_t bit = FoldedHash(record.Path) & 8191u;
    filter->Bits[bit >> 5] |= 1u << (bit & 31u);
}

bool MayBeOpen(const OpenPathFilter& filter, const char* path) {
    std::uint32_t bit = FoldedHash(path) & 8191u;
    return (filter.Bits[bit >> 5] & (1u << (bit & 31u))) != 0;
}

int CountEditorItems(MarkupNode* document) {
    int count = 0;
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->GetNext()) {
        if (IsEditorItem(element)) ++count;
    }
    return count;
}

// Indexes the editor items of `document` by path, first occurrence only.
void IndexEditorItems(ItemIndex& index, MarkupNode* document) {
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->GetNext()) {
        if (IsEditorItem(element)) AddIndexedItem(index, element, GetAttribute(element, "path"));
    }
}

}  // namespace

bool MergeDocument(PositionFile& file, MarkupNode* incoming, EditorTable* table) {
    int localCount = CountEditorItems(file.Document);
    int incomingCount = CountEditorItems(incoming);

    ItemIndex incomingIndex;
    ItemIndex localIndex;
    bool indexed = CreateItemIndex(incomingIndex, incomingCount, EnvOf(file));
    indexed = CreateItemIndex(localIndex, localCount + incomingCount, EnvOf(file)) && indexed;
    if (!indexed) {
        DestroyItemIndex(incomingIndex);
        DestroyItemIndex(localIndex);
        return false;
    }
    IndexEditorItems(incomingIndex, incoming);
    IndexEditorItems(localIndex, file.Document);

    OpenPathFilter open{};
    if (table != nullptr) VisitRecords(*table, MarkOpenPath, &open);

    EditorSetPosition position;
    char path[kPathSize];

    // Memory's items: drop, keep or update from the file.
    MarkupNode* element = FirstElement(file.Document);
    while (element != nullptr) {
        if (!IsEditorItem(element)) {
            element = element->GetNext();
            continue;
        }
        CopyBounded(path, GetAttribute(element, "path"), kPathSize);
        MarkupNode* theirs = FindIndexedItem(incomingIndex, path);
        if (theirs == nullptr) {
            if (table != nullptr && !IsPendingPosition(file, kItemTypeEditor, path)) DropRecordsOfPath(*table, path);
            // Every item of memory with this path goes the same way, so the
            // one at hand is the first of them left.
            MarkupNode* previous = element->GetPrev();
            ForgetIndexedItem(localIndex, element, path);
            markup::RemoveNode(element);
            element = previous->GetNext();
            continue;
        }
        if (!(MayBeOpen(open, path) && IsOpenHere(table, path))) {
            // The file's values go into memory's first item of that path,
            // over that item's own values where the file lacks one.
            MarkupNode* ours = FindIndexedItem(localIndex, path);
            if (ours == nullptr) ours = element;
            position = BlankPosition();
            ReadItemElement(ours, kItemTypeEditor, &position);
            ReadItemElement(theirs, kItemTypeEditor, &position);
            CopyBounded(path, GetAttribute(theirs, "path"), kPathSize);
            if (!ItemHolds(ours, path, position)) WriteItemElement(ours, kItemTypeEditor, path, position);
        }
        element = element->GetNext();
    }

    // The file's items that memory lacks: taken over, once per path.
    for (MarkupNode* theirs = FirstElement(incoming); theirs != nullptr; theirs = theirs->GetNext()) {
        if (!IsEditorItem(theirs)) continue;
        CopyBounded(path, GetAttribute(theirs, "path"), kPathSize);
        if (FindIndexedItem(localIndex, path) != nullptr) continue;
        position = BlankPosition();
        ReadItemElement(theirs, kItemTypeEditor, &position);
        MarkupNode* added = AddItemElement(file, kItemTypeEditor, path, position);
        if (added != nullptr) AddIndexedItem(localIndex, added, path);
    }

    DestroyItemIndex(incomingIndex);
    DestroyItemIndex(localIndex);
    return true;
}


}  // namespace store
}  // namespace tarnwick
