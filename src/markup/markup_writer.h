// A document back to markup text, in two passes: MeasureText computes the
// exact size, the caller allocates it plus one byte, WriteText fills it.
//
// Each element's opening tag with all its attributes takes one line; a
// kNodeContainer adds a closing-tag line; lines end in CR LF. Children are
// indented one space per level, up to kMaxIndent spaces: deeper levels keep
// that indentation, which the parser skips, so the text still reads back into
// the same tree while its size stays linear in the number of nodes.
//
// What the text cannot express is left out, so that it never changes how
// the rest of the text reads: an element whose name is empty, holds
// whitespace or ">" or starts with "/" (with everything below it), a leaf
// named like its parent container (whose closing tag would close the leaf),
// and an attribute whose name is empty or holds whitespace, ">" or "=", or
// whose value holds a double quote. Such content is lost on a save; the
// parser never produces it from the writer's own text.
//
// Neither pass recurses once per level.
#pragma once

#include <cstdint>

#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {

class MarkupNode;

constexpr int kMaxIndent = 32;

// The largest text the writer will produce; a document whose text would be
// longer cannot be saved.
constexpr std::int64_t kMaxTextSize = 0x7FFFFFFE;

// The number of characters WriteText produces for `node`, its later siblings
// and all their descendants at `depth` (terminator not counted), or -1 when
// that exceeds kMaxTextSize. A depth below 0 indents like 0. Names compare
// with `comparison`, the one the text will be parsed with (a leaf named
// like its parent is left out, see IsWritable).
std::int64_t MeasureText(const MarkupNode* node, int depth, const CaseComparison& comparison);

// Writes that text into `buffer`, which holds `capacity` bytes, and a
// terminating zero after it. Never writes past `capacity`. Returns the number
// of characters written, or -1 when the text and its terminator do not fit
// (the buffer then holds a terminated prefix).
std::int64_t WriteText(const MarkupNode* node, char* buffer, std::int64_t capacity, int depth,
                       const CaseComparison& comparison);

}  // namespace markup
}  // namespace tarnwick
