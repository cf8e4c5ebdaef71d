#include "markup/markup_block.h"

#include <cstring>
#include <new>

#include "markup/markup_node.h"

namespace tarnwick {
namespace markup {

namespace {

// The header and the nodes keep the alignment nodes need; strings follow
// the last node, byte-aligned.
constexpr std::size_t kAlign = alignof(MarkupNode) > alignof(MarkupBlock) ? alignof(MarkupNode) : alignof(MarkupBlock);
constexpr std::size_t kHeaderSize = (sizeof(MarkupBlock) + kAlign - 1) / kAlign * kAlign;
constexpr std::size_t kNodeSize = (sizeof(MarkupNode) + alignof(MarkupNode) - 1) / alignof(MarkupNode) * alignof(MarkupNode);

}  // namespace

std::uint64_t BlockSize(std::uint64_t nodes, std::uint64_t attributes, std::uint64_t stringBytes) {
    const std::uint64_t limit = static_cast<std::uint64_t>(SIZE_MAX);
    if (nodes > (limit - kHeaderSize) / kNodeSize) return 0;
    std::uint64_t size = kHeaderSize + nodes * kNodeSize;
    if (attributes > (limit - size) / sizeof(MarkupAttribute)) return 0;
    size += attributes * sizeof(MarkupAttribute);
    if (stringBytes > limit - size) return 0;
    return size + stringBytes;
}

MarkupBlock* NewBlock(platform::Env* heap, std::uint64_t nodes, std::uint64_t attributes, std::uint64_t stringBytes) {
    std::uint64_t size = BlockSize(nodes, attributes, stringBytes);
    if (size == 0) return nullptr;
    char* bytes = static_cast<char*>(heap->AllocZeroed(static_cast<std::size_t>(size)));
    if (bytes == nullptr) return nullptr;
    MarkupBlock* block = new (bytes) MarkupBlock;
    block->Heap = heap;
    block->LiveNodes = 0;
    block->Begin = bytes;
    block->End = bytes + size;
    block->NextNode = bytes + kHeaderSize;
    block->NextAttribute = block->NextNode + static_cast<std::size_t>(nodes) * kNodeSize;
    block->NextString = block->NextAttribute + static_cast<std::size_t>(attributes) * sizeof(MarkupAttribute);
    return block;
}

MarkupNode* NodeFromBlock(MarkupBlock* block) {
    MarkupNode* node = new (block->NextNode) MarkupNode();
    block->NextNode += kNodeSize;
    block->LiveNodes += 1;
    node->HeapEnv = block->Heap;
    node->Block = block;
    return node;
}

MarkupAttribute* AttributeFromBlock(MarkupBlock* block, MarkupNode* node) {
    MarkupAttribute* entry = reinterpret_cast<MarkupAttribute*>(block->NextAttribute);
    if (node->AttributeCapacity == 0) node->Attributes = entry;
    block->NextAttribute += sizeof(MarkupAttribute);
    node->AttributeCapacity += 1;
    return entry;
}

char* StringFromBlock(MarkupBlock* block, const char* text, std::size_t length) {
    char* copy = block->NextString;
    if (length > 0) std::memcpy(copy, text, length);
    copy[length] = '\0';
    block->NextString += length + 1;
    return copy;
}

bool BlockHolds(const MarkupBlock* block, const void* text) {
    if (block == nullptr || text == nullptr) return false;
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(text);
    return at >= reinterpret_cast<std::uintptr_t>(block->Begin) && at < reinterpret_cast<std::uintptr_t>(block->End);
}

void ReleaseBlockNode(MarkupBlock* block) {
    if (block == nullptr) return;
    block->LiveNodes -= 1;
    if (block->LiveNodes == 0) ReleaseUnusedBlock(block);
}

void ReleaseUnusedBlock(MarkupBlock* block) {
    if (block == nullptr) return;
    platform::Env* heap = block->Heap;
    block->~MarkupBlock();
    heap->Release(block);
}

}  // namespace markup
}  // namespace tarnwick
