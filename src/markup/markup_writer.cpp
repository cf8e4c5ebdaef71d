#include "markup/markup_writer.h"

#include "markup/markup_node.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace markup {

namespace {

// Length of the node's name, which never runs past its buffer.
std::int64_t NameLength(const MarkupNode* node) {
    std::int64_t length = 0;
    while (length < kNameSize - 1 && node->Name[length] != '\0') ++length;
    return length;
}

std::int64_t Indentation(std::int64_t depth) {
    if (depth <= 0) return 0;
    return depth < kMaxIndent ? depth : kMaxIndent;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool NamesEqual(const MarkupNode* a, const MarkupNode* b) {
    return NameLength(a) == NameLength(b) && CompareNoCaseN(a->Name, b->Name, static_cast<int>(NameLength(a))) == 0;
}

// True when the node's opening tag can be written so that it reads back as
// this node and leaves the rest of the text alone: its name is not empty,
// holds no whitespace or ">" and does not start with "/" (which would make
// it a closing tag). A leaf with the name of its parent container is left
// out as well: the parent's closing tag would close the leaf instead.
bool IsWritable(const MarkupNode* node) {
    std::int64_t length = NameLength(node);
    if (length == 0 || node->Name[0] == '/') return false;
    for (std::int64_t i = 0; i < length; ++i) {
        if (IsSpace(node->Name[i]) || node->Name[i] == '>') return false;
    }
    if (node->Kind != kNodeContainer && node->FirstChild == nullptr && node->Parent != nullptr &&
        NamesEqual(node, node->Parent)) {
        return false;
    }
    return true;
}

// True when the attribute can be written as ` name="value"` and read back
// the same: a name that is not empty and holds no whitespace, ">" or "=",
// and a value without a double quote.
bool IsWritable(const MarkupAttribute& attribute) {
    const char* name = attribute.Name;
    if (name == nullptr || name[0] == '\0') return false;
    for (const char* c = name; *c != '\0'; ++c) {
        if (IsSpace(*c) || *c == '>' || *c == '=') return false;
    }
    for (const char* c = attribute.Value; c != nullptr && *c != '\0'; ++c) {
        if (*c == '"') return false;
    }
    return true;
}

// A node with children gets a closing tag, whatever its kind, so that the
// children read back as its children.
bool HasClosingTag(const MarkupNode* node) { return node->Kind == kNodeContainer || node->FirstChild != nullptr; }

// Visits `node`, its later siblings and all their descendants in document
// order without recursion: sink.Open(node, depth) before a node's children,
// sink.Close(node, depth) after them. A node that cannot be written is
// passed over with everything below it. The walk climbs back up through
// Parent links, so it needs no memory of its own however deep the tree is.
// Stops early, returning false, when the sink does.
template <typename Sink>
bool Walk(const MarkupNode* node, std::int64_t depth, Sink& sink) {
    if (node == nullptr) return true;
    std::int64_t level = 0;  // levels below the starting chain
    for (;;) {
        bool shown = IsWritable(node);
        if (shown) {
            if (!sink.Open(node, depth + level)) return false;
            if (node->FirstChild != nullptr) {
                node = node->FirstChild;
                ++level;
                continue;
            }
        }
        for (;;) {
            if (shown && !sink.Close(node, depth + level)) return false;
            shown = true;  // every node climbed back to was written
            if (node->Next != nullptr) {
                node = node->Next;
                break;
            }
            if (level == 0 || node->Parent == nullptr) return true;
            node = node->Parent;
            --level;
        }
    }
}

// Adds up the lengths of the pieces WriteText produces.
struct Measure {
    std::int64_t Total = 0;

    bool Add(std::int64_t count) {
        Total += count;
        return Total <= kMaxTextSize;
    }

    bool Open(const MarkupNode* node, std::int64_t depth) {
        if (!Add(Indentation(depth))) return false;
        if (!Add(NameLength(node) + 1)) return false;
        for (int i = 0; i < node->AttributeCount && i < kMaxAttributes; ++i) {
            const MarkupAttribute& attribute = node->Attributes[i];
            if (!IsWritable(attribute)) continue;
            if (!Add(static_cast<std::int64_t>(StrLength(attribute.Name)) + 2)) return false;
            if (!Add(static_cast<std::int64_t>(StrLength(attribute.Value)) + 2)) return false;
        }
        return Add(3);
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (!HasClosingTag(node)) return true;
        return Add(Indentation(depth) + 5 + NameLength(node));
    }
};

// Appends pieces to a buffer of `Capacity` bytes, always leaving room for
// the terminator; once a piece does not fit, as much of it as fits is kept
// and nothing more is written.
struct Output {
    char* Buffer;
    std::int64_t Capacity;
    std::int64_t Length = 0;

    // Room for `count` more characters and the terminator, within the
    // writer's limit; what does not fit is cut to what does.
    std::int64_t Room(std::int64_t count) const {
        std::int64_t limit = Capacity - 1 < kMaxTextSize ? Capacity - 1 : kMaxTextSize;
        std::int64_t room = limit - Length;
        if (room < 0) room = 0;
        return count < room ? count : room;
    }

    bool Put(const char* text, std::int64_t count) {
        std::int64_t fits = Room(count);
        if (fits > 0) CopyBytes(Buffer + Length, text, static_cast<std::size_t>(fits));
        Length += fits;
        return fits == count;
    }

    bool Put(const char* text) { return Put(text, static_cast<std::int64_t>(StrLength(text))); }

    bool Spaces(std::int64_t count) {
        std::int64_t fits = Room(count);
        if (fits > 0) FillBytes(Buffer + Length, ' ', static_cast<std::size_t>(fits));
        Length += fits;
        return fits == count;
    }

    bool Open(const MarkupNode* node, std::int64_t depth) {
        if (!Spaces(Indentation(depth))) return false;
        std::int64_t nameLength = NameLength(node);
        if (!(Put("<", 1) && Put(node->Name, nameLength))) return false;
        for (int i = 0; i < node->AttributeCount && i < kMaxAttributes; ++i) {
            const MarkupAttribute& attribute = node->Attributes[i];
            if (!IsWritable(attribute)) continue;
            if (!(Put(" ", 1) && Put(attribute.Name) && Put("=\"", 2) && Put(attribute.Value) && Put("\"", 1))) {
                return false;
            }
        }
        return Put(">\r\n", 3);
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (!HasClosingTag(node)) return true;
        return Spaces(Indentation(depth)) && Put("</", 2) && Put(node->Name, NameLength(node)) && Put(">\r\n", 3);
    }
};

}  // namespace

std::int64_t MeasureText(const MarkupNode* node, int depth) {
    Measure measure;
    if (!Walk(node, depth, measure)) return -1;
    return measure.Total;
}

std::int64_t WriteText(const MarkupNode* node, char* buffer, std::int64_t capacity, int depth) {
    if (buffer == nullptr || capacity <= 0) return -1;
    Output output{buffer, capacity};
    bool complete = Walk(node, depth, output);
    buffer[output.Length] = '\0';
    return complete ? output.Length : -1;
}

}  // namespace markup
}  // namespace tarnwick
