// The markup document's node: an element with a short name, up to 32
// attributes and links to its parent, its siblings and its first child.
//
// The attributes stand in an array of their own: a node made by
// NewMarkupNode or CreateNode has room for all 32 in its own allocation; a
// node made by the parser has room for exactly those it read, in its
// parse's block, and moves them to an array of 32 on the heap when
// SetAttribute adds one more. Either way Attributes[0 .. AttributeCount-1]
// are the attributes, in order.
//
// A document is a document node (kind kNodeDocument, empty name) followed by
// its top-level elements as its later siblings: the document node's Next is
// the first top-level element, whose Prev is the document node. Top-level
// elements have no Parent. The children of an element form a chain from its
// FirstChild along Next; every child's Parent is the element.
//
// Ownership: the document node owns its whole chain; every node owns its
// children and its attribute strings. A node made by CreateNode, and every
// string that SetAttribute stores, lives on the heap of its environment
// (support/memory.h); the nodes a parse makes and the strings they read
// share that parse's block (markup_block.h), which the last of them to be
// destroyed returns to the heap. Nothing throws.
//
// Destruction and the document-order walks never recurse once per level, so
// a document nested a million levels deep is handled like a flat one.
#pragma once

#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace markup {

struct MarkupBlock;

enum NodeKind : std::int32_t {
    kNodeElement = 1,    // read from an opening tag no closing tag matched; written without one
    kNodeContainer = 2,  // closed by a matching tag, or given a child; written with a closing tag
    kNodeDocument = 3,   // head of a document; the kind of every freshly constructed node
};

constexpr int kNameSize = 16;       // element name: 15 characters and the terminator
constexpr int kMaxAttributes = 32;  // per element, for the parser and SetAttribute alike

struct MarkupAttribute {
    char* Name;   // owned, zero-terminated
    char* Value;  // owned, zero-terminated
};

class MarkupNode {
public:
    MarkupNode();
    virtual ~MarkupNode();

    MarkupNode(const MarkupNode&) = delete;
    MarkupNode& operator=(const MarkupNode&) = delete;

    // The node's virtual operations, in slot order.

    // A new node of `kind`. With a parent it becomes the parent's first
    // child (in front of the others) and the parent becomes kNodeContainer;
    // otherwise, with `after`, it is linked right after that node; otherwise
    // it stays unlinked. Null when out of memory.
    virtual MarkupNode* CreateNode(int kind, MarkupNode* parent, MarkupNode* after);
    // Called by the parser on every new element; does nothing, returns true.
    virtual bool OnCreate();
    virtual MarkupNode* GetParent();
    virtual MarkupNode* GetNext();
    virtual MarkupNode* GetPrev();
    virtual MarkupNode* GetFirstChild();
    // The node before this one in document order (node, children, next sibling).
    virtual MarkupNode* GetPrevInOrder();
    // The node after this one in document order.
    virtual MarkupNode* GetNextInOrder();
    // The head of this node's sibling chain (the document node for a top-level element).
    virtual MarkupNode* GetFirstSibling();
    // The last node in document order among this node, its later siblings
    // and all their descendants.
    virtual MarkupNode* GetLastInOrder();

    char Name[kNameSize];
    MarkupNode* Parent;
    MarkupNode* Next;
    MarkupNode* Prev;
    MarkupNode* FirstChild;
    std::int32_t ChildCount;
    std::int32_t Kind;
    MarkupAttribute* Attributes;     // room for AttributeCapacity entries; null when none
    std::int32_t AttributeCount;
    std::int32_t AttributeCapacity;  // at most kMaxAttributes
    // The environment whose heap holds this node and its strings; the nodes
    // it creates use the same one.
    platform::Env* HeapEnv;
    // The parse block this node and its parsed strings live in, or null for
    // a node of its own on the heap.
    MarkupBlock* Block;
};

// A freshly constructed node on the heap of `env`: kind kNodeDocument,
// empty name, no links, no attributes; null when out of memory or `env` is
// null. A document made from it, and every node it creates, allocates
// through that environment.
MarkupNode* NewMarkupNode(platform::Env* env);

// Links a detached node into the anchor's chain right after the anchor; the
// node shares the anchor's parent, which counts one more child.
void InsertAfter(MarkupNode* anchor, MarkupNode* node);

// Detaches the node from its parent and siblings and releases it with
// everything it owns; a node of kind kNodeDocument takes its later siblings
// with it (a document's whole chain). Null is ignored.
void Destroy(MarkupNode* node);

// Destroy on the node and on each of its later siblings.
void DestroyChain(MarkupNode* node);

// Unlinks the node (repairing its neighbours and its parent) and destroys it
// with its subtree, never with its chain.
void RemoveNode(MarkupNode* node);

NodeKind GetKind(const MarkupNode* node);

// The element's name, or null when it is empty.
const char* GetName(const MarkupNode* node);

// Value of the first attribute whose name equals `name` ignoring the case
// of ASCII letters, or null. The string stays owned by the node. (Attribute
// names are the plug-in's own ASCII names: a name that matches one of them
// under any code page's comparison matches it under this one.)
const char* GetAttribute(const MarkupNode* node, const char* name);

// True when the first attribute named `name` holds a number (ParseNumber),
// which is stored in `*value`. A missing attribute leaves `*value` as it
// was; one that is not a number sets it to 0.
bool GetIntAttribute(const MarkupNode* node, const char* name, std::int32_t* value);

// Replaces the value of the first attribute named `name` (as GetAttribute; the
// stored name becomes the caller's text) or appends a new last attribute.
// False, and nothing changed, when the node already holds 32 attributes or
// memory runs out.
bool SetAttribute(MarkupNode* node, const char* name, const char* value);
// SetAttribute with the decimal text of `value`.
bool SetIntAttribute(MarkupNode* node, const char* name, std::int32_t value);

// For changes of several attributes that must happen whole or not at all:
// everything that can run out of memory is done first (the strings, from
// the heap of the node's environment, and ReserveAttributes), then
// PutAttribute, which cannot fail, puts them in place.
//
// Makes room for `count` attributes (at most kMaxAttributes) without
// changing any; false, and nothing changed, when memory runs out.
bool ReserveAttributes(MarkupNode* node, int count);
// Stores `name` and `value`, strings on the heap of the node's environment
// that the node takes over, as attribute `index`: over the strings of an
// existing one (index below AttributeCount, whose old strings go) or as a
// new last one (index equal to AttributeCount, within the room made).
// Allocates nothing. False, with the strings not taken, for any other index.
bool PutAttribute(MarkupNode* node, int index, char* name, char* value);
// Removes attribute `index` with its strings; the later ones move down one
// place, keeping their order. Allocates nothing. False, with nothing
// changed, for an index that names no attribute.
bool RemoveAttribute(MarkupNode* node, int index);

// Reads a whole text as a number: decimal, "-" decimal, or hexadecimal after
// "0x", "0X", "#" or "$"; taken modulo 2^32 as a signed 32-bit value. A
// prefix with no digits gives 0. False, with `*value` untouched, for an
// empty text or any character that is not a digit of the form.
bool ParseNumber(const char* text, std::int32_t* value);

// Destroys the document that `*holder` holds, if any, and clears the holder.
void ReleaseDocument(MarkupNode** holder);

}  // namespace markup
}  // namespace tarnwick
