#include "markup/markup_writer.h"

#include <cstring>

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

bool NamesEqual(const MarkupNode* a, const MarkupNode* b, const CaseComparison& comparison) {
    return NameLength(a) == NameLength(b) &&
           comparison.CompareN(a->Name, b->Name, static_cast<int>(NameLength(a))) == 0;
}

// True when the node's opening tag can be written so that it reads back as
// this node and leaves the rest of the text alone: its name is not empty,
// holds no whitespace or ">" and does not start with "/" (which would make
// it a closing tag). A leaf with the name of its parent container is left
// out as well: the parent's closing tag would close the leaf instead.
bool IsWritable(const MarkupNode* node, const CaseComparison& comparison) {
    std::int64_t length = NameLength(node);
    if (length == 0 || node->Name[0] == '/') return false;
    for (std::int64_t i = 0; i < length; ++i) {
        if (IsSpace(node->Name[i]) || node->Name[i] == '>') return false;
    }
    if (node->Kind != kNodeContainer && node->FirstChild == nullptr && node->Parent != nullptr &&
        NamesEqual(node, node->Parent, comparison)) {
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
bool Walk(const MarkupNode* node, std::int64_t depth, const CaseComparison& comparison, Sink& sink) {
    if (node == nullptr) return true;
    std::int64_t level = 0;  // levels below the starting chain
    for (;;) {
        bool shown = IsWritable(node, comparison);
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

// Characters that end an attribute's name: the terminator and those that
// make it unwritable (whitespace, ">" and "=").
struct StopTables {
    bool Name[256];
};

constexpr StopTables MakeStopTables() {
    StopTables tables{};
    tables.Name[0] = tables.Name[static_cast<unsigned char>(' ')] = tables.Name[static_cast<unsigned char>('\t')] =
        tables.Name[static_cast<unsigned char>('\r')] = tables.Name[static_cast<unsigned char>('\n')] =
            tables.Name[static_cast<unsigned char>('>')] = tables.Name[static_cast<unsigned char>('=')] = true;
    return tables;
}

constexpr StopTables kStops = MakeStopTables();

inline bool StopsName(char c) { return kStops.Name[static_cast<unsigned char>(c)]; }

// The length of a writable attribute name, or -1 when it is empty or holds
// a character that makes it unwritable (the same rule as IsWritable).
inline std::int64_t WritableNameLength(const char* name) {
    if (name == nullptr) return -1;
    const char* c = name;
    while (!StopsName(*c)) ++c;
    if (*c != '\0' || c == name) return -1;
    return c - name;
}

// The length of a writable attribute value (null counts as empty), or -1
// when it holds a double quote. Values are the long part of a line (the
// paths), so the library's strchr and strlen look at them (both are
// among the functions the shipped DLL may import).
inline std::int64_t WritableValueLength(const char* value) {
    if (value == nullptr) return 0;
    if (std::strchr(value, '"') != nullptr) return -1;
    return static_cast<std::int64_t>(std::strlen(value));
}

// Adds up the lengths of the pieces WriteText produces, a node's opening
// line at a time.
struct Measure {
    std::int64_t Total = 0;

    bool Open(const MarkupNode* node, std::int64_t depth) {
        std::int64_t line = Indentation(depth) + NameLength(node) + 4;  // "<" name ">\r\n"
        int count = node->AttributeCount < kMaxAttributes ? node->AttributeCount : kMaxAttributes;
        for (int i = 0; i < count; ++i) {
            const MarkupAttribute& attribute = node->Attributes[i];
            std::int64_t name = WritableNameLength(attribute.Name);
            if (name < 0) continue;
            std::int64_t value = WritableValueLength(attribute.Value);
            if (value < 0) continue;
            line += name + value + 4;  // ` name="value"`
        }
        Total += line;
        return Total <= kMaxTextSize;
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (!HasClosingTag(node)) return true;
        Total += Indentation(depth) + 5 + NameLength(node);
        return Total <= kMaxTextSize;
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

// Writes like Output, straight into the buffer a node's line at a time,
// checking the room per byte and an attribute's writability while copying
// it (a copied attribute that turns out unwritable is taken back). When a
// line does not fit, it is written again by Output from its start, which
// keeps exactly the prefix that Output alone would have left.
struct FastOutput {
    char* Buffer;
    char* Cursor;
    char* End;  // where the room ends: the terminator's place at the latest

    FastOutput(char* buffer, std::int64_t capacity) : Buffer(buffer), Cursor(buffer) {
        std::int64_t limit = capacity - 1 < kMaxTextSize ? capacity - 1 : kMaxTextSize;
        End = buffer + limit;
    }

    std::int64_t Length() const { return Cursor - Buffer; }

    // The careful writer from `start`, for a line that does not fit.
    bool Careful(char* start, const MarkupNode* node, std::int64_t depth, bool opening) {
        Output output{Buffer, End - Buffer + 1, start - Buffer};
        bool complete = opening ? output.Open(node, depth) : output.Close(node, depth);
        Cursor = Buffer + output.Length;
        return complete;
    }

    bool Open(const MarkupNode* node, std::int64_t depth) {
        char* start = Cursor;
        char* p = Cursor;
        std::int64_t indent = Indentation(depth);
        std::int64_t nameLength = NameLength(node);
        if (End - p < indent + 1 + nameLength) return Careful(start, node, depth, true);
        for (std::int64_t i = 0; i < indent; ++i) *p++ = ' ';
        *p++ = '<';
        for (std::int64_t i = 0; i < nameLength; ++i) *p++ = node->Name[i];
        int count = node->AttributeCount < kMaxAttributes ? node->AttributeCount : kMaxAttributes;
        for (int i = 0; i < count; ++i) {
            const MarkupAttribute& attribute = node->Attributes[i];
            const char* name = attribute.Name;
            if (name == nullptr || StopsName(*name)) continue;  // empty or unwritable at once
            char* mark = p;
            if (p == End) return Careful(start, node, depth, true);
            *p++ = ' ';
            while (!StopsName(*name)) {
                if (p == End) return Careful(start, node, depth, true);
                *p++ = *name++;
            }
            if (*name != '\0') {
                p = mark;
                continue;
            }
            if (End - p < 2) return Careful(start, node, depth, true);
            *p++ = '=';
            *p++ = '"';
            // The value is copied and checked for a quote in one pass: most
            // values are a few digits, for which calls into the library
            // would cost more than the copy.
            const char* value = attribute.Value != nullptr ? attribute.Value : "";
            while (*value != '\0' && *value != '"') {
                if (p == End) return Careful(start, node, depth, true);
                *p++ = *value++;
            }
            if (*value == '"') {
                p = mark;
                continue;
            }
            if (p == End) return Careful(start, node, depth, true);
            *p++ = '"';
        }
        if (End - p < 3) return Careful(start, node, depth, true);
        *p++ = '>';
        *p++ = '\r';
        *p++ = '\n';
        Cursor = p;
        return true;
    }

    bool Close(const MarkupNode* node, std::int64_t depth) {
        if (!HasClosingTag(node)) return true;
        char* p = Cursor;
        std::int64_t indent = Indentation(depth);
        std::int64_t nameLength = NameLength(node);
        if (End - p < indent + 5 + nameLength) return Careful(p, node, depth, false);
        for (std::int64_t i = 0; i < indent; ++i) *p++ = ' ';
        *p++ = '<';
        *p++ = '/';
        for (std::int64_t i = 0; i < nameLength; ++i) *p++ = node->Name[i];
        *p++ = '>';
        *p++ = '\r';
        *p++ = '\n';
        Cursor = p;
        return true;
    }
};

}  // namespace

std::int64_t MeasureText(const MarkupNode* node, int depth, const CaseComparison& comparison) {
    Measure measure;
    if (!Walk(node, depth, comparison, measure)) return -1;
    return measure.Total;
}

std::int64_t WriteText(const MarkupNode* node, char* buffer, std::int64_t capacity, int depth,
                       const CaseComparison& comparison) {
    if (buffer == nullptr || capacity <= 0) return -1;
    FastOutput output(buffer, capacity);
    bool complete = Walk(node, depth, comparison, output);
    buffer[output.Length()] = '\0';
    return complete ? output.Length() : -1;
}

}  // namespace markup
}  // namespace tarnwick
