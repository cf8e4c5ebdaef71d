// The block of a parse: its nodes own it together, it goes back to the heap
// exactly once, after its last node, in whatever order and document the
// nodes go; strings set later live on the heap and are released with them.
#include <gtest/gtest.h>

#include <string>

#include "common/counting_env.h"
#include "common/code_page_comparison.h"
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "support/text.h"
#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using tarnwick::testing_support::CountingEnv;
using testing_support::Describe;

TEST(MarkupBlock, ReleasedAfterItsLastNodeWhateverTheOrder) {
    CountingEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    const std::uint64_t empty = env.Live();
    const std::string text = "<a x=\"1\"><b y=\"2\"></b><c z=\"3\">";
    ASSERT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison()));
    EXPECT_EQ(env.Allocations(), 3u);  // the document node, the block, the index
    // Changes go to the heap: a replaced parsed string stays in the block,
    // a replaced heap string is released at once.
    MarkupNode* a = document->GetNext();
    ASSERT_TRUE(SetAttribute(a, "x", "changed"));
    ASSERT_TRUE(SetAttribute(a, "x", "again"));
    ASSERT_TRUE(SetAttribute(a, "new", "value"));
    EXPECT_STREQ(GetAttribute(a, "x"), "again");
    // A fragment of its own block joins the document.
    ASSERT_NE(InsertFragment(a, "<f k=v>", 7, AsciiComparison()), nullptr);
    EXPECT_EQ(Describe(document), "a[x=again new=value],f[k=v],b[y=2](),c[z=3]");

    // Remove the first block's nodes one by one: the block stays until the last.
    MarkupNode* c = a->GetNext()->GetNext()->GetNext();
    RemoveNode(a);
    std::uint64_t live = env.Live();
    RemoveNode(c);
    EXPECT_EQ(env.Live(), live) << "a node's memory is the block's, released with it";
    RemoveNode(document->GetNext()->GetNext());  // b, the block's last node
    EXPECT_LT(env.Live(), live - 100);
    EXPECT_EQ(Describe(document), "f[k=v]");
    Destroy(document);  // takes the fragment's block along
    EXPECT_EQ(env.Live(), 0u);
    (void)empty;
}

TEST(MarkupBlock, DocumentsSharingNodesOfOneBlock) {
    // Nodes of one parse in two documents: the block outlives the first.
    CountingEnv env(platform::Env::Default());
    MarkupNode* first = NewMarkupNode(&env);
    MarkupNode* second = NewMarkupNode(&env);
    ASSERT_TRUE(Parse(first, "<a><b><c>", 9, AsciiComparison()));
    MarkupNode* c = first->GetNext()->GetNext()->GetNext();
    c->Prev->Next = nullptr;  // move c to the second document by hand
    c->Prev = nullptr;
    InsertAfter(second, c);
    Destroy(first);
    EXPECT_STREQ(GetName(second->GetNext()), "c");
    Destroy(second);
    EXPECT_EQ(env.Live(), 0u);
}

TEST(MarkupBlock, ParsedNodeTakesMoreAttributesOnTheHeap) {
    CountingEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    ASSERT_TRUE(Parse(document, "<item a=1 b=2><next c=3>", 24, AsciiComparison()));
    MarkupNode* item = document->GetNext();
    EXPECT_EQ(item->AttributeCapacity, 2);
    ASSERT_TRUE(SetAttribute(item, "a", "replaced"));  // in place, still in the block's room
    EXPECT_EQ(item->AttributeCapacity, 2);
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(SetIntAttribute(item, ("n" + std::to_string(i)).c_str(), i));
    EXPECT_EQ(item->AttributeCapacity, kMaxAttributes);
    EXPECT_FALSE(SetAttribute(item, "full", "x"));
    EXPECT_STREQ(GetAttribute(item, "a"), "replaced");
    EXPECT_STREQ(GetAttribute(item, "b"), "2");
    EXPECT_STREQ(GetAttribute(item, "n29"), "29");
    EXPECT_EQ(Describe(item->GetNext()), "next[c=3]");  // the next node's entries are untouched
    Destroy(document);
    EXPECT_EQ(env.Live(), 0u);
}

TEST(MarkupBlock, DocumentOverTheLimitIsRefusedWhole) {
    CountingEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    ASSERT_TRUE(Parse(document, "<kept>", 6, AsciiComparison()));
    const std::string before = Describe(document);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "<item path=\"C:\\x.txt\">";
    std::uint64_t live = env.Live();
    EXPECT_FALSE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison(), 100 * sizeof(MarkupNode)));
    EXPECT_EQ(Describe(document), before);
    EXPECT_EQ(env.Live(), live);
    EXPECT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison(), 102 * sizeof(MarkupNode) + 4096));
    Destroy(document);
    EXPECT_EQ(env.Live(), 0u);
}

TEST(MarkupBlock, ClosingTagsMatchNamesAboveAsciiTheWayTheComparisonDoes) {
    ::tarnwick::testing_support::CodePageComparison codePage;
    MarkupNode* document = testing_support::ParseText("<\xC0q><\xC1q></\xE0Q><z>", codePage);
    EXPECT_EQ(Describe(document), "\xC0q(\xC1q),z");
    Destroy(document);
    document = testing_support::ParseText("<\xC0q><\xC1q></\xE0Q><z>");
    EXPECT_EQ(Describe(document), "\xC0q,\xC1q,z");
    Destroy(document);
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
