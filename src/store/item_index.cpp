#include "store/item_index.h"

#include "markup/markup_node.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

// Keeps the index far below 2^31 entries and buckets.
constexpr std::int32_t kMaxCapacity = 1 << 28;


}  // namespace

bool CreateItemIndex(ItemIndex& index, std::int32_t capacity, platform::Env* env,
                     const CaseComparison& comparison) {
    index.Heap = env;
    index.Comparison = &comparison;
    index.Buckets = nullptr;
    index.BucketMask = 0;
    index.Entries = nullptr;
    index.Count = 0;
    index.Capacity = 0;
    if (capacity < 0 || capacity > kMaxCapacity) return false;

    // At least two buckets per entry keeps the chains short.
    std::uint32_t buckets = 16;
    while (buckets < static_cast<std::uint32_t>(capacity) * 2u) buckets *= 2u;

    index.Buckets = static_cast<std::int32_t*>(index.Heap->AllocZeroed(sizeof(std::int32_t) * buckets));
    index.Entries = static_cast<ItemIndexEntry*>(index.Heap->AllocZeroed(sizeof(ItemIndexEntry) * static_cast<std::size_t>(capacity)));
    if (index.Buckets == nullptr || index.Entries == nullptr) {
        DestroyItemIndex(index);
        return false;
    }
    FillBytes(index.Buckets, 0xFF, sizeof(std::int32_t) * buckets);  // every bucket -1
    index.BucketMask = buckets - 1u;
    index.Capacity = capacity;
    return true;
}

void DestroyItemIndex(ItemIndex& index) {
    if (index.Heap != nullptr) {
        index.Heap->Release(index.Buckets);
        index.Heap->Release(index.Entries);
    }
    index.Buckets = nullptr;
    index.Entries = nullptr;
    index.BucketMask = 0;
    index.Count = 0;
    index.Capacity = 0;
}

MarkupNode* FindIndexedItem(const ItemIndex& index, const char* path) {
    if (index.Buckets == nullptr || path == nullptr) return nullptr;
    return FindIndexedItemHashed(index, path, FoldedHash(path));
}

MarkupNode* FindIndexedItemHashed(const ItemIndex& index, const char* path, std::uint32_t hash) {
    const ItemIndexEntry* entry = FindIndexedEntry(index, path, hash);
    return entry != nullptr ? entry->Item : nullptr;
}

const ItemIndexEntry* FindIndexedEntry(const ItemIndex& index, const char* path, std::uint32_t hash) {
    if (index.Buckets == nullptr || path == nullptr) return nullptr;
    for (std::int32_t at = index.Buckets[hash & index.BucketMask]; at >= 0; at = index.Entries[at].Next) {
        const ItemIndexEntry& entry = index.Entries[at];
        if (entry.Item == nullptr || entry.Hash != hash) continue;
        if (index.Comparison->Equal(entry.Path, path)) return &entry;
    }
    return nullptr;
}

bool AddIndexedItem(ItemIndex& index, MarkupNode* item, const char* path) {
    if (path == nullptr) return false;
    return AddIndexedItemHashed(index, item, path, FoldedHash(path));
}

bool AddIndexedItemHashed(ItemIndex& index, MarkupNode* item, const char* path, std::uint32_t hash,
                          std::int32_t data) {
    if (index.Buckets == nullptr || item == nullptr || path == nullptr) return false;
    if (index.Count >= index.Capacity) return false;
    if (FindIndexedItemHashed(index, path, hash) != nullptr) return false;
    std::int32_t* bucket = &index.Buckets[hash & index.BucketMask];
    ItemIndexEntry& entry = index.Entries[index.Count];
    entry.Item = item;
    entry.Path = path;
    entry.Data = data;
    entry.Hash = hash;
    entry.Next = *bucket;
    *bucket = index.Count;
    ++index.Count;
    return true;
}

void ForgetIndexedItem(ItemIndex& index, MarkupNode* item, const char* path) {
    if (index.Buckets == nullptr || item == nullptr || path == nullptr) return;
    std::uint32_t hash = FoldedHash(path);
    for (std::int32_t at = index.Buckets[hash & index.BucketMask]; at >= 0; at = index.Entries[at].Next) {
        if (index.Entries[at].Item == item) {
            index.Entries[at].Item = nullptr;
            return;
        }
    }
}

}  // namespace store
}  // namespace tarnwick
