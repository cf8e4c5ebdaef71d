// The still-open elements of one parse: the top-level kNodeElement nodes with a
// name, in chain order, which are the only nodes a closing tag can match.
//
// Elements are pushed as they are read. A closing tag that matches element M
// turns every node after M into M's children and M into a container, so the
// open elements that leave are always M and those after it: the newest ones.
// The open elements therefore form a stack, and so do those of any one name.
// Each entry links to the previous open entry whose name falls into the same
// hash slot, and each slot holds its newest entry, so a closing tag looks
// only at open elements whose folded name hashes alike: finding the match and
// popping what it closes costs time in proportion to the elements it closes,
// and an unmatched closing tag costs next to nothing. The hash folds every
// byte the way the parse's case comparison does (CaseComparison::Hash): names that compare equal
// always share a slot, and names that differ (in bytes above 0x7F as much as
// in ASCII) rarely do.
//
// The parse's first pass counts the named elements, so the index is
// allocated once, at its full size, before the document is built.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {

class MarkupNode;

struct OpenEntry {
    MarkupNode* Node;
    std::uint32_t Hash;     // the comparison's Hash of the node's name
    std::int32_t SlotPrev;  // previous entry in the same slot, or -1
};

struct OpenElements {
    OpenEntry* Entries;
    std::int32_t Count;
    std::int32_t* Slots;  // newest entry per slot, or -1
    std::uint32_t SlotMask;
    const CaseComparison* Comparison;  // how names compare; not owned
};

// Room for `capacity` entries and twice as many slots (rounded up to a power
// of two), in one allocation; false when out of memory.
// Names compare with `comparison`, which must outlive the index.
bool CreateOpenElements(OpenElements& index, platform::Env* heap, std::uint64_t capacity,
                        const CaseComparison& comparison);
void ReleaseOpenElements(OpenElements& index, platform::Env* heap);

// Adds a newly read element; the index has room for every named element.
void PushOpen(OpenElements& index, MarkupNode* node);

// Drops the newest entries down to and including entry `bottom`.
void PopOpen(OpenElements& index, std::int32_t bottom);

// The nearest open element whose name has exactly `length` characters and
// equals `name` over them ignoring case; -1 when there is none.
std::int32_t FindOpen(const OpenElements& index, const char* name, int length);

}  // namespace markup
}  // namespace tarnwick
