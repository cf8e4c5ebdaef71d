// Documents nested a million levels deep and chains a million long: every
// walk, measure, write and destruction must get through them on a small
// stack.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"

namespace tarnwick {
namespace markup {
namespace {

constexpr int kLevels = 1000000;

// A million nodes take more than a document may hold by default (a host
// refuses such a file); these tests are about depth, so they lift the limit.
constexpr std::uint64_t kNoLimit = std::uint64_t(1) << 40;

// Size of the text of `levels` nested containers named "a" at depth 0.
std::int64_t NestedSize(std::int64_t levels) {
    std::int64_t size = 0;
    for (std::int64_t i = 0; i < levels; ++i) size += 2 * (i < kMaxIndent ? i : kMaxIndent) + 5 + 6;
    return size;
}

// Follows FirstChild from the first top-level element and checks that the
// document is `levels` containers, each holding the next; returns the
// innermost.
MarkupNode* ExpectNested(MarkupNode* document, int levels) {
    MarkupNode* node = document->Next;
    int depth = 0;
    int wrong = 0;
    for (; node != nullptr; ++depth) {
        bool innermost = depth == levels - 1;
        if (node->Kind != kNodeContainer || node->ChildCount != (innermost ? 0 : 1) ||
            (depth > 0 && node->Parent->FirstChild != node)) {
            ++wrong;
        }
        if (node->FirstChild == nullptr) break;
        node = node->FirstChild;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(depth, levels - 1);
    return node;
}

std::string WriteAll(const MarkupNode* document) {
    std::int64_t size = MeasureText(document, 0, AsciiComparison());
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    EXPECT_EQ(WriteText(document, buffer.data(), size + 1, 0, AsciiComparison()), size);
    EXPECT_EQ(static_cast<std::int64_t>(std::strlen(buffer.data())), size);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

TEST(MarkupDeep, ParsedMillionLevelsWalkWriteAndReadBack) {
    std::string text;
    text.reserve(7u * kLevels);
    for (int i = 0; i < kLevels; ++i) text += "<a>";
    for (int i = 0; i < kLevels; ++i) text += "</a>";
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    ASSERT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison(), kNoLimit));
    std::string().swap(text);

    MarkupNode* innermost = ExpectNested(document, kLevels);
    EXPECT_EQ(document->GetLastInOrder(), innermost);
    EXPECT_EQ(innermost->GetNextInOrder(), nullptr);
    int forward = 0;
    for (MarkupNode* node = document->GetNextInOrder(); node != nullptr; node = node->GetNextInOrder()) ++forward;
    EXPECT_EQ(forward, kLevels);
    int backward = 0;
    for (MarkupNode* node = innermost; node != document; node = node->GetPrevInOrder()) ++backward;
    EXPECT_EQ(backward, kLevels);

    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), NestedSize(kLevels));
    std::string written = WriteAll(document);
    Destroy(document);

    document = NewMarkupNode(platform::Env::Default());
    ASSERT_TRUE(Parse(document, written.c_str(), static_cast<int>(written.size()), AsciiComparison(), kNoLimit));
    std::string().swap(written);
    ExpectNested(document, kLevels);
    Destroy(document);
}

TEST(MarkupDeep, BuiltMillionLevelsWalkAndRemove) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* top = document->CreateNode(kNodeElement, nullptr, document);
    std::snprintf(top->Name, kNameSize, "a");
    MarkupNode* innermost = top;
    for (int i = 1; i < kLevels; ++i) {
        innermost = document->CreateNode(kNodeContainer, innermost, nullptr);
        std::snprintf(innermost->Name, kNameSize, "a");
        SetIntAttribute(innermost, "n", i);
    }
    MarkupNode* after = document->CreateNode(kNodeElement, nullptr, top);
    std::snprintf(after->Name, kNameSize, "b");

    // Across a million levels, in both directions.
    EXPECT_EQ(after->GetPrevInOrder(), innermost);
    EXPECT_EQ(innermost->GetNextInOrder(), after);
    EXPECT_EQ(document->GetLastInOrder(), after);
    EXPECT_EQ(top->FirstChild->GetLastInOrder(), innermost);
    EXPECT_EQ(innermost->GetFirstSibling(), innermost);
    EXPECT_GT(MeasureText(document, 0, AsciiComparison()), NestedSize(kLevels));

    RemoveNode(top);  // a million levels go; the chain closes over the gap
    EXPECT_EQ(document->Next, after);
    EXPECT_EQ(after->Prev, document);
    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), 5);

    // Releasing the document takes a million-deep element along.
    MarkupNode* node = document->CreateNode(kNodeElement, nullptr, after);
    for (int i = 1; i < kLevels; ++i) node = document->CreateNode(kNodeElement, node, nullptr);
    ReleaseDocument(&document);
    EXPECT_EQ(document, nullptr);
}

TEST(MarkupDeep, AMillionSiblingsAreCountedMeasuredAndCutWithoutRecursion) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* parent = document->CreateNode(kNodeContainer, nullptr, document);
    std::snprintf(parent->Name, kNameSize, "p");
    MarkupNode* child = document->CreateNode(kNodeElement, parent, nullptr);
    std::snprintf(child->Name, kNameSize, "c");
    MarkupNode* middle = nullptr;
    for (int i = 1; i < kLevels; ++i) {
        child = document->CreateNode(kNodeElement, nullptr, child);
        std::snprintf(child->Name, kNameSize, "c");
        if (i == kLevels / 2) middle = child;
    }
    EXPECT_EQ(parent->ChildCount, kLevels);
    // Each child is the line " <c>" and CR LF.
    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), 5 + 6 * static_cast<std::int64_t>(kLevels) + 6);
    EXPECT_EQ(parent->FirstChild->GetLastInOrder(), child);

    DestroyChain(middle);
    EXPECT_EQ(parent->ChildCount, kLevels / 2);
    int remaining = 0;
    for (MarkupNode* node = parent->FirstChild; node != nullptr; node = node->Next) ++remaining;
    EXPECT_EQ(remaining, kLevels / 2);

    // A million top-level elements go with the document node.
    MarkupNode* top = document;
    for (int i = 0; i < kLevels; ++i) top = document->CreateNode(kNodeElement, nullptr, top);
    Destroy(document);
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
