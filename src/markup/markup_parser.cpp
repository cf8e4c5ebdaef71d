#include "markup/markup_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "markup/markup_block.h"
#include "markup/markup_node.h"
#include "markup/open_elements.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace markup {

namespace {

// The bytes that end a run of the scan, one bit per kind of run.
enum : unsigned char {
    kEndsName = 1,           // an element name or an unquoted value: whitespace or ">"
    kEndsAttributeName = 2,  // whitespace, ">" or "="
    kIsSpace = 4,
};

struct ByteClasses {
    unsigned char Of[256];
    constexpr ByteClasses() : Of() {
        for (int c = 0; c < 256; ++c) {
            bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            Of[c] = static_cast<unsigned char>((space || c == '>' ? kEndsName : 0) |
                                               (space || c == '>' || c == '=' ? kEndsAttributeName : 0) |
                                               (space ? kIsSpace : 0));
        }
    }
};

constexpr ByteClasses kClasses;

// The position of the first byte at or after `pos` whose class has `bits`,
// or `end`.
std::int64_t Until(const char* text, std::int64_t pos, std::int64_t end, unsigned char bits) {
    while (pos < end && (kClasses.Of[static_cast<unsigned char>(text[pos])] & bits) == 0) ++pos;
    return pos;
}

// The position of the first byte at or after `pos` that is not whitespace.
std::int64_t SkipSpace(const char* text, std::int64_t pos, std::int64_t end) {
    while (pos < end && (kClasses.Of[static_cast<unsigned char>(text[pos])] & kIsSpace) != 0) ++pos;
    return pos;
}

// The position of the first `c` in text[pos, end), or `end`. Eight bytes at
// a time: a word holds `c` when one of its bytes XOR `c` is zero.
std::int64_t Find(const char* text, std::int64_t pos, std::int64_t end, char c) {
    const std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t pattern = ones * static_cast<unsigned char>(c);
    while (end - pos >= 8) {
        std::uint64_t word;
        std::memcpy(&word, text + pos, 8);
        word ^= pattern;
        if (((word - ones) & ~word & (ones << 7)) != 0) break;
        pos += 8;
    }
    while (pos < end && text[pos] != c) ++pos;
    return pos;
}

// The number of bytes from `text` up to its first zero byte, at most
// `count`; just `count` when the text holds no zero byte at all.
std::size_t LengthToZero(const char* text, std::int64_t count, bool textHasZero) {
    if (count <= 0) return 0;
    if (!textHasZero) return static_cast<std::size_t>(count);
    return static_cast<std::size_t>(Find(text, 0, count, '\0'));
}

// ---- The scan ---------------------------------------------------------
//
// One tokenizer for both passes of a parse: the first counts what the
// document needs, the second builds it in memory allocated beforehand. The
// sink is told of every opening tag (with its whole name), every attribute
// that the element keeps, and every closing tag; where the scan goes next
// never depends on the sink, so both passes see exactly the same tags. It
// is also told of the bytes the scan passes by (between tags, and after a
// closing tag's name), which only whitespace may fill without loss, and of
// what the document cannot keep as written (Loose): a nameless "=value", a
// quote in a value that is not quoted, attributes past the limit, a tag the
// text ends in.

// Reads the opening tag whose "<" is at `p`; returns the position where the
// tag ends (its ">", the end of text, or, once the element holds 32
// attributes, the character where reading stopped).
template <typename Sink>
std::int64_t ScanOpeningTag(const char* text, std::int64_t end, std::int64_t p, Sink& sink) {
    // The name ends at whitespace or ">". A longer name keeps its first 15
    // characters and the rest of it is passed over: the scan goes on after
    // the whole name.
    std::int64_t pos = Until(text, p + 1, end, kEndsName);
    sink.Open(p + 1, pos);

    // Attributes up to ">".
    int count = 0;
    while (pos < end && text[pos] != '>' && count < kMaxAttributes) {
        pos = SkipSpace(text, pos, end);
        std::int64_t nameBegin = pos;
        pos = Until(text, pos, end, kEndsAttributeName);
        std::int64_t nameEnd = pos;
        pos = SkipSpace(text, pos, end);

        std::int64_t valueBegin = nameBegin;
        std::int64_t valueEnd = nameEnd;  // no "=": the name is its own value
        if (pos < end && text[pos] == '=') {
            pos = SkipSpace(text, pos + 1, end);
            if (pos < end && text[pos] == '"') {
                valueBegin = pos + 1;
                pos = Find(text, valueBegin, end, '"');
                valueEnd = pos;
                // Past the closing quote; without one, the tag and the parse
                // end at the end of text.
                if (pos < end) ++pos;
            } else {
                valueBegin = pos;
                pos = Until(text, pos, end, kEndsName);
                valueEnd = pos;
                if (Find(text, valueBegin, valueEnd, '"') < valueEnd) sink.Loose();
            }
            if (nameEnd == nameBegin) sink.Loose();
        } else if (Find(text, nameBegin, nameEnd, '"') < nameEnd) {
            sink.Loose();  // the name is its own value, and a value cannot hold a quote
        }

        if (nameEnd > nameBegin) {
            sink.Attribute(nameBegin, nameEnd, valueBegin, valueEnd);
            count += 1;
        }
    }
    if (count == kMaxAttributes) {
        std::int64_t rest = SkipSpace(text, pos, end);
        if (rest < end && text[rest] != '>') sink.Loose();
    }
    if (pos >= end) sink.Loose();
    return pos < end ? pos : end;
}

// Reads the closing tag whose "<" is at `p`; returns the position of its ">"
// or the end of text.
template <typename Sink>
std::int64_t ScanClosingTag(const char* text, std::int64_t end, std::int64_t p, Sink& sink) {
    std::int64_t begin = p + 2;
    std::int64_t pos = Until(text, begin, end, kEndsName);
    sink.Close(begin, pos - begin);
    std::int64_t stop = Find(text, pos, end, '>');
    sink.PassBy(pos, stop);
    if (stop >= end) sink.Loose();
    return stop;
}

template <typename Sink>
void Scan(const char* text, std::int64_t end, Sink& sink) {
    std::int64_t pos = 0;
    while (pos < end) {
        std::int64_t tag = Find(text, pos, end, '<');
        // A "<" that is the last byte is text too.
        sink.PassBy(pos, tag + 1 >= end ? end : tag);
        pos = tag;
        if (pos + 1 >= end) return;
        std::int64_t stop = text[pos + 1] == '/' ? ScanClosingTag(text, end, pos, sink) : ScanOpeningTag(text, end, pos, sink);
        pos = stop + 1;
    }
}

// ---- First pass: what the document needs --------------------------------

// It also notes everything passed over except closing tags that match no
// open element, which only the second pass can tell.
struct Count {
    const char* Text;
    bool TextHasZero;
    std::uint64_t Nodes = 0;
    std::uint64_t Named = 0;        // elements with a name, which the index of open elements holds
    std::uint64_t Attributes = 0;
    std::uint64_t StringBytes = 0;  // attribute names and values with their terminators
    std::uint64_t Closes = 0;
    bool PassedOver = false;

    void Open(std::int64_t nameBegin, std::int64_t nameEnd) {
        Nodes += 1;
        if (nameEnd > nameBegin && Text[nameBegin] != '\0') Named += 1;
        // An empty name is not written back; a longer one loses its end, and
        // a zero byte cuts it.
        std::int64_t length = nameEnd - nameBegin;
        if (length == 0 || length > kNameSize - 1 ||
            LengthToZero(Text + nameBegin, length, TextHasZero) != static_cast<std::size_t>(length)) {
            PassedOver = true;
        }
    }
    void Attribute(std::int64_t nameBegin, std::int64_t nameEnd, std::int64_t valueBegin, std::int64_t valueEnd) {
        Attributes += 1;
        std::size_t name = LengthToZero(Text + nameBegin, nameEnd - nameBegin, TextHasZero);
        std::size_t value = LengthToZero(Text + valueBegin, valueEnd - valueBegin, TextHasZero);
        StringBytes += name + 1 + value + 1;
        if (name != static_cast<std::size_t>(nameEnd - nameBegin) ||
            value != static_cast<std::size_t>(valueEnd - valueBegin)) {
            PassedOver = true;
        }
    }
    void Close(std::int64_t, std::int64_t) { Closes += 1; }
    void PassBy(std::int64_t begin, std::int64_t end) {
        for (std::int64_t i = begin; i < end && !PassedOver; ++i) {
            if ((kClasses.Of[static_cast<unsigned char>(Text[i])] & kIsSpace) == 0) PassedOver = true;
        }
    }
    void Loose() { PassedOver = true; }
};

// ---- Second pass: the document --------------------------------------------

struct Build {
    const char* Text;
    bool TextHasZero;
    MarkupBlock* Block;
    MarkupNode* Last;  // tail of the top-level chain
    MarkupNode* Current;  // the element whose tag is being read
    OpenElements Index;
    bool Unmatched;  // a closing tag matched no open element

    void Open(std::int64_t nameBegin, std::int64_t nameEnd) {
        MarkupNode* node = NodeFromBlock(Block);
        node->Kind = kNodeElement;
        InsertAfter(Last, node);
        node->OnCreate();
        Last = node;
        Current = node;
        std::int64_t length = nameEnd - nameBegin;
        if (length > kNameSize - 1) length = kNameSize - 1;
        for (std::int64_t i = 0; i < length; ++i) node->Name[i] = Text[nameBegin + i];
        node->Name[length] = '\0';
        // Only named elements can ever be matched by a closing tag.
        if (node->Name[0] != '\0') PushOpen(Index, node);
    }

    void Attribute(std::int64_t nameBegin, std::int64_t nameEnd, std::int64_t valueBegin, std::int64_t valueEnd) {
        MarkupNode* node = Current;
        if (node->AttributeCount >= kMaxAttributes) return;
        MarkupAttribute& attribute = *AttributeFromBlock(Block, node);
        attribute.Name =
            StringFromBlock(Block, Text + nameBegin, LengthToZero(Text + nameBegin, nameEnd - nameBegin, TextHasZero));
        attribute.Value = StringFromBlock(Block, Text + valueBegin,
                                          LengthToZero(Text + valueBegin, valueEnd - valueBegin, TextHasZero));
        node->AttributeCount += 1;
    }

    void Close(std::int64_t begin, std::int64_t length) {
        // Element names hold 1 to 15 characters and no zero byte, so only
        // such a closing name can match one.
        std::int32_t found = -1;
        char name[kNameSize];
        if (length >= 1 && length <= kNameSize - 1 &&
            LengthToZero(Text + begin, length, TextHasZero) == static_cast<std::size_t>(length)) {
            for (std::int64_t i = 0; i < length; ++i) name[i] = Text[begin + i];
            name[length] = '\0';
            found = FindOpen(Index, name, static_cast<int>(length));
        }
        if (found < 0) {
            Unmatched = true;
            return;
        }
        MarkupNode* match = Index.Entries[found].Node;
        PopOpen(Index, found);
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
        Last = match;
    }

    // The first pass noted these already.
    void PassBy(std::int64_t, std::int64_t) {}
    void Loose() {}
};

}  // namespace

bool Parse(MarkupNode* document, const char* text, int length, const CaseComparison& comparison,
           std::uint64_t memoryLimit, bool* passedOver) {
    if (passedOver != nullptr) *passedOver = false;
    if (document == nullptr) return true;
    document->Kind = kNodeDocument;
    if (text == nullptr || length <= 0) return true;
    platform::Env* heap = document->HeapEnv;

    // Strings stop at a zero byte; most texts hold none, and then no string
    // needs to be searched for one.
    const bool hasZero = Find(text, 0, length, '\0') < length;
    Count count{text, hasZero};
    Scan(text, length, count);
    if (count.Nodes == 0) {
        // Without elements, every closing tag matches nothing.
        if (passedOver != nullptr) *passedOver = count.PassedOver || count.Closes > 0;
        return true;
    }
    std::uint64_t size = BlockSize(count.Nodes, count.Attributes, count.StringBytes);
    if (size == 0 || size > memoryLimit) return false;

    MarkupBlock* block = NewBlock(heap, count.Nodes, count.Attributes, count.StringBytes);
    if (block == nullptr) return false;
    Build build{text, hasZero, block, document, nullptr, OpenElements{nullptr, 0, nullptr, 0, &comparison}, false};
    if (!CreateOpenElements(build.Index, heap, count.Named, comparison)) {
        ReleaseUnusedBlock(block);
        return false;
    }
    // A document that already has a chain keeps it in front; only the
    // elements read now can be matched by closing tags.
    while (build.Last->Next != nullptr) build.Last = build.Last->Next;
    Scan(text, length, build);
    ReleaseOpenElements(build.Index, heap);
    if (passedOver != nullptr) *passedOver = count.PassedOver || build.Unmatched;
    return true;
}

MarkupNode* InsertFragment(MarkupNode* anchor, const char* text, int length, const CaseComparison& comparison) {
    if (anchor == nullptr) return nullptr;
    MarkupNode* temporary = NewMarkupNode(anchor->HeapEnv);
    if (temporary == nullptr) return nullptr;
    if (!Parse(temporary, text, length, comparison)) {
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
