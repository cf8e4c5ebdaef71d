#include "markup/markup_node.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using testing_support::Describe;
using testing_support::ExpectConsistent;
using testing_support::ParseText;

// A document with top-level elements named by `names`, in that order.
MarkupNode* DocumentOf(const std::vector<const char*>& names) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* last = document;
    for (const char* name : names) {
        last = document->CreateNode(kNodeElement, nullptr, last);
        std::snprintf(last->Name, kNameSize, "%s", name);
    }
    return document;
}

TEST(MarkupNode, FreshNodeIsAnEmptyDocument) {
    MarkupNode* node = NewMarkupNode(platform::Env::Default());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(GetKind(node), kNodeDocument);
    EXPECT_EQ(GetName(node), nullptr);
    EXPECT_EQ(node->GetParent(), nullptr);
    EXPECT_EQ(node->GetNext(), nullptr);
    EXPECT_EQ(node->GetPrev(), nullptr);
    EXPECT_EQ(node->GetFirstChild(), nullptr);
    EXPECT_EQ(node->ChildCount, 0);
    EXPECT_EQ(node->AttributeCount, 0);
    EXPECT_TRUE(node->OnCreate());
    EXPECT_EQ(node->GetFirstSibling(), node);
    EXPECT_EQ(node->GetLastInOrder(), node);
    EXPECT_EQ(node->GetNextInOrder(), nullptr);
    EXPECT_EQ(node->GetPrevInOrder(), nullptr);
    Destroy(node);
}

TEST(MarkupNode, CreateNodeLinksChildrenInFrontAndSiblingsAfter) {
    MarkupNode* document = DocumentOf({"p"});
    MarkupNode* parent = document->Next;
    MarkupNode* first = document->CreateNode(kNodeElement, parent, nullptr);
    std::snprintf(first->Name, kNameSize, "first");
    MarkupNode* second = document->CreateNode(kNodeElement, parent, document);  // `after` is ignored
    std::snprintf(second->Name, kNameSize, "second");
    EXPECT_EQ(Describe(document), "p(second,first)");
    EXPECT_EQ(GetKind(parent), kNodeContainer);
    EXPECT_EQ(parent->ChildCount, 2);
    EXPECT_EQ(document->Next, parent);
    EXPECT_EQ(parent->Next, nullptr);

    // With only `after`, the node joins the anchor's chain and parent.
    MarkupNode* third = document->CreateNode(kNodeElement, nullptr, second);
    std::snprintf(third->Name, kNameSize, "third");
    EXPECT_EQ(Describe(document), "p(second,third,first)");
    EXPECT_EQ(third->Parent, parent);
    EXPECT_EQ(parent->ChildCount, 3);

    // With neither, it stays detached.
    MarkupNode* loose = document->CreateNode(kNodeContainer, nullptr, nullptr);
    EXPECT_EQ(loose->Kind, kNodeContainer);
    EXPECT_EQ(loose->Prev, nullptr);
    EXPECT_EQ(loose->Next, nullptr);
    EXPECT_EQ(loose->Parent, nullptr);
    Destroy(loose);

    EXPECT_EQ(ExpectConsistent(document), 4);
    Destroy(document);
}

TEST(MarkupNode, RemoveRepairsNeighboursAndParent) {
    MarkupNode* document = ParseText("<p><a><b><c></p><x><y><z>");
    ASSERT_EQ(Describe(document), "p(a,b,c),x,y,z");
    MarkupNode* p = document->Next;

    RemoveNode(p->FirstChild);  // the second child becomes the first
    EXPECT_EQ(Describe(document), "p(b,c),x,y,z");
    EXPECT_EQ(p->FirstChild->Prev, nullptr);
    RemoveNode(p->FirstChild->Next);
    RemoveNode(p->FirstChild);
    EXPECT_EQ(Describe(document), "p(),x,y,z");
    EXPECT_EQ(GetKind(p), kNodeContainer);
    EXPECT_EQ(p->ChildCount, 0);
    EXPECT_EQ(p->FirstChild, nullptr);

    MarkupNode* y = p->Next->Next;
    RemoveNode(y);  // joins x and z across the gap
    EXPECT_EQ(Describe(document), "p(),x,z");
    RemoveNode(document->Next->Next->Next);  // the last one
    RemoveNode(document->Next);              // the first one: the document heads the rest
    EXPECT_EQ(Describe(document), "x");
    EXPECT_EQ(document->Next->Prev, document);
    EXPECT_EQ(ExpectConsistent(document), 1);
    Destroy(document);
}

TEST(MarkupNode, DestroyAndDestroyChainKeepCountsRight) {
    MarkupNode* document = ParseText("<p><a><b></b><c><d><e></p><x>");
    ASSERT_EQ(Describe(document), "p(a,b(),c,d,e),x");
    MarkupNode* p = document->Next;

    Destroy(p->FirstChild->Next);  // b, a middle child
    EXPECT_EQ(Describe(document), "p(a,c,d,e),x");
    EXPECT_EQ(p->ChildCount, 4);

    DestroyChain(p->FirstChild->Next->Next);  // d and e
    EXPECT_EQ(Describe(document), "p(a,c),x");
    EXPECT_EQ(p->ChildCount, 2);

    DestroyChain(p->FirstChild);  // all the rest
    EXPECT_EQ(Describe(document), "p(),x");
    EXPECT_EQ(p->ChildCount, 0);
    EXPECT_EQ(p->FirstChild, nullptr);
    ExpectConsistent(document);

    Destroy(nullptr);
    DestroyChain(nullptr);
    Destroy(document);  // the whole chain goes with it (checked for leaks under ASan)
}

TEST(MarkupNode, DocumentHeadsItsTopLevelChain) {
    MarkupNode* empty = NewMarkupNode(platform::Env::Default());
    EXPECT_EQ(empty->GetNext(), nullptr);
    ReleaseDocument(&empty);
    EXPECT_EQ(empty, nullptr);
    ReleaseDocument(&empty);
    ReleaseDocument(nullptr);

    MarkupNode* document = DocumentOf({"one", "two"});
    MarkupNode* one = document->GetNext();
    ASSERT_NE(one, nullptr);
    EXPECT_STREQ(GetName(one), "one");
    EXPECT_EQ(one->GetPrev(), document);
    EXPECT_EQ(one->GetParent(), nullptr);
    EXPECT_EQ(one->Next->GetFirstSibling(), document);
    ReleaseDocument(&document);
    EXPECT_EQ(document, nullptr);
}

TEST(MarkupNode, DocumentOrderWalksAgreeBothWays) {
    MarkupNode* document = ParseText("<a><b><c></c><d></b><e></a><f><g><h></g>");
    ASSERT_EQ(Describe(document), "a(b(c(),d),e),f,g(h)");
    std::string forward;
    MarkupNode* last = document;
    for (MarkupNode* node = document->GetNextInOrder(); node != nullptr; node = node->GetNextInOrder()) {
        forward += node->Name;
        last = node;
    }
    EXPECT_EQ(forward, "abcdefgh");
    EXPECT_EQ(document->GetLastInOrder(), last);
    std::string backward;
    for (MarkupNode* node = last; node != document; node = node->GetPrevInOrder()) backward = node->Name + backward;
    EXPECT_EQ(backward, forward);
    EXPECT_EQ(document->Next->GetPrevInOrder(), document);
    // From a child, the last node covers its later siblings' subtrees but not the parent's siblings.
    MarkupNode* b = document->Next->FirstChild;
    EXPECT_STREQ(b->GetLastInOrder()->Name, "e");
    EXPECT_STREQ(b->FirstChild->GetLastInOrder()->Name, "d");
    EXPECT_EQ(b->Next->GetFirstSibling(), b);
    Destroy(document);
}

TEST(MarkupNode, SetAttributeReplacesFirstOrAppendsUpToTheLimit) {
    MarkupNode* node = ParseText("<item line=1 other=x LINE=2>");
    MarkupNode* item = node->Next;
    EXPECT_STREQ(GetAttribute(item, "line"), "1");
    EXPECT_STREQ(GetAttribute(item, "Other"), "x");
    EXPECT_EQ(GetAttribute(item, "missing"), nullptr);

    // Only the first of two attributes of one name is seen and replaced; the
    // stored name becomes the caller's.
    EXPECT_TRUE(SetAttribute(item, "Line", "7"));
    EXPECT_EQ(Describe(node), "item[Line=7 other=x LINE=2]");

    EXPECT_TRUE(SetIntAttribute(item, "n", -5));
    EXPECT_STREQ(GetAttribute(item, "n"), "-5");
    EXPECT_TRUE(SetIntAttribute(item, "n", INT_MIN));
    EXPECT_STREQ(GetAttribute(item, "n"), "-2147483648");
    EXPECT_TRUE(SetAttribute(item, "empty", ""));
    EXPECT_STREQ(GetAttribute(item, "empty"), "");

    while (item->AttributeCount < kMaxAttributes - 1) {
        ASSERT_TRUE(SetAttribute(item, ("a" + std::to_string(item->AttributeCount)).c_str(), "v"));
    }
    EXPECT_TRUE(SetAttribute(item, "last", "32nd"));  // 31 held: appends the 32nd
    EXPECT_EQ(item->AttributeCount, kMaxAttributes);
    EXPECT_FALSE(SetAttribute(item, "more", "v"));
    EXPECT_FALSE(SetAttribute(item, "line", "9"));  // full: even an existing name is refused
    EXPECT_FALSE(SetIntAttribute(item, "line", 9));
    EXPECT_STREQ(GetAttribute(item, "line"), "7");
    EXPECT_STREQ(GetAttribute(item, "last"), "32nd");
    Destroy(node);
}

TEST(MarkupNode, GetIntAttributeReadsTheFirstOfAName) {
    MarkupNode* document = ParseText("<item a=abc b=0x10 b=3 c=-1>");
    MarkupNode* item = document->Next;
    std::int32_t value = 99;
    EXPECT_FALSE(GetIntAttribute(item, "missing", &value));
    EXPECT_EQ(value, 99);
    EXPECT_FALSE(GetIntAttribute(item, "a", &value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(GetIntAttribute(item, "B", &value));
    EXPECT_EQ(value, 16);
    EXPECT_TRUE(GetIntAttribute(item, "c", &value));
    EXPECT_EQ(value, -1);
    Destroy(document);
}

TEST(MarkupNode, ParseNumberReadsDecimalAndHexadecimalFormsModulo2To32) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"42", true, 42},
        {"-42", true, -42},
        {"007", true, 7},
        {"0", true, 0},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"#1f", true, 31},
        {"$1F", true, 31},
        {"$FFFFFFFF", true, -1},
        {"0x7fffffff", true, INT_MAX},
        {"0x80000000", true, INT_MIN},
        {"0x123456789", true, 591751049},
        {"4294967297", true, 1},
        {"2147483648", true, INT_MIN},
        {"-2147483648", true, INT_MIN},
        {"-4294967295", true, 1},
        {"-", true, 0},
        {"#", true, 0},
        {"$", true, 0},
        {"0x", true, 0},
        {"", false, 0},
        {"+1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1.5", false, 0},
        {"-0x10", false, 0},
        {"0x1G", false, 0},
        {"--1", false, 0},
        {"12a", false, 0},
        {"#-1", false, 0},
        {"0x0x1", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(ParseNumber(c.text, &value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 12345) << '"' << c.text << '"';
    }
    std::int32_t value = 5;
    EXPECT_FALSE(ParseNumber(nullptr, &value));
    EXPECT_EQ(value, 5);
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
