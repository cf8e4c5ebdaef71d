// Helpers for the markup tests: compact descriptions of small trees, a
// structural check of any tree, and documents parsed from strings.
#pragma once

#include <string>

#include "support/case_comparison.h"

namespace tarnwick {
namespace markup {

class MarkupNode;

namespace testing_support {

// Describes `node` and its later siblings: a name (or "_" when empty), its
// attributes as "[name=value ...]", and for a kNodeContainer its children in
// parentheses, "()" when it has none; siblings are separated by ",". A
// document node is left out, so a document describes as its top-level
// elements. Recursive: for small trees only.
std::string Describe(const MarkupNode* node);

// Checks, without recursion, that every node under `document` is linked
// consistently: Prev/Next agree, every child names its parent, every
// ChildCount is the number of children, top-level nodes have no parent, and
// every node with children is a kNodeContainer. Reports failures through
// gtest and returns the number of nodes after the document node.
long long ExpectConsistent(MarkupNode* document);

// A new document parsed from `text` (the string's terminator is the zero
// byte after the text), closing tags matched with `comparison`. Release it
// with ReleaseDocument.
MarkupNode* ParseText(const std::string& text, const CaseComparison& comparison = AsciiComparison());

}  // namespace testing_support
}  // namespace markup
}  // namespace tarnwick
