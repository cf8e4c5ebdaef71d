// The merge of the position file read from disk into the document in
// memory.
#include "store/position_merge.h"

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

// An item of a known kind of one of the two documents, read once: its kind,
// its path (owned by the element) and the path's FoldedHash, which every
// later step of the merge reuses instead of reading and hashing the path
// again.
struct ScannedItem {
    MarkupNode* Element;
    ItemKind Kind;
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
    int KindCount[kItemKindCount];  // how many of each kind
};

int KindIndex(ItemKind kind) { return static_cast<int>(kind); }

// Room for `count` elements of `size` bytes (at least one); null when memory
// runs out or the size overflows.
void* AllocArray(platform::Env* env, int count, std::size_t size) {
    std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 1u;
    if (n > static_cast<std::size_t>(-1) / size) return nullptr;
    return env->AllocZeroed(n * size);
}

// The items of every known kind of `document` in document order; false
// when memory runs out.
bool ScanItems(MarkupNode* document, platform::Env* env, ItemScan& scan) {
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
        if (!KindOfType(QualifyingType(element, item.Fields), &item.Kind)) continue;
        item.Element = element;
        item.Path = FieldValue(element, item.Fields, kFieldPath);
        item.Hash = FoldedHash(item.Path);
        item.Dropped = false;
        item.Duplicate = false;
        item.Matched = false;
        ++scan.KindCount[KindIndex(item.Kind)];
        ++scan.Count;
    }
    return true;
}

// One index by path per kind.
struct KindIndexes {
    ItemIndex Of[kItemKindCount];
};

bool CreateKindIndexes(KindIndexes& indexes, const ItemScan& scan, platform::Env* env,
                       const CaseComparison& comparison) {
    for (int k = 0; k < kItemKindCount; ++k) {
        if (!CreateItemIndex(indexes.Of[k], scan.KindCount[k], env, comparison)) return false;
    }
    return true;
}

void DestroyKindIndexes(KindIndexes& indexes) {
    for (ItemIndex& index : indexes.Of) DestroyItemIndex(index);
}

// Indexes the scanned items by kind and path, first occurrence only (the
// index's data is the item's place in the scan); marks the later ones. The
// indexes have room for every item.
void IndexItems(KindIndexes& indexes, ItemScan& scan) {
    for (int i = 0; i < scan.Count; ++i) {
        ScannedItem& item = scan.Items[i];
        item.Duplicate =
            !AddIndexedItemHashed(indexes.Of[KindIndex(item.Kind)], item.Element, item.Path, item.Hash, i);
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
bool PrepareMerge(PositionFile& file, ItemScan& local, ItemScan& incoming, const KindIndexes& incomingIndexes,
                  MergePlan& plan) {
    // Memory's items that the file holds too take the file's item whole
    // (every attribute, those this version does not know included, and
    // none of memory's own), unless this host has that file open in a
    // window of the item's kind. The copy goes into memory's first item of
    // that path; later items of the same path stay as they are. The file's
    // item of each path memory holds is marked, which tells the later items
    // of that path in memory and the items memory lacks.
    for (int i = 0; i < local.Count; ++i) {
        ScannedItem& item = local.Items[i];
        const ItemIndexEntry* match =
            FindIndexedEntry(incomingIndexes.Of[KindIndex(item.Kind)], item.Path, item.Hash);
        if (match == nullptr) {
            item.Dropped = true;
            continue;
        }
        ScannedItem& theirs = incoming.Items[match->Data];
        bool later = theirs.Matched;  // memory holds an earlier item of this path
        theirs.Matched = true;
        if (IsOpenHere(file, item.Kind, item.Path, item.Hash)) continue;
        if (later) continue;
        if (HoldsSameAttributes(item.Element, theirs.Element)) continue;
        if (!MakeRoomForUpdate(plan) ||
            !PrepareWholeCopy(&plan.Updates[plan.UpdateCount], item.Element, theirs.Element)) {
            return false;
        }
        ++plan.UpdateCount;
    }

    // The file's items that memory lacks: taken over whole, once per kind
    // and path (the file's first item of it).
    for (int i = 0; i < incoming.Count; ++i) {
        const ScannedItem& theirs = incoming.Items[i];
        if (theirs.Matched || theirs.Duplicate) continue;
        MarkupNode* added = NewDetachedCopy(file.Document, theirs.Element);
        if (added == nullptr) return false;
        plan.Additions[plan.AdditionCount++] = added;
    }
    return true;
}

// Puts the plan in place and drops memory's items that the file lacks, with
// the host's records of the windows on their paths. Allocates nothing.
void ApplyMerge(PositionFile& file, const ItemScan& local, MergePlan& plan) {
    for (int i = 0; i < plan.UpdateCount; ++i) ApplyItemUpdate(&plan.Updates[i]);
    plan.UpdateCount = 0;

    // A dropped item was not updated, so its path is still the one scanned.
    for (int i = 0; i < local.Count; ++i) {
        const ScannedItem& item = local.Items[i];
        if (!item.Dropped) continue;
        // The host goes on following a path whose place is still to be
        // written, as its item comes back with it.
        if (file.Open != nullptr && !IsPendingPlace(file, item.Kind, item.Path)) {
            file.Open->Forget(file.Open->Context, item.Kind, item.Path);
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
    ItemScan local{nullptr, 0, {}};
    ItemScan theirs{nullptr, 0, {}};
    KindIndexes incomingIndexes{};
    MergePlan plan{nullptr, 0, 0, nullptr, 0, env};
    bool ready = ScanItems(file.Document, env, local) && ScanItems(incoming, env, theirs) &&
                 CreateKindIndexes(incomingIndexes, theirs, env, *file.Comparison);
    if (ready) {
        plan.Additions = static_cast<MarkupNode**>(AllocArray(env, theirs.Count, sizeof(MarkupNode*)));
        ready = plan.Additions != nullptr;
    }
    if (ready) {
        IndexItems(incomingIndexes, theirs);
        ready = PrepareMerge(file, local, theirs, incomingIndexes, plan);
    }
    // Nothing has changed yet: out of memory, the merge is left undone.
    if (ready) ApplyMerge(file, local, plan);
    DiscardPlan(plan);
    DestroyKindIndexes(incomingIndexes);
    env->Release(local.Items);
    env->Release(theirs.Items);
    return ready;
}

}  // namespace store
}  // namespace tarnwick
