// Markup text to a document: a single forward scan that never fails.
//
// Only tags are read: opening tags with attributes (values in double quotes,
// unquoted, or absent, in which case the name is the value) and closing
// tags. Everything outside tags is skipped. Elements are first read as a flat
// chain of top-level siblings; a closing tag turns the elements read since the
// nearest earlier open element of the same name (ignoring case) into that
// element's children. Names keep at most 15 characters; an element keeps at
// most 32 attributes.
//
// Matching a closing tag costs time proportional to the elements it closes
// (plus those of other names it skips), not to the length of the document.
#pragma once

namespace tarnwick {

class MarkupNode;

// Parses `length` characters of `text` (followed by a zero byte, which may
// be looked at but nothing past it) into a freshly constructed `document`
// node. Always returns true; what memory cannot hold is left out.
bool Parse(MarkupNode* document, const char* text, int length);

// Parses a short piece of markup and links the elements it yields right after
// `anchor`, sharing its parent. Returns the last top-level node inserted, or
// null when the text yields no element or memory runs out.
MarkupNode* InsertFragment(MarkupNode* anchor, const char* text, int length);

}  // namespace tarnwick
