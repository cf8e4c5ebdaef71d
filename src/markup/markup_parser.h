// Markup text to a document: a single forward scan.
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
// case-folded name. Only names that differ in nothing but characters above
// 0x7F (whose case the host's code page decides) share an index entry and
// are told apart one by one.
#pragma once

namespace tarnwick {
namespace markup {

class MarkupNode;

// Parses `length` characters of `text` (followed by a zero byte, which may
// be looked at but nothing past it) into a freshly constructed `document`
// node; null text or a length of 0 or less reads as empty. Given a document
// that already has elements, the new ones are appended after them and only
// the new ones can be closed. Whole or nothing: when memory runs out for any
// part of the text, every element this call made is taken back, the
// document is as it was before the call, and the result is false.
bool Parse(MarkupNode* document, const char* text, int length);

// Parses a short piece of markup and links the elements it yields right after
// `anchor`, sharing its parent. Returns the last top-level node inserted, or
// null when the text yields no element or memory runs out.
MarkupNode* InsertFragment(MarkupNode* anchor, const char* text, int length);

}  // namespace markup
}  // namespace tarnwick
