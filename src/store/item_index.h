// A hash index from item paths to items, used while one document is
// reconciled with another so that each path costs one lookup instead of a
// walk of the whole document.
//
// Paths compare ignoring case (the index's CaseComparison); buckets are chosen by
// FoldedHash, which agrees with that comparison. An index keeps the first
// item added under a path, so building it in document order makes each
// lookup return what a walk from the front would find. The path given when
// an item is added is the one its lookups compare with: it must stay in
// place, unchanged, while the index is in use (the merge changes no item
// before it is done with its indexes).
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct ItemIndexEntry {
    markup::MarkupNode* Item;     // null once forgotten
    const char* Path;     // the path it was added under, not owned
    std::int32_t Data;    // the caller's number for the item (its place in a list, say)
    std::uint32_t Hash;   // FoldedHash of the path
    std::int32_t Next;    // next entry of the same bucket, -1 at the end
};

struct ItemIndex {
    std::int32_t* Buckets;     // first entry of each bucket, -1 when empty
    std::uint32_t BucketMask;  // bucket count - 1 (a power of two)
    ItemIndexEntry* Entries;
    std::int32_t Count;
    std::int32_t Capacity;
    platform::Env* Heap;  // where the buckets and entries live
    const CaseComparison* Comparison;  // how paths compare
};

// Prepares an empty index for up to `capacity` items in the heap of `env`. False when memory
// runs out or the capacity is out of range; the index is then empty and
// DestroyItemIndex is still safe.
// Paths compare with `comparison`, which must outlive the index.
bool CreateItemIndex(ItemIndex& index, std::int32_t capacity, platform::Env* env, const CaseComparison& comparison);
void DestroyItemIndex(ItemIndex& index);

// The first item indexed under `path` (ignoring case), or null.
markup::MarkupNode* FindIndexedItem(const ItemIndex& index, const char* path);

// Indexes `item` under `path` unless an item with that path is indexed
// already. False when the path was present or the index is full.
bool AddIndexedItem(ItemIndex& index, markup::MarkupNode* item, const char* path);

// The same two with the path's FoldedHash given, for a caller that has it
// already.
markup::MarkupNode* FindIndexedItemHashed(const ItemIndex& index, const char* path, std::uint32_t hash);
bool AddIndexedItemHashed(ItemIndex& index, markup::MarkupNode* item, const char* path, std::uint32_t hash,
                          std::int32_t data = -1);

// The entry of the first item indexed under `path` (with the path's
// FoldedHash), or null.
const ItemIndexEntry* FindIndexedEntry(const ItemIndex& index, const char* path, std::uint32_t hash);

// Drops `item` from the index (before it is destroyed), if it is indexed.
void ForgetIndexedItem(ItemIndex& index, markup::MarkupNode* item, const char* path);

}  // namespace store
}  // namespace tarnwick
