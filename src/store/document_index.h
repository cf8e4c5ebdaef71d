// The position file's index of its items by type and path (both ignoring
// case), so that finding, reading, writing, removing and counting items
// costs one hash lookup instead of a walk of the document.
//
// Every qualifying item of the document is indexed, duplicates included,
// each with its place in document order: items indexed from a walk get
// increasing numbers, an item put in front of all others gets one below
// the smallest. A lookup returns, of the items that match, the one with the
// smallest number, so that it finds what a walk from the front would find
// (the first match in document order) after any sequence of adds at the
// front and removals. A path with k duplicates costs k steps per lookup.
//
// The index belongs to one document (Document); when that is not the
// file's current document, the index is not used and callers walk. It
// reads the item's type and path from its attributes at every lookup, so an
// item rewritten with its path in another case stays found, and an element
// whose type or path changed otherwise is never returned under its old key
// (the index is rebuilt after a merge, which is the only place where that
// happens).
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "store/stored_place.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct DocumentIndexEntry {
    markup::MarkupNode* Item;  // null once removed
    std::uint32_t Hash;        // ItemKeyHash of its type and path
    std::int32_t Next;         // next entry of the same bucket, -1 at the end
    std::int32_t Order;        // place in document order: smaller is earlier
};

struct DocumentIndex {
    const markup::MarkupNode* Document;  // the document indexed; null when there is no index
    std::int32_t* Buckets;               // first entry of each bucket, -1 when empty
    std::uint32_t BucketMask;            // bucket count - 1 (a power of two)
    DocumentIndexEntry* Entries;
    std::int32_t Count;     // entries used, removed ones included
    std::int32_t Capacity;  // entries allocated
    std::int32_t FrontOrder;   // the smallest Order given so far
    std::int32_t KindItems[kItemKindCount];  // indexed items of each kind that are still there
    platform::Env* Heap;       // where the buckets and entries live
    const CaseComparison* Comparison;  // how paths compare
};

// A hash of the key (type, path) that agrees with any CaseComparison on
// both (FoldedHash).
std::uint32_t ItemKeyHash(const char* type, const char* path);

// Indexes every qualifying item of `document` in document order, replacing
// whatever `index` held. False when memory runs out: the index is then
// empty (no document) and callers walk. Paths compare with `comparison`,
// which must outlive the index.
bool BuildDocumentIndex(DocumentIndex& index, const markup::MarkupNode* document, platform::Env* env,
                        const CaseComparison& comparison);
// Releases the index's memory; it indexes no document afterwards.
void DestroyDocumentIndex(DocumentIndex& index);

// True when `index` indexes `document` (which is not null).
bool IndexesDocument(const DocumentIndex& index, const markup::MarkupNode* document);

// The first item in document order of that kind and path, or null.
markup::MarkupNode* FindFirstIndexedItem(const DocumentIndex& index, ItemKind kind, const char* path);

// Records that `item`, a qualifying item, was just put in front of all the
// others. When the index is full it is rebuilt larger from its document;
// if that fails it is dropped.
void NoteItemAddedInFront(DocumentIndex& index, markup::MarkupNode* item);
// Records that `item` is about to leave the document (call it while the
// item still holds its attributes).
void NoteItemRemoved(DocumentIndex& index, const markup::MarkupNode* item);

}  // namespace store
}  // namespace tarnwick
