#include "markup/markup_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "markup/markup_node.h"
#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using testing_support::Describe;
using testing_support::ExpectConsistent;
using testing_support::ParseText;

// The tree that `text` parses into, described.
std::string Parsed(const std::string& text) {
    MarkupNode* document = ParseText(text);
    EXPECT_EQ(GetKind(document), kNodeDocument);
    ExpectConsistent(document);
    std::string description = Describe(document);
    Destroy(document);
    return description;
}

TEST(MarkupParser, EmptyOrMissingTextLeavesTheDocumentAlone) {
    for (int length : {0, -1, -100}) {
        MarkupNode* document = NewMarkupNode(platform::Env::Default());
        document->Kind = kNodeElement;
        EXPECT_TRUE(Parse(document, "<a>", length, AsciiComparison()));
        EXPECT_EQ(GetKind(document), kNodeDocument);
        EXPECT_EQ(document->GetNext(), nullptr);
        Destroy(document);
    }
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    EXPECT_TRUE(Parse(document, nullptr, 10, AsciiComparison()));
    EXPECT_EQ(document->GetNext(), nullptr);
    Destroy(document);
    EXPECT_TRUE(Parse(nullptr, "<a>", 3, AsciiComparison()));
}

TEST(MarkupParser, OpeningTagsAndAttributeForms) {
    EXPECT_EQ(Parsed("<item path=\"a b.txt\" line=12 overtype>"), "item[path=a b.txt line=12 overtype=overtype]");
    EXPECT_EQ(Parsed("<item a = \"1\">"), "item[a=1]");
    EXPECT_EQ(Parsed("<item a=\"1\"b=\"2\">"), "item[a=1 b=2]");
    EXPECT_EQ(Parsed("<item a='q' b=\"\" c>"), "item[a='q' b= c=c]");
    EXPECT_EQ(Parsed("<item a=\"x>y\">"), "item[a=x>y]");
    EXPECT_EQ(Parsed("<item a=\"v\r\n<b>\t=\">"), "item[a=v\r\n<b>\t=]");
    EXPECT_EQ(Parsed("<i a=b=c/\"d\" e>"), "i[a=b=c/\"d\" e=e]");  // unquoted values keep "=", "/", quotes
    EXPECT_EQ(Parsed("<i a=>"), "i[a=]");
    EXPECT_EQ(Parsed("<i a="), "i[a=]");
    EXPECT_EQ(Parsed("<item =\"x\" k>"), "item[k=k]");  // a value without a name is dropped
    EXPECT_EQ(Parsed("<item/>"), "item/");
    EXPECT_EQ(Parsed("<!-- c -->"), "!--[c=c --=--]");
    EXPECT_EQ(Parsed("<a=\"<x\"=/ y>"), "a=\"<x\"=/[y=y]");  // names may hold "=", quotes, "<" and "/"
    EXPECT_EQ(Parsed("<>"), "_");
    EXPECT_EQ(Parsed("< a>"), "_[a=a]");
}

TEST(MarkupParser, TextOutsideTagsLeavesNoTrace) {
    EXPECT_EQ(Parsed("hello\r\n  <a>\tsome text\r\n\r\n <b x=1>\r\ntrailing"), "a,b[x=1]");
    EXPECT_EQ(Parsed("1 < 2 and 3 > 2 <b>"), "_[2=2 and=and 3=3],b");
    EXPECT_EQ(Parsed(">>> <a> >"), "a");
}

TEST(MarkupParser, UnterminatedQuoteRunsToTheEnd) {
    EXPECT_EQ(Parsed("<item a=\"unterminated>"), "item[a=unterminated>]");
    EXPECT_EQ(Parsed("<item a=\"x> <b> </item>"), "item[a=x> <b> </item>]");
}

TEST(MarkupParser, LongNamesKeepFifteenCharacters) {
    // The rest of a long name is passed over, not read as an attribute.
    EXPECT_EQ(Parsed("<abcdefghijklmnopqrst x=1>"), "abcdefghijklmno[x=1]");
    // A closing name must have the stored name's length to match it.
    EXPECT_EQ(Parsed("<abcdefghijklmnopqrst><b></abcdefghijklmnopqrst>"), "abcdefghijklmno,b");
    EXPECT_EQ(Parsed("<abcdefghijklmnopqrst><b></ABCDEFGHIJKLMNO>"), "abcdefghijklmno(b)");
}

TEST(MarkupParser, AttributeLimitAndWhatFollowsIt) {
    std::string tag = "<item";
    std::string expected = "item[";
    for (int i = 0; i < 40; ++i) {
        tag += " a" + std::to_string(i) + "=" + std::to_string(i);
        if (i < 32) expected += (i ? " a" : "a") + std::to_string(i) + "=" + std::to_string(i);
    }
    EXPECT_EQ(Parsed(tag + ">"), expected + "]");

    // Past the 32nd attribute the rest of the tag is skipped as plain text,
    // so a "<" inside a later quoted value starts a new tag.
    std::string full = "<i";
    for (int i = 0; i < 32; ++i) full += " a";
    std::string head = Parsed(full + ">");
    EXPECT_EQ(head.substr(0, 6), "i[a=a ");
    EXPECT_EQ(Parsed(full + " b=\"<x y>\"><z>"), head + ",x[y=y],z");
    // Exactly 32 attributes end normally at ">".
    EXPECT_EQ(Parsed(full + "><z>"), head + ",z");
}

TEST(MarkupParser, ClosingTagsNestWhatWasReadSinceTheirElement) {
    EXPECT_EQ(Parsed("<a><b></a>"), "a(b)");
    EXPECT_EQ(Parsed("<A></a>"), "A()");
    EXPECT_EQ(Parsed("</x>"), "");
    EXPECT_EQ(Parsed("<a></x>"), "a");
    EXPECT_EQ(Parsed("<a><b><c></b></a>"), "a(b(c))");
    EXPECT_EQ(Parsed("<a><a></a></a>"), "a(a())");
    EXPECT_EQ(Parsed("<a><b></a></b>"), "a(b)");               // crossed: the last closing tag is ignored
    EXPECT_EQ(Parsed("<a></a><b></a>"), "a(),b");              // a closed element is never matched again
    EXPECT_EQ(Parsed("<a x=1><b><a y=2><c></a>"), "a[x=1],b,a[y=2](c)");  // the nearest wins
    EXPECT_EQ(Parsed("<a><b></a junk=\"x\" >  <c>"), "a(b),c");  // anything up to ">" is ignored
    EXPECT_EQ(Parsed("<a><b></ a>"), "a,b");                   // empty closing name matches nothing
    EXPECT_EQ(Parsed("<><b></>"), "_,b");
    EXPECT_EQ(Parsed("<ab><b></a>"), "ab,b");                  // length must match
    EXPECT_EQ(Parsed("<a><b></a"), "a(b)");                    // closing tag cut by the end of text

    MarkupNode* document = ParseText("<p><a><b></b><c></p>");
    MarkupNode* p = document->Next;
    EXPECT_EQ(p->ChildCount, 3);
    EXPECT_EQ(GetKind(p), kNodeContainer);
    EXPECT_EQ(GetKind(p->FirstChild), kNodeElement);
    EXPECT_EQ(GetKind(p->FirstChild->Next), kNodeContainer);
    Destroy(document);
}

// Whether parsing `text` reports something passed over.
bool PassesOver(const std::string& text) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    bool passedOver = false;
    EXPECT_TRUE(Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison(), kDocumentMemoryLimit, &passedOver));
    Destroy(document);
    return passedOver;
}

TEST(MarkupParser, TellsWhetherTheTextReadsBackAsItStands) {
    // What the writer writes, and whitespace around tags, keeps everything.
    const char* const kept[] = {
        "",
        "<item type=\"editor\" path=\"C:\\a.txt\" line=\"1\">\r\n",
        "<group>\r\n <entry n=\"1\">\r\n <entry>\r\n</group>\r\n",
        "\t<a b=c flag>\n\n<a/x y = \"z\" >  ",
        "<</a>",                          // an element named \"</a\"
        "<a b\"c=1>",                     // a quote in a name is written back
        "<abcdefghijklmno>",
    };
    for (const char* text : kept) EXPECT_FALSE(PassesOver(text)) << text;

    const char* const lost[] = {
        "a text file, not markup",
        "<item path=\"a\">\r\nstray\r\n",
        "\xEF\xBB\xBF<item>",            // a byte-order mark
        "< x=1>",                         // empty element name
        "<abcdefghijklmnop>",             // a name cut at 15 characters
        "<a =1>",                         // a value without a name
        "<a b=x\"y>",                     // a quote the writer cannot write
        "<a b=\"unterminated>",
        "<a b=1",                         // the tag never ends
        "<a></b>",                        // a closing tag that matches nothing
        "<a></a x>",
        "<a></a",
        "</>",
    };
    for (const char* text : lost) EXPECT_TRUE(PassesOver(text)) << text;
    EXPECT_TRUE(PassesOver(std::string("<a\0b>", 5)));
    EXPECT_TRUE(PassesOver(std::string("<a b=\"x\0y\">", 12)));

    std::string attributes = "<a";
    for (int i = 0; i < 33; ++i) attributes += " n" + std::to_string(i) + "=\"1\"";
    EXPECT_TRUE(PassesOver(attributes + ">"));
}

TEST(MarkupParser, NeverLooksPastTheGivenLength) {
    // Exact-size heap copies, so that a read past the zero byte is caught
    // under the address sanitizer.
    struct Case {
        std::string text;
        int length;
        const char* expected;
    };
    const Case cases[] = {
        {"<a><", 4, "a"},        // a "<" in the last place is skipped
        {"<a><b>", 3, "a"},      // the rest lies beyond the length
        {"<ab>", 2, "a"},        // the name ends at the end of text
        {"<a x=\"1\">", 7, "a[x=1]"},
        {"<a x=1>", 6, "a[x=1]"},
        {"<a x", 4, "a[x=x]"},
        {"</", 2, ""},
        {"<", 1, ""},
        {"<a></", 5, "a"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<char[]> text(new char[c.length + 1]);
        std::memcpy(text.get(), c.text.data(), c.length);
        text[c.length] = '\0';
        MarkupNode* document = NewMarkupNode(platform::Env::Default());
        Parse(document, text.get(), c.length, AsciiComparison());
        EXPECT_EQ(Describe(document), c.expected) << c.text << " / " << c.length;
        Destroy(document);
    }
}

TEST(MarkupParser, ZeroByteCutsStoredStrings) {
    const char cut[] = "<ab\0cd x=1\0y z=\"p\0q\">";
    EXPECT_EQ(Parsed(std::string(cut, sizeof cut - 1)), "ab[x=1 z=p]");
    // A closing name with a zero byte in it matches nothing.
    const char closing[] = "<ab><c></ab\0>";
    EXPECT_EQ(Parsed(std::string(closing, sizeof closing - 1)), "ab,c");
}

TEST(MarkupParser, ParsingIntoADocumentWithElementsAppends) {
    MarkupNode* document = ParseText("<a><b>");
    Parse(document, "<c></a></c>", 11, AsciiComparison());
    EXPECT_EQ(Describe(document), "a,b,c()");  // earlier elements are not matched
    ExpectConsistent(document);
    Destroy(document);
}

TEST(MarkupParser, InsertFragmentLinksAfterTheAnchor) {
    MarkupNode* document = ParseText("<item type=\"x\" path=\"old\">");
    MarkupNode* added = InsertFragment(document, "<item type=\"\">", 14, AsciiComparison());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(document->GetNext(), added);
    EXPECT_EQ(added->Prev, document);
    EXPECT_EQ(added->Parent, nullptr);
    EXPECT_EQ(Describe(document), "item[type=],item[type=x path=old]");

    EXPECT_EQ(InsertFragment(document, "no tags here", 12, AsciiComparison()), nullptr);
    EXPECT_EQ(InsertFragment(document, "", 0, AsciiComparison()), nullptr);
    EXPECT_EQ(InsertFragment(nullptr, "<a>", 3, AsciiComparison()), nullptr);
    EXPECT_EQ(Describe(document), "item[type=],item[type=x path=old]");

    // Into a child chain: every new top-level node joins the parent.
    Destroy(document);
    document = ParseText("<p><a><z></p>");
    MarkupNode* a = document->Next->FirstChild;
    MarkupNode* last = InsertFragment(a, "<b><c><d></c>", 13, AsciiComparison());
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last->Name, "c");
    EXPECT_EQ(Describe(document), "p(a,b,c(d),z)");
    EXPECT_EQ(document->Next->ChildCount, 4);
    EXPECT_EQ(last->Parent, document->Next);
    ExpectConsistent(document);
    Destroy(document);
}

// A plain model of closing-tag matching: a backward walk over the top-level
// list, as simple as it gets, to check the parser's indexed matching against.
struct ModelNode {
    std::string name;
    bool container = false;
    std::vector<ModelNode> children;
};

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

std::string DescribeModel(const std::vector<ModelNode>& nodes) {
    std::string out;
    for (const ModelNode& node : nodes) {
        if (!out.empty()) out += ",";
        out += node.name.empty() ? "_" : node.name;
        if (node.container) out += "(" + DescribeModel(node.children) + ")";
    }
    return out;
}

TEST(MarkupParser, IndexedClosingTagsMatchTheBackwardWalk) {
    // Names that differ only by case, only above 0x7F (same folded hash,
    // different under the plain comparison), or only past 15 characters.
    const std::vector<std::string> names = {"a",  "A",    "b",      "item", "ITEM", "Item", "\xe9", "\xc9", "\xe9x",
                                            "",   "abcdefghijklmno", "abcdefghijklmnopq"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        std::vector<ModelNode> top;
        int tokens = 1 + static_cast<int>(random() % 60);
        for (int t = 0; t < tokens; ++t) {
            const std::string& name = names[random() % names.size()];
            text += random() % 3 == 0 ? "\r\n " : "";
            if (random() % 2 == 0) {
                text += "<" + name + ">";
                top.push_back(ModelNode{name.substr(0, 15), false, {}});
            } else {
                text += "</" + name + ">";
                for (std::size_t i = top.size(); i-- > 0;) {
                    ModelNode& m = top[i];
                    if (!m.container && !m.name.empty() && SameIgnoringAsciiCase(m.name, name)) {
                        m.children.assign(top.begin() + i + 1, top.end());
                        m.container = true;
                        top.resize(i + 1);
                        break;
                    }
                }
            }
        }
        ASSERT_EQ(Parsed(text), DescribeModel(top)) << "round " << round << ": " << text;
    }
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
