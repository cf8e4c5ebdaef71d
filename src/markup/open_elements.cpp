#include "markup/open_elements.h"

#include <cstddef>
#include <cstdint>

#include "markup/markup_node.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace markup {

bool CreateOpenElements(OpenElements& index, platform::Env* heap, std::uint64_t capacity,
                        const CaseComparison& comparison) {
    index = OpenElements{nullptr, 0, nullptr, 0, &comparison};
    if (capacity == 0) return true;
    std::uint64_t slots = 64;
    while (slots < capacity * 2) slots *= 2;
    if (slots > 0x80000000u) return false;
    std::uint64_t bytes = capacity * sizeof(OpenEntry) + slots * sizeof(std::int32_t);
    if (bytes > static_cast<std::uint64_t>(SIZE_MAX)) return false;
    // Entries are written before they are read; every slot starts empty.
    char* memory = static_cast<char*>(heap->Alloc(static_cast<std::size_t>(bytes)));
    if (memory == nullptr) return false;
    index.Entries = reinterpret_cast<OpenEntry*>(memory);
    index.Slots = reinterpret_cast<std::int32_t*>(memory + capacity * sizeof(OpenEntry));
    index.SlotMask = static_cast<std::uint32_t>(slots - 1);
    for (std::uint64_t i = 0; i < slots; ++i) index.Slots[i] = -1;
    return true;
}

void ReleaseOpenElements(OpenElements& index, platform::Env* heap) {
    heap->Release(index.Entries);
    index = OpenElements{nullptr, 0, nullptr, 0, index.Comparison};
}

void PushOpen(OpenElements& index, MarkupNode* node) {
    OpenEntry& entry = index.Entries[index.Count];
    entry.Node = node;
    entry.Hash = index.Comparison->Hash(node->Name);
    std::uint32_t slot = entry.Hash & index.SlotMask;
    entry.SlotPrev = index.Slots[slot];
    index.Slots[slot] = index.Count;
    index.Count += 1;
}

void PopOpen(OpenElements& index, std::int32_t bottom) {
    while (index.Count > bottom) {
        index.Count -= 1;
        const OpenEntry& entry = index.Entries[index.Count];
        index.Slots[entry.Hash & index.SlotMask] = entry.SlotPrev;
    }
}

std::int32_t FindOpen(const OpenElements& index, const char* name, int length) {
    if (index.Count == 0) return -1;
    std::uint32_t hash = index.Comparison->Hash(name);
    for (std::int32_t i = index.Slots[hash & index.SlotMask]; i >= 0; i = index.Entries[i].SlotPrev) {
        const OpenEntry& entry = index.Entries[i];
        if (entry.Hash != hash) continue;
        if (StrLength(entry.Node->Name) != static_cast<std::size_t>(length)) continue;
        if (index.Comparison->CompareN(name, entry.Node->Name, length) == 0) return i;
    }
    return -1;
}

}  // namespace markup
}  // namespace tarnwick
