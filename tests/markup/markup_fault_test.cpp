// The parser when memory runs out: whole or nothing at every allocation.
#include <gtest/gtest.h>

#include <string>

#include "common/fault_env.h"
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using testing_support::Describe;
using testing_support::ExpectConsistent;
using tarnwick::testing_support::FaultEnv;

// Enough elements to grow the index of open elements more than once,
// nested ones, attributes and a closing tag that closes many.
std::string SampleText() {
    std::string text = "<list k=1><item type=\"editor\" path=\"C:\\a.txt\" line=\"3\">";
    for (int i = 0; i < 150; ++i) text += "<e" + std::to_string(i % 7) + " a=\"" + std::to_string(i) + "\" b>";
    text += "</e3><\xC0\xE0 x=y></list><tail z=\"1\">";
    return text;
}

// The allocations a fault-free parse of `text` makes.
int CountAllocations(const std::string& text) {
    FaultEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    int before = env.Calls(FaultEnv::Op::Alloc);
    EXPECT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison()));
    int count = env.Calls(FaultEnv::Op::Alloc) - before;
    Destroy(document);
    return count;
}

TEST(MarkupParserFaults, EveryFailedAllocationFailsTheWholeParse) {
    const std::string text = SampleText();
    const int count = CountAllocations(text);
    ASSERT_GT(count, 0);
    for (int n = 1; n <= count; ++n) {
        FaultEnv env(platform::Env::Default());
        MarkupNode* document = NewMarkupNode(&env);
        ASSERT_NE(document, nullptr);
        // A document with an element already: the failed parse must leave it.
        ASSERT_TRUE(Parse(document, "<kept a=\"1\"></kept>", 19, AsciiComparison()));
        const std::string before = Describe(document);
        env.FailAt(FaultEnv::Op::Alloc, n, FaultEnv::Fault::Fail);
        const int calls = env.Calls(FaultEnv::Op::Alloc);
        EXPECT_FALSE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison())) << "allocation " << n;
        EXPECT_GE(env.Calls(FaultEnv::Op::Alloc) - calls, n) << "allocation " << n << " was never made";
        EXPECT_EQ(Describe(document), before) << "allocation " << n;
        ExpectConsistent(document);
        // Nothing is stuck: the same document parses the text afterwards.
        EXPECT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison()));
        EXPECT_GT(ExpectConsistent(document), 150);
        Destroy(document);
    }
}

TEST(MarkupParserFaults, FragmentIsInsertedWholeOrNotAtAll) {
    const std::string fragment = "<item type=\"\"><b x=1>";
    FaultEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    ASSERT_TRUE(Parse(document, "<first>", 7, AsciiComparison()));
    int start = env.Calls(FaultEnv::Op::Alloc);
    MarkupNode* probe = InsertFragment(document, fragment.c_str(), static_cast<int>(fragment.size()), AsciiComparison());
    ASSERT_NE(probe, nullptr);
    const int count = env.Calls(FaultEnv::Op::Alloc) - start;
    ASSERT_GT(count, 0) << "the insert allocated nothing: no site would fail";
    RemoveNode(probe);
    RemoveNode(document->GetNext());
    const std::string before = Describe(document);
    for (int n = 1; n <= count; ++n) {
        env.FailAt(FaultEnv::Op::Alloc, n, FaultEnv::Fault::Fail);
        const int calls = env.Calls(FaultEnv::Op::Alloc);
        EXPECT_EQ(InsertFragment(document, fragment.c_str(), static_cast<int>(fragment.size()), AsciiComparison()), nullptr);
        EXPECT_GE(env.Calls(FaultEnv::Op::Alloc) - calls, n) << "allocation " << n << " was never made";
        EXPECT_EQ(Describe(document), before) << "allocation " << n;
    }
    Destroy(document);
}

// A parsed node that needs a larger attribute array: any of the three
// allocations failing leaves it as it was.
TEST(MarkupParserFaults, AttributeAddedToParsedNodeWholeOrNotAtAll) {
    FaultEnv env(platform::Env::Default());
    MarkupNode* document = NewMarkupNode(&env);
    ASSERT_TRUE(Parse(document, "<item a=\"1\"><next b=2>", 22, AsciiComparison()));
    MarkupNode* item = document->GetNext();
    const std::string before = Describe(document);
    for (int n = 1; n <= 3; ++n) {
        env.FailAt(FaultEnv::Op::Alloc, n, FaultEnv::Fault::Fail);
        const int calls = env.Calls(FaultEnv::Op::Alloc);
        EXPECT_FALSE(SetAttribute(item, "c", "3")) << "allocation " << n;
        EXPECT_GE(env.Calls(FaultEnv::Op::Alloc) - calls, n) << "allocation " << n << " was never made";
        EXPECT_EQ(Describe(document), before) << "allocation " << n;
    }
    EXPECT_TRUE(SetAttribute(item, "c", "3"));
    EXPECT_EQ(Describe(document), "item[a=1 c=3],next[b=2]");
    Destroy(document);
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
