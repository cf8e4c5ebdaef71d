#include "markup/markup_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using testing_support::Describe;
using testing_support::ParseText;

// Measures and writes `node` at `depth` into an exactly sized zero-filled
// buffer, checking that the count, the measure and the first zero byte agree.
std::string Written(const MarkupNode* node, int depth = 0) {
    std::int64_t size = MeasureText(node, depth, AsciiComparison());
    EXPECT_GE(size, 0);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    EXPECT_EQ(WriteText(node, buffer.data(), size + 1, depth, AsciiComparison()), size);
    EXPECT_EQ(static_cast<std::int64_t>(std::strlen(buffer.data())), size);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

MarkupNode* AddNode(MarkupNode* document, int kind, MarkupNode* parent, MarkupNode* after, const char* name) {
    MarkupNode* node = document->CreateNode(kind, parent, after);
    std::snprintf(node->Name, kNameSize, "%s", name);
    return node;
}

TEST(MarkupWriter, AnEmptyDocumentWritesNothingButTheTerminator) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), 0);
    char buffer[4] = {'\0', 'x', 'x', 'x'};
    EXPECT_EQ(WriteText(document, buffer, sizeof buffer, 0, AsciiComparison()), 0);
    EXPECT_EQ(buffer[0], '\0');
    Destroy(document);
}

TEST(MarkupWriter, AContainerIndentsItsChildrenAndClosesOnItsOwnLine) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* group = AddNode(document, kNodeContainer, nullptr, document, "group");
    MarkupNode* second = AddNode(document, kNodeElement, group, nullptr, "entry");
    MarkupNode* first = AddNode(document, kNodeElement, group, nullptr, "entry");
    SetAttribute(first, "n", "1");
    (void)second;
    EXPECT_EQ(Written(document), "<group>\r\n <entry n=\"1\">\r\n <entry>\r\n</group>\r\n");
    EXPECT_EQ(Written(document).size(), 45u);
    Destroy(document);
}

TEST(MarkupWriter, AnElementIsOneLineWithItsAttributesInOrder) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* item = AddNode(document, kNodeElement, nullptr, document, "item");
    SetAttribute(item, "type", "editor");
    SetAttribute(item, "path", "a.txt");
    EXPECT_EQ(Written(document), "<item type=\"editor\" path=\"a.txt\">\r\n");
    EXPECT_EQ(Written(document).size(), 35u);
    Destroy(document);
}

// Each parsed text and what the writer makes of it.
struct ShapeCase {
    const char* text;
    const char* written;
};

void ExpectWritten(const std::vector<ShapeCase>& cases) {
    for (const ShapeCase& c : cases) {
        MarkupNode* document = ParseText(c.text);
        EXPECT_EQ(Written(document), c.written) << c.text;
        Destroy(document);
    }
}

TEST(MarkupWriter, NestedContainersIndentOneSpacePerLevel) {
    ExpectWritten({
        {"<a></a>", "<a>\r\n</a>\r\n"},
        {"<a><b><c></c></b></a>", "<a>\r\n <b>\r\n  <c>\r\n  </c>\r\n </b>\r\n</a>\r\n"},
        {"<a><b><c></b></a>", "<a>\r\n <b>\r\n  <c>\r\n </b>\r\n</a>\r\n"},
    });
}

TEST(MarkupWriter, AttributesAreWrittenQuotedAsReadAndInTheirOrder) {
    ExpectWritten({
        {"<item hidden>", "<item hidden=\"hidden\">\r\n"},
        {"<i a=1 A=2 a=3>", "<i a=\"1\" A=\"2\" a=\"3\">\r\n"},
        {"<i v=\"a\r\n<b> c=d\">", "<i v=\"a\r\n<b> c=d\">\r\n"},
    });
}

// An element without a name cannot be written: it is left out with
// everything below it, so that the rest reads back as it stands.
TEST(MarkupWriter, AnElementWithoutANameIsLeftOutWithItsChildren) {
    ExpectWritten({
        {"< x=1 y=2><b>", "<b>\r\n"},
        {"<a><><b></a>", "<a>\r\n <b>\r\n</a>\r\n"},
    });
}

TEST(MarkupWriter, LeavesOutWhatTheTextCannotExpress) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* kept = AddNode(document, kNodeElement, nullptr, document, "item");
    SetAttribute(kept, "type", "editor");
    SetAttribute(kept, "", "empty name");
    SetAttribute(kept, "a b", "space in the name");
    SetAttribute(kept, "a=b", "equals in the name");
    SetAttribute(kept, "a>b", "angle in the name");
    SetAttribute(kept, "q", "a \"quoted\" value");
    SetAttribute(kept, "path", "C:\\x.txt");
    kept->Attributes[1].Name[0] = '\0';
    // Elements whose tag cannot be written, the first with a child.
    MarkupNode* unnamed = AddNode(document, kNodeContainer, nullptr, kept, "");
    AddNode(document, kNodeElement, unnamed, nullptr, "child");
    MarkupNode* slash = AddNode(document, kNodeElement, nullptr, unnamed, "/x");
    MarkupNode* spaced = AddNode(document, kNodeElement, nullptr, slash, "a b");
    // A leaf named like its container: the container's closing tag would
    // close the leaf.
    MarkupNode* group = AddNode(document, kNodeContainer, nullptr, spaced, "g");
    AddNode(document, kNodeElement, group, nullptr, "G");
    AddNode(document, kNodeElement, nullptr, group, "last");

    const std::string written = Written(document);
    EXPECT_EQ(written, "<item type=\"editor\" path=\"C:\\x.txt\">\r\n<g>\r\n</g>\r\n<last>\r\n");
    MarkupNode* reread = ParseText(written);
    EXPECT_EQ(Written(reread), written);
    Destroy(reread);
    Destroy(document);
}

// Every other kind of whitespace in an attribute name is left out too; a
// double quote in a name reads back as it is, so such a name is written.
TEST(MarkupWriter, AttributeNamesWithOtherWhitespaceOrQuotes) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* item = AddNode(document, kNodeElement, nullptr, document, "item");
    SetAttribute(item, "a\tb", "tab");
    SetAttribute(item, "a\rb", "return");
    SetAttribute(item, "a\nb", "line feed");
    SetAttribute(item, "q\"", "quote in the name");
    SetAttribute(item, "\"", "only a quote");
    SetAttribute(item, "v", "it's <fine> = here");
    const std::string written = Written(document);
    EXPECT_EQ(written, "<item q\"=\"quote in the name\" \"=\"only a quote\" v=\"it's <fine> = here\">\r\n");
    MarkupNode* reread = ParseText(written);
    EXPECT_EQ(Written(reread), written);
    EXPECT_STREQ(GetAttribute(reread->GetNext(), "q\""), "quote in the name");
    Destroy(reread);
    Destroy(document);
}

TEST(MarkupWriter, IndentationFollowsTheDepthUpToTheCap) {
    MarkupNode* document = ParseText("<a><b></a>");
    EXPECT_EQ(Written(document->Next, 2), "  <a>\r\n   <b>\r\n  </a>\r\n");
    EXPECT_EQ(Written(document->Next, -3), "<a>\r\n<b>\r\n</a>\r\n");  // no indentation below 0
    std::string cap(kMaxIndent, ' ');
    EXPECT_EQ(Written(document->Next, kMaxIndent), cap + "<a>\r\n" + cap + "<b>\r\n" + cap + "</a>\r\n");
    EXPECT_EQ(Written(document->Next, 1000000), cap + "<a>\r\n" + cap + "<b>\r\n" + cap + "</a>\r\n");
    Destroy(document);

    // A chain of 40 levels: each line is indented by its depth, capped, and
    // the text reads back into the same tree.
    std::string text;
    for (int i = 0; i < 40; ++i) text += "<n" + std::to_string(i) + ">";
    for (int i = 39; i >= 0; --i) text += "</n" + std::to_string(i) + ">";
    document = ParseText(text);
    std::string written = Written(document);
    std::size_t line = 0;
    for (int i = 0; i < 40; ++i) {
        std::string expected = std::string(i < kMaxIndent ? i : kMaxIndent, ' ') + "<n" + std::to_string(i) + ">\r\n";
        ASSERT_EQ(written.substr(line, expected.size()), expected) << "depth " << i;
        line += expected.size();
    }
    MarkupNode* again = ParseText(written);
    EXPECT_EQ(Describe(again), Describe(document));
    Destroy(again);
    Destroy(document);
}

TEST(MarkupWriter, WriteTextStaysWithinItsCapacity) {
    MarkupNode* document = ParseText("<item type=\"editor\" path=\"a.txt\"><b></b>");
    const std::string full = Written(document);
    const std::int64_t size = static_cast<std::int64_t>(full.size());
    for (std::int64_t capacity = 1; capacity <= size + 1; ++capacity) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 8, '#');
        std::int64_t written = WriteText(document, buffer.data(), capacity, 0, AsciiComparison());
        if (capacity == size + 1) {
            EXPECT_EQ(written, size);
        } else {
            EXPECT_EQ(written, -1) << capacity;
        }
        // A terminated prefix, and nothing touched past the capacity.
        std::size_t length = std::strlen(buffer.data());
        EXPECT_EQ(static_cast<std::int64_t>(length), capacity - 1);
        EXPECT_EQ(std::string(buffer.data(), length), full.substr(0, length));
        for (std::size_t i = static_cast<std::size_t>(capacity); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#');
    }
    char one = 'x';
    EXPECT_EQ(WriteText(document, &one, 0, 0, AsciiComparison()), -1);
    EXPECT_EQ(one, 'x');
    EXPECT_EQ(WriteText(document, nullptr, 100, 0, AsciiComparison()), -1);
    Destroy(document);
}

TEST(MarkupWriter, TextBeyondTheLimitIsRefused) {
    // 32 attributes whose names and values all share one 40 MB string: the
    // text would be about 2.5 GB, past kMaxTextSize, without needing that
    // memory. The shared pointers are cleared again before the node goes.
    const std::size_t large = 40u * 1024u * 1024u;
    std::vector<char> shared(large + 1, 'v');
    shared[large] = '\0';
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    MarkupNode* item = document->CreateNode(kNodeElement, nullptr, document);
    std::snprintf(item->Name, kNameSize, "item");
    for (int i = 0; i < kMaxAttributes; ++i) {
        item->Attributes[i].Name = shared.data();
        item->Attributes[i].Value = shared.data();
    }
    item->AttributeCount = kMaxAttributes;
    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), -1);
    std::vector<char> buffer(1024, '#');
    EXPECT_EQ(WriteText(document, buffer.data(), 1000, 0, AsciiComparison()), -1);
    EXPECT_EQ(std::strlen(buffer.data()), 999u);
    EXPECT_EQ(buffer[1000], '#');

    // Below the limit the pieces add up exactly.
    item->AttributeCount = 1;
    EXPECT_EQ(MeasureText(document, 0, AsciiComparison()), 5 + 2 * (static_cast<std::int64_t>(large) + 2) + 3);
    for (int i = 0; i < kMaxAttributes; ++i) item->Attributes[i] = MarkupAttribute{nullptr, nullptr};
    item->AttributeCount = 0;
    Destroy(document);
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
