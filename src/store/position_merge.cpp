// The merge of the position file read from disk into the document in
// memory.
#include "store/position_merge.h"

#include <cstring>

#include "markup/markup_node.h"
#include "store/document_index.h"
#include "store/item_fields.h"
#include "store/item_index.h"
#include "store/item_update.h"
#include "store/item_rules.h"
#include "store/pending_changes.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupAttribute;
using markup::MarkupNode;

namespace {

// ReadPosition of `ours` and then of `theirs` over it: a field that
// `theirs` holds is read from it alone.
void ReadBothPositions(const MarkupNode* ours, const ItemFields& ourFields, const MarkupNode* theirs,
                       const ItemFields& theirFields, EditorSetPosition* position) {
    static const Field kNumbers[5] = {kFieldLine, kFieldColumn, kFieldTop, kFieldLeft, kFieldOvertype};
    std::int32_t* targets[5] = {&position->CurLine, &position->CurPos, &position->TopScreenLine, &position->LeftPos,
                                &position->Overtype};
    for (int i = 0; i < 5; ++i) {
        if (theirFields.At[kNumbers[i]] >= 0) {
            ReadIntField(theirs, theirFields, kNumbers[i], targets[i]);
        } else {
            ReadIntField(ours, ourFields, kNumbers[i], targets[i]);
        }
    }
    position->CurTabPos = -1;
}

// True when the field's first attribute has exactly the field's name and
// `value`, so that setting it would change nothing.
bool HoldsExactly(const MarkupNode* element, const ItemFields& fields, Field field, const char* value) {
    int at = fields.At[field];
    if (at < 0) return false;
    const MarkupAttribute& attribute = element->Attributes[at];
    return std::strcmp(attribute.Name, kFieldNames[field]) == 0 && std::strcmp(attribute.Value, value) == 0;
}

bool HoldsExactly(const MarkupNode* element, const ItemFields& fields, Field field, std::int32_t value) {
    char text[12];
    FormatInt(value, text);
    return HoldsExactly(element, fields, field, text);
}

// True when WriteItemElement(element, "editor", path, position) would leave
// the element as it is. Most items of a merge are like that: the file holds
// what this host saved.
bool ItemHolds(const MarkupNode* element, const ItemFields& fields, const char* path,
               const EditorSetPosition& position) {
    return HoldsExactly(element, fields, kFieldType, kItemTypeEditor) &&
           HoldsExactly(element, fields, kFieldPath, path) &&
           HoldsExactly(element, fields, kFieldLine, position.CurLine) &&
           HoldsExactly(element, fields, kFieldColumn, position.CurPos) &&
           HoldsExactly(element, fields, kFieldTop, position.TopScreenLine) &&
           HoldsExactly(element, fields, kFieldLeft, position.LeftPos) &&
           HoldsExactly(element, fields, kFieldOvertype, position.Overtype);
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

bool MayBeOpen(const OpenPathFilter& filter, std::uint32_t pathHash) {
    std::uint32_t bit = pathHash & 8191u;
    return (filter.Bits[bit >> 5] & (1u << (bit & 31u))) != 0;
}

// An editor item of one of the two documents, read once: its path (owned
// by the element) and the path's FoldedHash, which every later step of the
// merge reuses instead of reading and hashing the path again.
struct ScannedItem {
    MarkupNode* Element;
    const char* Path;
    std::uint32_t Hash;
    ItemFields Fields;
    bool Dropped;    // memory's item that the file lacks: removed when the merge is applied
    bool Duplicate;  // the file's later item of a path that an earlier one of the file has
    bool Matched;    // the file's item of a path that memory holds
};

struct ItemScan {
    ScannedItem* Items;
    int Count;
};

// Room for `count` elements of `size` bytes (at least one); null when memory
// runs out or the size overflows.
void* AllocArray(platform::Env* env, int count, std::size_t size) {
    std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 1u;
    if (n > static_cast<std::size_t>(-1) / size) return nullptr;
    return env->AllocZeroed(n * size);
}

// The editor items of `document` in document order; false when memory runs
// out.
bool ScanEditorItems(MarkupNode* document, platform::Env* env, ItemScan& scan) {
    int elements = 0;
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->Next) {
        if (elements == 0x3FFFFFFF) return false;
        ++elements;
    }
    scan.Items = static_cast<ScannedItem*>(AllocArray(env, elements, sizeof(ScannedItem)));
    if (scan.Items == nullptr) return false;
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->Next) {
        ScannedItem& item = scan.Items[scan.Count];
        FindFields(element, item.Fields);
        if (!IsEditorElement(element, item.Fields)) continue;
        item.Element = element;
        item.Path = FieldValue(element, item.Fields, kFieldPath);
        item.Hash = FoldedHash(item.Path);
        item.Dropped = false;
        item.Duplicate = false;
        item.Matched = false;
        ++scan.Count;
    }
    return true;
}

// Indexes the scanned items by path, first occurrence only (the index's
// data is the item's place in the scan); marks the later ones. The index
// has room for every item.
void IndexEditorItems(ItemIndex& index, ItemScan& scan) {
    for (int i = 0; i < scan.Count; ++i) {
        ScannedItem& item = scan.Items[i];
        item.Duplicate = !AddIndexedItemHashed(index, item.Element, item.Path, item.Hash, i);
    }
}

// What a merge has made aside before it changes anything: the updates of
// memory's items and the new items taken over from the file.
struct MergePlan {
    ItemUpdate* Updates;  // grown as needed: most merges update few items
    int UpdateCount;
    int UpdateCapacity;
    MarkupNode** Additions;
    int AdditionCount;
    platform::Env* Heap;
};

void DiscardPlan(MergePlan& plan) {
    for (int i = 0; i < plan.UpdateCount; ++i) DiscardItemUpdate(&plan.Updates[i]);
    for (int i = 0; i < plan.AdditionCount; ++i) markup::Destroy(plan.Additions[i]);
    plan.Heap->Release(plan.Updates);
    plan.Heap->Release(plan.Additions);
    plan = MergePlan{nullptr, 0, 0, nullptr, 0, plan.Heap};
}

// Room for one more update; false when memory runs out.
bool MakeRoomForUpdate(MergePlan& plan) {
    if (plan.UpdateCount < plan.UpdateCapacity) return true;
    if (plan.UpdateCapacity > 0x3FFFFFFF / 2) return false;
    int capacity = plan.UpdateCapacity == 0 ? 16 : plan.UpdateCapacity * 2;
    ItemUpdate* updates = static_cast<ItemUpdate*>(AllocArray(plan.Heap, capacity, sizeof(ItemUpdate)));
    if (updates == nullptr) return false;
    for (int i = 0; i < plan.UpdateCount; ++i) updates[i] = plan.Updates[i];
    plan.Heap->Release(plan.Updates);
    plan.Updates = updates;
    plan.UpdateCapacity = capacity;
    return true;
}

// Makes everything the merge will change, without changing anything: false
// when memory runs out (what was made is in the plan, for DiscardPlan).
// Marks memory's items that the file lacks as dropped.
bool PrepareMerge(PositionFile& file, EditorTable* table, const OpenPathFilter& open, ItemScan& local,
                  ItemScan& incoming, const ItemIndex& incomingIndex, MergePlan& plan) {
    EditorSetPosition position;

    // Memory's items that the file holds too take the file's values, unless
    // an editor of this process has that file open. The values go into
    // memory's first item of that path, over that item's own values where
    // the file lacks one; later items of the same path stay as they are.
    // The file's item of each path memory holds is marked, which tells the
    // later items of that path in memory and the items memory lacks.
    for (int i = 0; i < local.Count; ++i) {
        ScannedItem& item = local.Items[i];
        const ItemIndexEntry* match = FindIndexedEntry(incomingIndex, item.Path, item.Hash);
        if (match == nullptr) {
            item.Dropped = true;
            continue;
        }
        ScannedItem& theirs = incoming.Items[match->Data];
        bool later = theirs.Matched;  // memory holds an earlier item of this path
        theirs.Matched = true;
        if (MayBeOpen(open, item.Hash) && IsOpenHere(table, item.Path)) continue;
        if (later) continue;
        position = BlankPosition();
        ReadBothPositions(item.Element, item.Fields, theirs.Element, theirs.Fields, &position);
        // The file's spelling of the path (an editor item's path fits a path buffer).
        const char* path = theirs.Path;
        if (ItemHolds(item.Element, item.Fields, path, position)) continue;
        if (!MakeRoomForUpdate(plan) ||
            !PrepareItemUpdate(&plan.Updates[plan.UpdateCount], item.Element, kItemTypeEditor, path, position)) {
            return false;
        }
        ++plan.UpdateCount;
    }

    // The file's items that memory lacks: taken over, once per path (the
    // file's first item of it).
    for (int i = 0; i < incoming.Count; ++i) {
        const ScannedItem& theirs = incoming.Items[i];
        if (theirs.Matched || theirs.Duplicate) continue;
        position = BlankPosition();
        ReadPosition(theirs.Element, theirs.Fields, &position);
        MarkupNode* added = NewDetachedItem(file.Document, kItemTypeEditor, theirs.Path, position);
        if (added == nullptr) return false;
        plan.Additions[plan.AdditionCount++] = added;
    }
    return true;
}

// Puts the plan in place and drops memory's items that the file lacks, with
// the records of editors on their paths. Allocates nothing.
void ApplyMerge(PositionFile& file, EditorTable* table, const OpenPathFilter& open, const ItemScan& local,
                MergePlan& plan) {
    for (int i = 0; i < plan.UpdateCount; ++i) ApplyItemUpdate(&plan.Updates[i]);
    plan.UpdateCount = 0;

    // A dropped item was not updated, so its path is still the one scanned.
    for (int i = 0; i < local.Count; ++i) {
        const ScannedItem& item = local.Items[i];
        if (!item.Dropped) continue;
        // The editors of a path whose position is still to be written
        // keep their records, as their item comes back with it. A path
        // the filter does not hold has no records to drop.
        if (table != nullptr && MayBeOpen(open, item.Hash) && !IsPendingPosition(file, kItemTypeEditor, item.Path)) {
            DropRecordsOfPath(*table, item.Path);
        }
        RemoveItemElement(file, item.Element);
    }

    // Each new item goes in front, so they end up before all older ones and
    // in the reverse of their order in the file. The document's index
    // follows every removal and addition; the updates leave each item's key
    // as it was (the file's spelling of the same path), so it stays valid
    // without a walk of the whole document.
    for (int i = 0; i < plan.AdditionCount; ++i) {
        markup::InsertAfter(file.Document, plan.Additions[i]);
        NoteItemAddedInFront(file.Index, plan.Additions[i]);
    }
    plan.AdditionCount = 0;
}

}  // namespace

bool MergeDocument(PositionFile& file, MarkupNode* incoming, EditorTable* table) {
    platform::Env* env = EnvOf(file);
    ItemScan local{nullptr, 0};
    ItemScan theirs{nullptr, 0};
    ItemIndex incomingIndex{};
    MergePlan plan{nullptr, 0, 0, nullptr, 0, env};
    OpenPathFilter open{};
    if (table != nullptr) VisitRecords(*table, MarkOpenPath, &open);
    bool ready = ScanEditorItems(file.Document, env, local) && ScanEditorItems(incoming, env, theirs) &&
                 CreateItemIndex(incomingIndex, theirs.Count, env);
    if (ready) {
        plan.Additions = static_cast<MarkupNode**>(AllocArray(env, theirs.Count, sizeof(MarkupNode*)));
        ready = plan.Additions != nullptr;
    }
    if (ready) {
        IndexEditorItems(incomingIndex, theirs);
        ready = PrepareMerge(file, table, open, local, theirs, incomingIndex, plan);
    }
    // Nothing has changed yet: out of memory, the merge is left undone.
    if (ready) ApplyMerge(file, table, open, local, plan);
    DiscardPlan(plan);
    DestroyItemIndex(incomingIndex);
    env->Release(local.Items);
    env->Release(theirs.Items);
    return ready;
}

}  // namespace store
}  // namespace tarnwick
