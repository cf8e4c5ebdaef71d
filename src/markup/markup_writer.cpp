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

// Visits `node`, its later siblings and all their descendants in document
// order without recursion: sink.Open(node, depth) before a node's children,
// sink.Close(node, depth) after them. The walk climbs back up through
// Parent links, so it needs no memory of its own however deep the tree is.
// Stops early, returning false, when the sink does.
template <typename Sink>
bool Walk(const MarkupNode* node, std::int64_t depth, Sink& sink) {
    if (node == nullptr) return true;
    std::int64_t level = 0;  // levels below the starting chain
    for (;;) {
        if (!sink.Open(node, depth + level)) return false;
        if (node->FirstChild != nullptr) {
            node = node->FirstChild;
            ++level;
            continue;
        }
        for (;;) {
            if (!sink.Close(node, depth + level)) return false;
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
        std::int64_t nameLength = NameLength(node);
        if (nameLength > 0 && !Add(nameLength + 1)) return false;
        for (int i = 0; i < node->AttributeCount && i < kMaxAttributes; ++i) {
            if (!Add(static_cast<std::int64_t>(StrLength(node->Attributes[i].Name)) + 2)) return false;
            if (!Add(static_cast<std::int64_t>(StrLength(node->Attributes[i].Value)) + 2)) return false;
        }
        return nameLength == 0 || Add(3);
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (node->Kind != kNodeContainer) return true;
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
        if (nameLength > 0 && !(Put("<", 1) && Put(node->Name, nameLength))) return false;
        for (int i = 0; i < node->AttributeCount && i < kMaxAttributes; ++i) {
            const MarkupAttribute& attribute = node->Attributes[i];
            if (!(Put(" ", 1) && Put(attribute.Name) && Put("=\"", 2) && Put(attribute.Value) && Put("\"", 1))) {
                return false;
            }
        }
        return nameLength == 0 || Put(">\r\n", 3);
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (node->Kind != kNodeContainer) return true;
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
