// Random trees through the writer and back through the parser, and random
// text through the parser.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "support/text.h"
#include "tree_check.h"

namespace tarnwick {
namespace markup {
namespace {

using testing_support::ExpectConsistent;

class TreeMaker {
public:
    explicit TreeMaker(unsigned seed) : random_(seed) {}

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string Pick(const char* alphabet, int minLength, int maxLength) {
        std::string text;
        int length = minLength + Below(maxLength - minLength + 1);
        int size = static_cast<int>(std::strlen(alphabet));
        for (int i = 0; i < length; ++i) text += alphabet[Below(size)];
        return text;
    }

    // A random document that the writer promises to read back: names of 1
    // to 15 characters without whitespace or ">" and not starting with "/",
    // attribute names without whitespace, ">" or "=", values without double
    // quotes, and no element named like its parent container. Sometimes a
    // chain deeper than the indentation cap.
    MarkupNode* Readable() {
        readable_ = true;
        return Build();
    }

    // A random document with anything in it but zero bytes: empty names,
    // whitespace, quotes, elements with children, document nodes inside.
    MarkupNode* Anything() {
        readable_ = false;
        return Build();
    }

private:
    MarkupNode* Build() {
        MarkupNode* document = NewMarkupNode(platform::Env::Default());
        MarkupNode* last = document;
        int count = Below(8);
        for (int i = 0; i < count; ++i) last = AddNode(document, nullptr, last, 0);
        if (Below(4) == 0) {
            // A deep chain below the top level.
            MarkupNode* node = AddNode(document, nullptr, last, 0);
            int depth = 30 + Below(20);
            for (int level = 0; level < depth; ++level) {
                MarkupNode* child = document->CreateNode(kNodeContainer, node, nullptr);
                Name(child, node);
                Attributes(child);
                node = child;
            }
        }
        if (!readable_) Scramble(document);
        return document;
    }

    MarkupNode* AddNode(MarkupNode* document, MarkupNode* parent, MarkupNode* after, int depth) {
        bool container = depth < 5 && Below(5) < 2;
        MarkupNode* node = parent != nullptr && after == nullptr
                               ? document->CreateNode(container ? kNodeContainer : kNodeElement, parent, nullptr)
                               : document->CreateNode(container ? kNodeContainer : kNodeElement, nullptr, after);
        Name(node, parent);
        Attributes(node);
        if (container) {
            int children = Below(5);
            MarkupNode* previous = nullptr;
            for (int i = 0; i < children; ++i) previous = AddNode(document, node, previous, depth + 1);
        }
        return node;
    }

    void Name(MarkupNode* node, const MarkupNode* parent) {
        static const char* const common[] = {"item", "Item", "ITEM", "a", "A", "b", "group"};
        for (;;) {
            std::string name;
            if (!readable_) {
                name = Pick("ab <>/=\"\t\r\n", 0, 15);
            } else if (Below(2) == 0) {
                name = common[Below(7)];
            } else {
                name = Pick("abcXYZ019_-.:!?=\"'</", 1, 15);
                if (name[0] == '/') continue;
            }
            std::snprintf(node->Name, kNameSize, "%s", name.c_str());
            // A closing tag of the parent would close such a child instead.
            bool clash = readable_ && parent != nullptr && node->Kind == kNodeElement &&
                         AsciiComparison().Equal(node->Name, parent->Name);
            if (!clash) return;
        }
    }

    void Attributes(MarkupNode* node) {
        int count = Below(4) == 0 ? kMaxAttributes : Below(5);
        for (int i = 0; i < count; ++i) {
            std::string name = readable_ ? Pick("abcXY_-:\"'</", 1, 8) : Pick("a =\">\t", 0, 4);
            std::string value = readable_ ? Pick("ab \r\n\t<>=/'!", 0, 20) : Pick("a \"<>=", 0, 6);
            ASSERT_TRUE(SetAttribute(node, name.c_str(), value.c_str()) || node->AttributeCount == kMaxAttributes);
        }
    }

    // Kinds the parser never makes: elements with children, containers of
    // kind document, and so on.
    void Scramble(MarkupNode* document) {
        for (MarkupNode* node = document->Next; node != nullptr; node = node->GetNextInOrder()) {
            if (Below(6) == 0) node->Kind = 1 + Below(3);
        }
    }

    std::mt19937 random_;
    bool readable_ = true;
};

std::string WriteAll(const MarkupNode* document) {
    std::int64_t size = MeasureText(document, 0, AsciiComparison());
    EXPECT_GE(size, 0);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    EXPECT_EQ(WriteText(document, buffer.data(), size + 1, 0, AsciiComparison()), size);
    EXPECT_EQ(static_cast<std::int64_t>(std::strlen(buffer.data())), size);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

int Depth(const MarkupNode* node) {
    int depth = 0;
    for (; node->Parent != nullptr; node = node->Parent) ++depth;
    return depth;
}

// Walks both documents in document order and compares every node: depth,
// kind, name, child count and attributes in order.
void ExpectSameTree(MarkupNode* expected, MarkupNode* actual) {
    MarkupNode* a = expected->GetNextInOrder();
    MarkupNode* b = actual->GetNextInOrder();
    int index = 0;
    for (; a != nullptr && b != nullptr; a = a->GetNextInOrder(), b = b->GetNextInOrder(), ++index) {
        ASSERT_EQ(Depth(a), Depth(b)) << "node " << index;
        ASSERT_EQ(a->Kind, b->Kind) << "node " << index;
        ASSERT_STREQ(a->Name, b->Name) << "node " << index;
        ASSERT_EQ(a->ChildCount, b->ChildCount) << "node " << index;
        ASSERT_EQ(a->AttributeCount, b->AttributeCount) << "node " << index;
        for (int i = 0; i < a->AttributeCount; ++i) {
            ASSERT_STREQ(a->Attributes[i].Name, b->Attributes[i].Name) << "node " << index;
            ASSERT_STREQ(a->Attributes[i].Value, b->Attributes[i].Value) << "node " << index;
        }
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
}

TEST(MarkupRoundTrip, WrittenTreesReadBackTheSame) {
    TreeMaker maker(7);
    for (int round = 0; round < 400; ++round) {
        MarkupNode* original = maker.Readable();
        std::string text = WriteAll(original);
        MarkupNode* again = NewMarkupNode(platform::Env::Default());
        Parse(again, text.c_str(), static_cast<int>(text.size()), AsciiComparison());
        ExpectSameTree(original, again);
        EXPECT_EQ(WriteAll(again), text);
        Destroy(again);
        Destroy(original);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round << ":\n" << text;
            return;
        }
    }
}

TEST(MarkupRoundTrip, MeasureAgreesWithWriteOnAnyTree) {
    TreeMaker maker(11);
    for (int round = 0; round < 400; ++round) {
        MarkupNode* document = maker.Anything();
        std::string text = WriteAll(document);  // checks measure, count and terminator
        // Whatever was written parses into some well-formed tree.
        MarkupNode* again = NewMarkupNode(platform::Env::Default());
        Parse(again, text.c_str(), static_cast<int>(text.size()), AsciiComparison());
        ExpectConsistent(again);
        Destroy(again);
        Destroy(document);
    }
}

TEST(MarkupRoundTrip, RandomTextParsesIntoWellFormedTrees) {
    // Exact-size heap copies, so that any read past the terminator is caught
    // under the address sanitizer.
    std::mt19937 random(3);
    const char alphabet[] = "<<<>>/= \"\"\r\n\tabAB\x80\xe9";
    for (int round = 0; round < 3000; ++round) {
        int length = static_cast<int>(random() % 80);
        std::unique_ptr<char[]> text(new char[length + 1]);
        for (int i = 0; i < length; ++i) text[i] = alphabet[random() % (sizeof alphabet - 1)];
        text[length] = '\0';
        MarkupNode* document = NewMarkupNode(platform::Env::Default());
        ASSERT_TRUE(Parse(document, text.get(), length, AsciiComparison()));
        ExpectConsistent(document);
        WriteAll(document);
        Destroy(document);
    }
}

}  // namespace
}  // namespace markup
}  // namespace tarnwick
