#include "store/document_index.h"

#include "markup/markup_node.h"
#include "store/item_fields.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

// Keeps the entries and buckets far below 2^31.
constexpr std::int32_t kMaxCapacity = 1 << 28;
// Room left for adds before the index has to grow.
constexpr std::int32_t kMinCapacity = 64;

// The item's own type and its path when it is a qualifying item; a null
// type otherwise.
struct ItemKey {
    const char* Type;
    const char* Path;
};

ItemKey KeyOf(const MarkupNode* element) {
    ItemFields fields;
    FindFields(element, fields);
    return ItemKey{QualifyingType(element, fields), FieldValue(element, fields, kFieldPath)};
}

void Clear(DocumentIndex& index) {
    index.Document = nullptr;
    index.Buckets = nullptr;
    index.BucketMask = 0;
    index.Entries = nullptr;
    index.Count = 0;
    index.Capacity = 0;
    index.FrontOrder = 0;
    for (std::int32_t& count : index.KindItems) count = 0;
}

// Counts an item of a known kind in or out.
void CountKey(DocumentIndex& index, const ItemKey& key, int step) {
    ItemKind kind;
    if (KindOfType(key.Type, &kind)) index.KindItems[static_cast<int>(kind)] += step;
}

// Links a new entry; the caller made sure there is room.
void Link(DocumentIndex& index, MarkupNode* item, const ItemKey& key, std::int32_t order) {
    std::uint32_t hash = ItemKeyHash(key.Type, key.Path);
    std::int32_t* bucket = &index.Buckets[hash & index.BucketMask];
    DocumentIndexEntry& entry = index.Entries[index.Count];
    entry.Item = item;
    entry.Hash = hash;
    entry.Next = *bucket;
    entry.Order = order;
    *bucket = index.Count;
    ++index.Count;
    CountKey(index, key, 1);
}

// Allocates room for `capacity` entries, all buckets empty.
bool Allocate(DocumentIndex& index, std::int32_t capacity, platform::Env* env) {
    index.Heap = env;
    // As many buckets as entries (a power of two at least): chains of one
    // entry on average, at 4 bytes a bucket.
    std::uint32_t buckets = 16;
    while (buckets < static_cast<std::uint32_t>(capacity)) buckets *= 2u;
    index.Buckets = static_cast<std::int32_t*>(env->AllocZeroed(sizeof(std::int32_t) * buckets));
    index.Entries = static_cast<DocumentIndexEntry*>(
        env->AllocZeroed(sizeof(DocumentIndexEntry) * static_cast<std::size_t>(capacity)));
    if (index.Buckets == nullptr || index.Entries == nullptr) return false;
    FillBytes(index.Buckets, 0xFF, sizeof(std::int32_t) * buckets);  // every bucket -1
    index.BucketMask = buckets - 1u;
    index.Capacity = capacity;
    return true;
}

}  // namespace

std::uint32_t ItemKeyHash(const char* type, const char* path) {
    return FoldedHash(path) * 31u + FoldedHash(type);
}

bool BuildDocumentIndex(DocumentIndex& index, const MarkupNode* document, platform::Env* env,
                        const CaseComparison& comparison) {
    DestroyDocumentIndex(index);
    if (document == nullptr || env == nullptr) return false;
    index.Comparison = &comparison;
    MarkupNode* first = const_cast<MarkupNode*>(document)->GetNext();
    // Room for every element, qualifying or not (reading each one's key
    // twice would cost more than the room), and for a quarter more adds
    // before the index must grow (a rebuild, linear, so adds stay constant
    // on average).
    std::int64_t elements = 0;
    for (const MarkupNode* element = first; element != nullptr; element = element->Next) ++elements;
    std::int64_t capacity = elements + elements / 4 + kMinCapacity;
    if (capacity > kMaxCapacity || !Allocate(index, static_cast<std::int32_t>(capacity), env)) {
        DestroyDocumentIndex(index);
        return false;
    }
    std::int32_t order = 0;
    for (MarkupNode* element = first; element != nullptr; element = element->GetNext()) {
        ItemKey key = KeyOf(element);
        if (key.Type != nullptr) Link(index, element, key, order++);
    }
    index.Document = document;
    return true;
}

void DestroyDocumentIndex(DocumentIndex& index) {
    if (index.Heap != nullptr) {
        index.Heap->Release(index.Buckets);
        index.Heap->Release(index.Entries);
    }
    platform::Env* heap = index.Heap;
    const CaseComparison* comparison = index.Comparison;
    Clear(index);
    index.Heap = heap;
    index.Comparison = comparison;
}

bool IndexesDocument(const DocumentIndex& index, const MarkupNode* document) {
    return document != nullptr && index.Document == document;
}

MarkupNode* FindFirstIndexedItem(const DocumentIndex& index, ItemKind kind, const char* path) {
    if (index.Document == nullptr || path == nullptr) return nullptr;
    std::uint32_t hash = ItemKeyHash(ItemTypeText(kind), path);
    MarkupNode* found = nullptr;
    std::int32_t foundOrder = 0;
    for (std::int32_t at = index.Buckets[hash & index.BucketMask]; at >= 0; at = index.Entries[at].Next) {
        const DocumentIndexEntry& entry = index.Entries[at];
        if (entry.Item == nullptr || entry.Hash != hash) continue;
        if (found != nullptr && entry.Order >= foundOrder) continue;
        ItemFields fields;
        if (!IsItemOfKind(entry.Item, kind, fields)) continue;
        if (!index.Comparison->Equal(FieldValue(entry.Item, fields, kFieldPath), path)) continue;
        found = entry.Item;
        foundOrder = entry.Order;
    }
    return found;
}

void NoteItemAddedInFront(DocumentIndex& index, MarkupNode* item) {
    if (index.Document == nullptr || item == nullptr) return;
    ItemKey key = KeyOf(item);
    if (key.Type == nullptr) return;
    if (index.Count >= index.Capacity || index.FrontOrder <= -kMaxCapacity) {
        // Full, or out of numbers: a fresh walk numbers the items anew and
        // makes room (the new item is already in the document).
        BuildDocumentIndex(index, index.Document, index.Heap, *index.Comparison);
        return;
    }
    Link(index, item, key, --index.FrontOrder);
}

void NoteItemRemoved(DocumentIndex& index, const MarkupNode* item) {
    if (index.Document == nullptr || item == nullptr) return;
    ItemKey key = KeyOf(item);
    if (key.Type == nullptr) return;
    std::uint32_t hash = ItemKeyHash(key.Type, key.Path);
    for (std::int32_t at = index.Buckets[hash & index.BucketMask]; at >= 0; at = index.Entries[at].Next) {
        DocumentIndexEntry& entry = index.Entries[at];
        if (entry.Item != item) continue;
        entry.Item = nullptr;
        CountKey(index, key, -1);
        return;
    }
}

}  // namespace store
}  // namespace tarnwick
