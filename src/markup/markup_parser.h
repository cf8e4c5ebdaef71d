// Markup text to a document: a forward scan that sizes it, and a second
// one that builds it.
//
// Only tags are read: opening tags with attributes (values in double quotes,
// unquoted, or absent, in which case the name is the value) and closing
// tags. Everything outside tags is skipped. Elements are first read as a flat
// chain of top-level siblings; a closing tag turns the elements read since the
// nearest earlier open element of the same name (ignoring case) into that
// element's children. Names keep at most 15 characters (the rest of a longer
// name is passed over, not read as attributes); an element keeps at most 32
// attributes, and the rest of its tag is then skipped like text outside tags.
// A value in double quotes that is never closed runs to the end of the text.
//
// Matching a closing tag costs time proportional to the elements it closes,
// not to the length of the document: open elements are indexed by their
// name folded the way the parse's case comparison folds it
// (support/case_comparison.h), so
// names that compare unequal, characters above 0x7F included, rarely share
// an index slot.
#pragma once

#include <cstdint>

#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {

class MarkupNode;

// The most memory one parse may take for the document it builds (its nodes
// and strings, see markup_block.h): 256 MB in a 32-bit process, well inside
// a host's address space; about 1.2 million items of the usual length. All
// but the strings takes up to twice as much with 64-bit pointers, so 64-bit
// builds allow twice as much and load every file a 32-bit build loads.
constexpr std::uint64_t kDocumentMemoryLimit = (sizeof(void*) > 4 ? 512u : 256u) * 1024u * 1024u;

// Parses `length` characters of `text` (followed by a zero byte, which may
// be looked at but nothing past it) into a freshly constructed `document`
// node; null text or a length of 0 or less reads as empty. Closing tags
// match element names with `comparison`. Given a document
// that already has elements, the new ones are appended after them and only
// the new ones can be closed.
//
// Whole or nothing: the text is scanned once to size the document, which is
// then built in memory allocated beforehand (one block for its nodes and
// strings, one for the index of open elements). When the document would take
// more than `memoryLimit` bytes, or memory runs out, nothing is added, the
// document is as it was, and the result is false. Time and memory are linear
// in the length of the text.
//
// With `passedOver`, a successful parse also tells whether the text held
// anything the document does not keep as it stands, so that writing the
// document would not give the text back (whitespace between tags aside):
// other text outside tags, an empty or cut element name, attributes past
// the limit or without a name, zero bytes, a quote in a value the writer
// cannot express, a closing tag that matches nothing or holds more than a
// name, a tag or quoted value the text ends in. The writer's own text never
// sets it.
bool Parse(MarkupNode* document, const char* text, int length, const CaseComparison& comparison,
           std::uint64_t memoryLimit = kDocumentMemoryLimit, bool* passedOver = nullptr);

// Parses a short piece of markup and links the elements it yields right after
// `anchor`, sharing its parent. Returns the last top-level node inserted, or
// null when the text yields no element or memory runs out.
MarkupNode* InsertFragment(MarkupNode* anchor, const char* text, int length, const CaseComparison& comparison);

}  // namespace markup
}  // namespace tarnwick
