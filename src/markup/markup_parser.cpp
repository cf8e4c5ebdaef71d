#include "markup/markup_parser.h"

#include <cstddef>
#include <cstdint>

#include "markup/markup_node.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace markup {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The still-open elements of one parse: the top-level NODE_ELEMENTs with a
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
// and an unmatched closing tag costs next to nothing.
struct OpenEntry {
    MarkupNode* Node;
    std::uint32_t Hash;     // FoldedHash of the node's name
    std::int32_t SlotPrev;  // previous entry in the same slot, or -1
};

struct OpenIndex {
    OpenEntry* Entries;
    std::int32_t Count;
    std::int32_t Capacity;
    std::int32_t* Slots;  // newest entry per slot, or -1
    std::uint32_t SlotMask;
    platform::Env* Heap;  // the document's environment
};

constexpr std::int32_t kInitialEntries = 64;

// Doubles the entries (and the slot table with them). On false, when memory
// runs out, the index is left exactly as it was, so that it never holds
// room for entries without a slot table to hang them in.
bool GrowEntries(OpenIndex& index) {
    std::int32_t capacity = index.Capacity == 0 ? kInitialEntries : index.Capacity;
    if (index.Capacity != 0) {
        if (index.Capacity > 0x3FFFFFFF / 2) return false;
        capacity = index.Capacity * 2;
    }
    std::size_t bytes = sizeof(OpenEntry) * static_cast<std::size_t>(capacity);
    if (bytes / sizeof(OpenEntry) != static_cast<std::size_t>(capacity)) return false;
    // Twice as many slots as entries keeps the slots short.
    std::uint32_t slotCount = static_cast<std::uint32_t>(capacity) * 2u;
    if (slotCount > SIZE_MAX / sizeof(std::int32_t)) return false;
    OpenEntry* entries = static_cast<OpenEntry*>(index.Heap->AllocZeroed(bytes));
    std::int32_t* slots = static_cast<std::int32_t*>(index.Heap->AllocZeroed(sizeof(std::int32_t) * slotCount));
    if (entries == nullptr || slots == nullptr) {
        index.Heap->Release(entries);
        index.Heap->Release(slots);
        return false;
    }
    if (index.Count > 0) CopyBytes(entries, index.Entries, sizeof(OpenEntry) * static_cast<std::size_t>(index.Count));
    index.Heap->Release(index.Entries);
    index.Heap->Release(index.Slots);
    index.Entries = entries;
    index.Capacity = capacity;
    index.Slots = slots;
    index.SlotMask = slotCount - 1;
    for (std::uint32_t i = 0; i < slotCount; ++i) slots[i] = -1;
    for (std::int32_t i = 0; i < index.Count; ++i) {
        std::uint32_t slot = index.Entries[i].Hash & index.SlotMask;
        index.Entries[i].SlotPrev = slots[slot];
        slots[slot] = i;
    }
    return true;
}

// Adds a newly read element; false when memory runs out.
bool PushOpen(OpenIndex& index, MarkupNode* node) {
    if (index.Count == index.Capacity && !GrowEntries(index)) return false;
    OpenEntry& entry = index.Entries[index.Count];
    entry.Node = node;
    entry.Hash = FoldedHash(node->Name);
    std::uint32_t slot = entry.Hash & index.SlotMask;
    entry.SlotPrev = index.Slots[slot];
    index.Slots[slot] = index.Count;
    index.Count += 1;
    return true;
}

// Drops the newest entries down to and including entry `bottom`.
void PopOpen(OpenIndex& index, std::int32_t bottom) {
    while (index.Count > bottom) {
        index.Count -= 1;
        const OpenEntry& entry = index.Entries[index.Count];
        index.Slots[entry.Hash & index.SlotMask] = entry.SlotPrev;
    }
}

void ReleaseIndex(OpenIndex& index) {
    index.Heap->Release(index.Entries);
    index.Heap->Release(index.Slots);
    index = OpenIndex{nullptr, 0, 0, nullptr, 0, index.Heap};
}

// The nearest open element whose name has exactly `length` characters and
// equals `name` over them ignoring case; -1 when there is none.
std::int32_t FindOpen(const OpenIndex& index, const char* name, int length) {
    if (index.Count == 0) return -1;
    std::uint32_t hash = FoldedHash(name);
    for (std::int32_t i = index.Slots[hash & index.SlotMask]; i >= 0; i = index.Entries[i].SlotPrev) {
        const OpenEntry& entry = index.Entries[i];
        if (entry.Hash != hash) continue;
        if (StrLength(entry.Node->Name) != static_cast<std::size_t>(length)) continue;
        if (CompareNoCaseN(name, entry.Node->Name, length) == 0) return i;
    }
    return -1;
}

struct Scanner {
    MarkupNode* Document;
    const char* Text;
    std::int64_t End;
    MarkupNode* Last;  // tail of the top-level chain
    OpenIndex Open;
    bool Failed;  // memory ran out: the parse stops and takes back what it made
};

std::int64_t SkipSpace(const Scanner& s, std::int64_t pos) {
    while (pos < s.End && IsSpace(s.Text[pos])) ++pos;
    return pos;
}

// A heap copy of text[begin, end) that stops at a zero byte; null when out
// of memory.
char* CopyRange(platform::Env* env, const Scanner& s, std::int64_t begin, std::int64_t end) {
    std::int64_t length = 0;
    while (begin + length < end && s.Text[begin + length] != '\0') ++length;
    std::size_t size = static_cast<std::size_t>(length) + 1;
    char* copy = static_cast<char*>(env->AllocZeroed(size));
    if (copy == nullptr) return nullptr;
    if (length > 0) CopyBytes(copy, s.Text + begin, static_cast<std::size_t>(length));
    return copy;
}

// Appends an attribute read from the text; marks the scan failed when memory
// runs out.
void AddAttribute(Scanner& s, MarkupNode* node, std::int64_t nameBegin, std::int64_t nameEnd,
                  std::int64_t valueBegin, std::int64_t valueEnd) {
    if (node == nullptr || node->AttributeCount >= kMaxAttributes) return;
    platform::Env* env = s.Open.Heap;
    char* name = CopyRange(env, s, nameBegin, nameEnd);
    char* value = CopyRange(env, s, valueBegin, valueEnd);
    if (name == nullptr || value == nullptr) {
        env->Release(name);
        env->Release(value);
        s.Failed = true;
        return;
    }
    node->Attributes[node->AttributeCount].Name = name;
    node->Attributes[node->AttributeCount].Value = value;
    node->AttributeCount += 1;
}

// Reads the opening tag whose "<" is at `p`; returns the position where the
// tag ends (its ">", the end of text, or, once the element holds 32
// attributes, the character where reading stopped).
std::int64_t ReadOpeningTag(Scanner& s, std::int64_t p) {
    MarkupNode* node = s.Document->CreateNode(kNodeElement, nullptr, s.Last);
    if (node == nullptr) {
        s.Failed = true;
        return s.End;
    }
    node->OnCreate();
    s.Last = node;

    // The name ends at whitespace or ">". A longer name keeps its first 15
    // characters and the rest of it is passed over: the scan goes on after
    // the whole name.
    std::int64_t pos = p + 1;
    while (pos < s.End && !IsSpace(s.Text[pos]) && s.Text[pos] != '>') ++pos;
    std::int64_t length = pos - (p + 1);
    if (length > kNameSize - 1) length = kNameSize - 1;
    for (std::int64_t i = 0; i < length; ++i) node->Name[i] = s.Text[p + 1 + i];
    node->Name[length] = '\0';
    // Only named elements can ever be matched by a closing tag.
    if (node->Name[0] != '\0' && !PushOpen(s.Open, node)) {
        s.Failed = true;
        return s.End;
    }

    // Attributes up to ">".
    int count = 0;
    while (pos < s.End && s.Text[pos] != '>' && count < kMaxAttributes && !s.Failed) {
        pos = SkipSpace(s, pos);
        std::int64_t nameBegin = pos;
        while (pos < s.End && !IsSpace(s.Text[pos]) && s.Text[pos] != '>' && s.Text[pos] != '=') ++pos;
        std::int64_t nameEnd = pos;
        pos = SkipSpace(s, pos);

        std::int64_t valueBegin = nameBegin;
        std::int64_t valueEnd = nameEnd;  // no "=": the name is its own value
        if (pos < s.End && s.Text[pos] == '=') {
            pos = SkipSpace(s, pos + 1);
            if (pos < s.End && s.Text[pos] == '"') {
                valueBegin = pos + 1;
                pos = valueBegin;
                while (pos < s.End && s.Text[pos] != '"') ++pos;
                valueEnd = pos;
                // Past the closing quote; without one, the tag and the parse
                // end at the end of text.
                if (pos < s.End) ++pos;
            } else {
                valueBegin = pos;
                while (pos < s.End && !IsSpace(s.Text[pos]) && s.Text[pos] != '>') ++pos;
                valueEnd = pos;
            }
        }

        if (nameEnd > nameBegin) {
            AddAttribute(s, node, nameBegin, nameEnd, valueBegin, valueEnd);
            count += 1;
        }
    }
    return pos < s.End ? pos : s.End;
}

// Reads the closing tag whose "<" is at `p`; returns the position of its ">"
// or the end of text.
std::int64_t ReadClosingTag(Scanner& s, std::int64_t p) {
    std::int64_t begin = p + 2;
    std::int64_t pos = begin;
    while (pos < s.End && !IsSpace(s.Text[pos]) && s.Text[pos] != '>') ++pos;
    std::int64_t length = pos - begin;

    // Element names hold 1 to 15 characters and no zero byte, so only such a
    // closing name can match one.
    if (length >= 1 && length <= kNameSize - 1) {
        char name[kNameSize];
        bool hasZero = false;
        for (std::int64_t i = 0; i < length; ++i) {
            name[i] = s.Text[begin + i];
            if (name[i] == '\0') hasZero = true;
        }
        name[length] = '\0';
        std::int32_t found = hasZero ? -1 : FindOpen(s.Open, name, static_cast<int>(length));
        if (found >= 0) {
            MarkupNode* match = s.Open.Entries[found].Node;
            PopOpen(s.Open, found);
            // Everything after the match in the chain becomes its children.
            MarkupNode* first = match->Next;
            std::int32_t children = 0;
            for (MarkupNode* child = first; child != nullptr; child = child->Next) {
                child->Parent = match;
                ++children;
            }
            if (first != nullptr) first->Prev = nullptr;
            match->FirstChild = first;
            match->ChildCount = children;
            match->Kind = kNodeContainer;
            match->Next = nullptr;
            s.Last = match;
        }
    }

    while (pos < s.End && s.Text[pos] != '>') ++pos;
    return pos;
}

}  // namespace

bool Parse(MarkupNode* document, const char* text, int length) {
    if (document == nullptr) return true;
    document->Kind = kNodeDocument;
    if (text == nullptr || length <= 0) return true;

    if (document->HeapEnv == nullptr) document->HeapEnv = platform::Env::Default();
    Scanner s{document, text, length, document, OpenIndex{nullptr, 0, 0, nullptr, 0, document->HeapEnv}, false};
    // A document that already has a chain keeps it in front; only the
    // elements read now can be matched by closing tags.
    while (s.Last->Next != nullptr) s.Last = s.Last->Next;
    MarkupNode* before = s.Last;

    std::int64_t pos = 0;
    while (pos < s.End && !s.Failed) {
        if (s.Text[pos] == '<' && pos + 1 < s.End) {
            std::int64_t stop = s.Text[pos + 1] == '/' ? ReadClosingTag(s, pos) : ReadOpeningTag(s, pos);
            pos = stop + 1;
        } else {
            ++pos;
        }
    }
    ReleaseIndex(s.Open);
    if (s.Failed) {
        // Closing tags only ever nest elements of this parse below one
        // another, so everything it made hangs off the chain after `before`.
        DestroyChain(before->Next);
        return false;
    }
    return true;
}

MarkupNode* InsertFragment(MarkupNode* anchor, const char* text, int length) {
    if (anchor == nullptr) return nullptr;
    MarkupNode* temporary = NewMarkupNode(anchor->HeapEnv);
    if (temporary == nullptr) return nullptr;
    if (!Parse(temporary, text, length)) {
        Destroy(temporary);
        return nullptr;
    }
    MarkupNode* first = temporary->Next;
    if (first == nullptr) {
        Destroy(temporary);
        return nullptr;
    }
    temporary->Next = nullptr;
    Destroy(temporary);

    MarkupNode* parent = anchor->Parent;
    MarkupNode* last = first;
    std::int32_t count = 0;
    for (MarkupNode* node = first; node != nullptr; node = node->Next) {
        node->Parent = parent;
        last = node;
        ++count;
    }
    first->Prev = anchor;
    last->Next = anchor->Next;
    if (anchor->Next != nullptr) anchor->Next->Prev = last;
    anchor->Next = first;
    if (parent != nullptr) parent->ChildCount += count;
    return last;
}

}  // namespace markup
}  // namespace tarnwick
