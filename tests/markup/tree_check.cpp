#include "tree_check.h"

#include <gtest/gtest.h>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"

namespace tarnwick {
namespace markup {
namespace testing_support {

std::string Describe(const MarkupNode* node) {
    std::string out;
    if (node != nullptr && node->Kind == kNodeDocument && node->Prev == nullptr) node = node->Next;
    for (; node != nullptr; node = node->Next) {
        if (!out.empty()) out += ",";
        out += node->Name[0] != '\0' ? node->Name : "_";
        if (node->AttributeCount > 0) {
            out += "[";
            for (int i = 0; i < node->AttributeCount; ++i) {
                if (i > 0) out += " ";
                out += node->Attributes[i].Name;
                out += "=";
                out += node->Attributes[i].Value;
            }
            out += "]";
        }
        if (node->Kind == kNodeContainer) out += "(" + Describe(node->FirstChild) + ")";
    }
    return out;
}

long long ExpectConsistent(MarkupNode* document) {
    long long count = 0;
    int failures = 0;
    for (MarkupNode* node = document->Next; node != nullptr && failures < 5; node = node->GetNextInOrder()) {
        ++count;
        bool ok = true;
        if (node->Prev != nullptr && node->Prev->Next != node) ok = false;
        if (node->Next != nullptr && node->Next->Prev != node) ok = false;
        if (node->Prev == nullptr && node->Parent != nullptr && node->Parent->FirstChild != node) ok = false;
        if (node->Prev == nullptr && node->Parent == nullptr) ok = false;  // only the document heads a chain
        if (node->FirstChild != nullptr) {
            int children = 0;
            for (MarkupNode* child = node->FirstChild; child != nullptr; child = child->Next) {
                if (child->Parent != node) ok = false;
                ++children;
            }
            if (children != node->ChildCount || node->Kind != kNodeContainer) ok = false;
        } else if (node->ChildCount != 0) {
            ok = false;
        }
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "inconsistent links at node " << count << " named '" << node->Name << "'";
        }
    }
    return count;
}

MarkupNode* ParseText(const std::string& text, const CaseComparison& comparison) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    Parse(document, text.c_str(), static_cast<int>(text.size()), comparison);
    return document;
}

}  // namespace testing_support
}  // namespace markup
}  // namespace tarnwick
