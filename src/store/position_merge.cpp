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
#include "store/position_file_state.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupAttribute;
using markup::MarkupNode;

namespace {

// ReadPlace of `ours` and then of `theirs` over it: a field that `theirs`
// holds is read from it alone.
void ReadBothPlaces(const MarkupNode* ours, const ItemFields& ourFields, const MarkupNode* theirs,
                    const ItemFields& theirFields, StoredPlace* place) {
    int count = 0;
    const PlaceNumber* numbers = PlaceNumbers(ItemKind::Editor, &count);
    for (int i = 0; i < count; ++i) {
        if (theirFields.At[numbers[i].Id] >= 0) {
            ReadPlaceNumber(theirs, theirFields, numbers[i], place);
        } else {
            ReadPlaceNumber(ours, ourFields, numbers[i], place);
        }
    }
}

// True when writing (editor, path, place) into the element would leave it
// as it is: each field's first attribute has exactly the field's name and
// value. Most items of a merge are like that: the file holds what this host
// saved.
bool ItemHolds(const MarkupNode* element, const ItemFields& fields, const char* path, const StoredPlace& place) {
    ItemTexts texts;
    FillItemTexts(&texts, ItemKind::Editor, path, place);
    for (int i = 0; i < texts.Count; ++i) {
        int at = fields.At[texts.Ids[i]];
        if (at < 0) return false;
        const MarkupAttribute& attribute = element->Attributes[at];
        if (std::strcmp(attribute.Name, kFieldNames[texts.Ids[i]]) != 0) return false;
        if (std::strcmp(attribute.Value, texts.Values[i]) != 0) return false;
    }
    return true;
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
        if (!IsItemOfKind(element, ItemKind::Editor, item.Fields)) continue;
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
bool PrepareMerge(PositionFile& file, ItemScan& local, ItemScan& incoming, const ItemIndex& incomingIndex,
                  MergePlan& plan) {
    StoredPlace place;

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
        if (IsOpenHere(file, ItemKind::Editor, item.Path, item.Hash)) continue;
        if (later) continue;
        place = StoredPlace{};
        ReadBothPlaces(item.Element, item.Fields, theirs.Element, theirs.Fields, &place);
        // The file's spelling of the path (an editor item's path fits a path buffer).
        const char* path = theirs.Path;
        if (ItemHolds(item.Element, item.Fields, path, place)) continue;
        if (!MakeRoomForUpdate(plan) ||
            !PrepareItemUpdate(&plan.Updates[plan.UpdateCount], item.Element, ItemKind::Editor, path, place)) {
            return false;
        }
        ++plan.UpdateCount;
    }

    // The file's items that memory lacks: taken over, once per path (the
    // file's first item of it).
    for (int i = 0; i < incoming.Count; ++i) {
        const ScannedItem& theirs = incoming.Items[i];
        if (theirs.Matched || theirs.Duplicate) continue;
        place = StoredPlace{};
        ReadPlace(theirs.Element, theirs.Fields, ItemKind::Editor, &place);
        MarkupNode* added = NewDetachedItem(file.Document, ItemKind::Editor, theirs.Path, place);
        if (added == nullptr) return false;
        plan.Additions[plan.AdditionCount++] = added;
    }
    return true;
}

// Puts the plan in place and drops memory's items that the file lacks, with
// the records of editors on their paths. Allocates nothing.
void ApplyMerge(PositionFile& file, const ItemScan& local, MergePlan& plan) {
    for (int i = 0; i < plan.UpdateCount; ++i) ApplyItemUpdate(&plan.Updates[i]);
    plan.UpdateCount = 0;

    // A dropped item was not updated, so its path is still the one scanned.
    for (int i = 0; i < local.Count; ++i) {
        const ScannedItem& item = local.Items[i];
        if (!item.Dropped) continue;
        // The host goes on following a path whose place is still to be
        // written, as its item comes back with it.
        if (file.Open != nullptr && !IsPendingPlace(file, ItemKind::Editor, item.Path)) {
            file.Open->Forget(file.Open->Context, ItemKind::Editor, item.Path);
        }
        RemoveItemElement(file, item.Element);
    }

    // Each new item goes in front, so they end up before all older ones and
    // in the reverse of their order in the file. The document's index
    // follows every removal and addition; the updates leave each item's key
    // as it was (the file's spelling of the same path), so it stays valid
    // without a walk of the whole document.
    for (int i = 0; i < plan.AdditionCount; ++i) LinkItemInFront(file, plan.Additions[i]);
    plan.AdditionCount = 0;
}

}  // namespace

bool MergeDocument(PositionFile& file, MarkupNode* incoming) {
    platform::Env* env = file.Env;
    ItemScan local{nullptr, 0};
    ItemScan theirs{nullptr, 0};
    ItemIndex incomingIndex{};
    MergePlan plan{nullptr, 0, 0, nullptr, 0, env};
    bool ready = ScanEditorItems(file.Document, env, local) && ScanEditorItems(incoming, env, theirs) &&
                 CreateItemIndex(incomingIndex, theirs.Count, env, *file.Comparison);
    if (ready) {
        plan.Additions = static_cast<MarkupNode**>(AllocArray(env, theirs.Count, sizeof(MarkupNode*)));
        ready = plan.Additions != nullptr;
    }
    if (ready) {
        IndexEditorItems(incomingIndex, theirs);
        ready = PrepareMerge(file, local, theirs, incomingIndex, plan);
    }
    // Nothing has changed yet: out of memory, the merge is left undone.
    if (ready) ApplyMerge(file, local, plan);
    DiscardPlan(plan);
    DestroyItemIndex(incomingIndex);
    env->Release(local.Items);
    env->Release(theirs.Items);
    return ready;
}

}  // namespace store
}  // namespace tarnwick
