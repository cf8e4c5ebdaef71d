// The block of one parse: a single heap allocation that holds every node the
// parse made, their attribute arrays and every string those nodes read from
// the text.
//
// A parsed document costs two allocations instead of one per node and two
// per attribute. The nodes in a block own it together: each node made in it
// counts as one live node, destroying such a node only runs its destructor
// and counts it off, and the node that is counted off last returns the block
// to the heap, whichever document it belongs to by then and in whatever
// order the nodes go. Strings that change later (SetAttribute) live on the
// heap as before; a node releases only the strings that are not in its block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace markup {

class MarkupNode;
struct MarkupAttribute;

struct MarkupBlock {
    platform::Env* Heap;      // the environment the block came from
    std::size_t LiveNodes;    // nodes made in the block and not yet destroyed
    char* Begin;              // the block's bytes, this header included
    char* End;
    char* NextNode;           // where the next node goes
    char* NextAttribute;      // where the next attribute entry goes
    char* NextString;         // where the next string goes
};

// The bytes a block of `nodes` nodes, `attributes` attribute entries and
// `stringBytes` bytes of strings (terminators included) takes, or 0 when
// that does not fit a size_t.
std::uint64_t BlockSize(std::uint64_t nodes, std::uint64_t attributes, std::uint64_t stringBytes);

// A block with room for that much; null when out of memory or when the
// sizes do not fit.
MarkupBlock* NewBlock(platform::Env* heap, std::uint64_t nodes, std::uint64_t attributes, std::uint64_t stringBytes);

// Constructs the next node of the block (the caller made room for it) and
// counts it live; its HeapEnv is the block's environment. It has no room
// for attributes yet.
MarkupNode* NodeFromBlock(MarkupBlock* block);

// Gives `node`, the node made last, room for one more attribute: the
// block's next entry, which follows its others (its first one starts its
// array). Returns that entry.
MarkupAttribute* AttributeFromBlock(MarkupBlock* block, MarkupNode* node);

// Copies `length` bytes and a terminator into the block's strings.
char* StringFromBlock(MarkupBlock* block, const char* text, std::size_t length);

// True when `text` lies in the block (never to be released on its own).
bool BlockHolds(const MarkupBlock* block, const void* text);

// Counts a node of the block off after its destructor ran; the last one
// releases the block. Null is ignored.
void ReleaseBlockNode(MarkupBlock* block);

// Releases a block that no node was made in (a parse that stopped first).
void ReleaseUnusedBlock(MarkupBlock* block);

}  // namespace markup
}  // namespace tarnwick
