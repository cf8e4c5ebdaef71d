#include "plugin/editor_table.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "common/fault_env.h"
#include "support/memory.h"

namespace tarnwick {
namespace plugin {
namespace {

using store::ItemKind;

// A kind of item that no record of the plug-in has yet: records of another
// kind with the same id or path are other records.
constexpr ItemKind kOtherKind = static_cast<ItemKind>(1);

EditorRecord MakeRecord(std::int32_t id, const char* path, ItemKind kind = ItemKind::Editor, std::int32_t line = 0) {
    EditorRecord record;
    std::memset(&record, 0, sizeof record);
    record.Kind = kind;
    record.EditorID = id;
    record.RestorePos.Editor.Line = line;
    std::snprintf(record.Path, sizeof record.Path, "%s", path);
    return record;
}

EditorRecord Key(std::int32_t id, ItemKind kind = ItemKind::Editor) { return MakeRecord(id, "", kind); }

EditorRecord PathKeyOf(const char* path, ItemKind kind = ItemKind::Editor) { return MakeRecord(-999, path, kind); }

int CountNodes(const EditorNode* node) {
    // Small trees only: recursion is fine in a test.
    return node == nullptr ? 0 : 1 + CountNodes(node->Left) + CountNodes(node->Right);
}

class EditorTableTest : public ::testing::Test {
protected:
    void TearDown() override { DestroyAllRecords(table); }
    EditorTable table{nullptr, platform::Env::Default(), &AsciiComparison()};
};

TEST_F(EditorTableTest, EmptyTableFindsNothing) {
    EditorRecord record = MakeRecord(1, "x", ItemKind::Editor, 77);
    EXPECT_FALSE(ContainsRecord(table, record));
    EXPECT_FALSE(ContainsRecordForPath(table, record));
    EXPECT_FALSE(FetchRecord(table, &record));
    EXPECT_FALSE(FetchRecordByPath(table, &record));
    EXPECT_EQ(77, record.RestorePos.Editor.Line);  // untouched
    RemoveRecord(table, record);                     // nothing to do
    DestroyAllRecords(table);
    EXPECT_EQ(nullptr, table.Root);
}

TEST_F(EditorTableTest, InsertFetchReplaceAndKinds) {
    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "a", ItemKind::Editor, 1)));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "b", kOtherKind, 2)));  // same id, other kind
    ASSERT_TRUE(InsertRecord(table, MakeRecord(-3, "c", ItemKind::Editor, 3)));
    EXPECT_EQ(3, CountNodes(table.Root));

    // The other kind sits on the Right; the negative id on the Left.
    ASSERT_NE(nullptr, table.Root->Right);
    EXPECT_EQ(kOtherKind, table.Root->Right->Record->Kind);
    ASSERT_NE(nullptr, table.Root->Left);
    EXPECT_EQ(-3, table.Root->Left->Record->EditorID);

    EditorRecord out = Key(5, kOtherKind);
    ASSERT_TRUE(FetchRecord(table, &out));
    EXPECT_EQ(2, out.RestorePos.Editor.Line);
    EXPECT_STREQ("b", out.Path);
    out = Key(5);
    ASSERT_TRUE(FetchRecord(table, &out));
    EXPECT_EQ(1, out.RestorePos.Editor.Line);

    // Replacing keeps the count and the node.
    EditorNode* before = table.Root;
    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "A2", ItemKind::Editor, 9)));
    EXPECT_EQ(3, CountNodes(table.Root));
    EXPECT_EQ(before, table.Root);
    out = Key(5);
    ASSERT_TRUE(FetchRecord(table, &out));
    EXPECT_EQ(9, out.RestorePos.Editor.Line);
    EXPECT_STREQ("A2", out.Path);
    EXPECT_EQ(static_cast<std::int32_t>(sizeof(EditorRecord)), table.Root->Size);

    EXPECT_FALSE(ContainsRecord(table, Key(-3, kOtherKind)));
    EXPECT_TRUE(ContainsRecord(table, Key(-3)));
}

TEST_F(EditorTableTest, NodesComeFromTheTablesHeapAndAFailedInsertChangesNothing) {
    testing_support::FaultEnv heap(platform::Env::Default());
    table.Heap = &heap;
    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "a", ItemKind::Editor, 1)));
    EXPECT_EQ(2, heap.Live()) << "a node and its record";
    // Either of a new node's two blocks may be missing.
    for (int n = 1; n <= 2; ++n) {
        heap.FailAt(testing_support::FaultEnv::Op::Alloc, n, testing_support::FaultEnv::Fault::Fail);
        EXPECT_FALSE(InsertRecord(table, MakeRecord(7, "b"))) << n;
        heap.ClearFaults();
        EXPECT_EQ(2, heap.Live()) << n;
        EXPECT_FALSE(ContainsRecord(table, Key(7))) << n;
        EditorRecord out = Key(5);
        ASSERT_TRUE(FetchRecord(table, &out)) << n;
        EXPECT_EQ(1, out.RestorePos.Editor.Line) << n;
    }
    DestroyAllRecords(table);
    EXPECT_EQ(0, heap.Live());
}

TEST_F(EditorTableTest, ContainsPathAnswersForOpenPathsOnlyAlsoAfterRemovalsAndRewrites) {
    auto contains = [this](const char* path, ItemKind kind = ItemKind::Editor) {
        return ContainsPath(table, kind, path, FoldedHash(path));
    };
    EXPECT_FALSE(contains("C:\\a.txt"));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(1, "C:\\a.txt")));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(2, "C:\\b.txt")));
    EXPECT_TRUE(contains("c:\\A.TXT"));
    EXPECT_TRUE(contains("C:\\b.txt"));
    EXPECT_FALSE(contains("C:\\b.txt", static_cast<ItemKind>(1)));
    EXPECT_FALSE(contains("C:\\c.txt"));

    // Editor 2 saved under another name: both names were open, only the new
    // one is now.
    ASSERT_TRUE(InsertRecord(table, MakeRecord(2, "C:\\c.txt")));
    EXPECT_TRUE(contains("C:\\c.txt"));
    EXPECT_FALSE(contains("C:\\b.txt"));

    RemoveRecord(table, Key(1));
    EXPECT_FALSE(contains("C:\\a.txt"));
    EXPECT_TRUE(contains("C:\\c.txt"));
    DestroyAllRecords(table);
    EXPECT_FALSE(contains("C:\\c.txt"));
}

TEST_F(EditorTableTest, FetchByPathSearchOrder) {
    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "C:\\same.txt")));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(3, "c:\\SAME.txt")));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(8, "C:\\same.txt")));
    EditorRecord out = PathKeyOf("C:\\Same.TXT");
    ASSERT_TRUE(FetchRecordByPath(table, &out));
    EXPECT_EQ(5, out.EditorID);

    ASSERT_TRUE(InsertRecord(table, MakeRecord(5, "C:\\other.txt")));
    out = PathKeyOf("C:\\same.txt");
    ASSERT_TRUE(FetchRecordByPath(table, &out));
    EXPECT_EQ(3, out.EditorID);

    // Kind counts: nothing of the other kind has that path.
    out = PathKeyOf("C:\\same.txt", kOtherKind);
    EXPECT_FALSE(FetchRecordByPath(table, &out));
    EXPECT_EQ(-999, out.EditorID);
}

TEST_F(EditorTableTest, PathSearchVisitsWholeLeftSubtreeBeforeRight) {
    // 10 (root) with Left 4 -> {2, 6 -> 7} and Right 20; only 7 and 20 match.
    for (int id : {10, 4, 20, 2, 6, 7}) {
        ASSERT_TRUE(InsertRecord(table, MakeRecord(id, (id == 7 || id == 20) ? "hit" : "miss")));
    }
    EditorRecord out = PathKeyOf("HIT");
    ASSERT_TRUE(FetchRecordByPath(table, &out));
    EXPECT_EQ(7, out.EditorID);
    RemoveRecord(table, Key(7));
    out = PathKeyOf("hit");
    ASSERT_TRUE(FetchRecordByPath(table, &out));
    EXPECT_EQ(20, out.EditorID);
    RemoveRecord(table, Key(20));
    EXPECT_FALSE(ContainsRecordForPath(table, PathKeyOf("hit")));
}

TEST_F(EditorTableTest, RemoveNodeWithBothChildren) {
    for (int id : {5, 3, 4, 8}) ASSERT_TRUE(InsertRecord(table, MakeRecord(id, "p")));
    RemoveRecord(table, Key(5));

    EditorNode* root = table.Root;
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(3, root->Record->EditorID);
    EXPECT_EQ(nullptr, root->Parent);
    EXPECT_EQ(nullptr, root->Left);
    EditorNode* four = root->Right;
    ASSERT_NE(nullptr, four);
    EXPECT_EQ(4, four->Record->EditorID);
    EXPECT_EQ(root, four->Parent);
    EXPECT_EQ(nullptr, four->Left);
    EditorNode* eight = four->Right;
    ASSERT_NE(nullptr, eight);
    EXPECT_EQ(8, eight->Record->EditorID);
    EXPECT_EQ(four, eight->Parent);
    EXPECT_EQ(3, CountNodes(root));
    for (int id : {3, 4, 8}) EXPECT_TRUE(ContainsRecord(table, Key(id))) << id;
    EXPECT_FALSE(ContainsRecord(table, Key(5)));
}

TEST_F(EditorTableTest, RemoveRootWithOnlyRightChildAndInnerNodes) {
    for (int id : {1, 2, 3}) ASSERT_TRUE(InsertRecord(table, MakeRecord(id, "p")));
    RemoveRecord(table, Key(1));
    ASSERT_NE(nullptr, table.Root);
    EXPECT_EQ(2, table.Root->Record->EditorID);
    EXPECT_EQ(nullptr, table.Root->Parent);

    // A node with one child, below the root: the child moves up.
    RemoveRecord(table, Key(99));  // absent: nothing happens
    ASSERT_TRUE(InsertRecord(table, MakeRecord(0, "p")));  // Left of 2
    RemoveRecord(table, Key(2));
    ASSERT_NE(nullptr, table.Root);
    EXPECT_EQ(0, table.Root->Record->EditorID);
    ASSERT_NE(nullptr, table.Root->Right);
    EXPECT_EQ(3, table.Root->Right->Record->EditorID);
    EXPECT_EQ(table.Root, table.Root->Right->Parent);

    RemoveRecord(table, Key(3));
    RemoveRecord(table, Key(0));
    EXPECT_EQ(nullptr, table.Root);
}

TEST_F(EditorTableTest, DeepListTreeIsSearchedAndDestroyedWithoutRecursion) {
    // Ids inserted in increasing order make the tree a list. Inserting that
    // many would take quadratic time, so the list is linked here directly:
    // a million levels overflow any stack if a walk recurses per node (8 MB
    // on Linux). A 32-bit process has no room for a million records of 2 KB;
    // a quarter of them still overflows the 2 MB stack of a Windows program.
    const int count = sizeof(void*) == 4 ? 250000 : 1000000;
    EditorNode* last = nullptr;
    for (int id = 0; id < count; ++id) {
        EditorNode* node = static_cast<EditorNode*>(platform::Env::Default()->AllocZeroed(sizeof(EditorNode)));
        EditorRecord* copy = static_cast<EditorRecord*>(platform::Env::Default()->AllocZeroed(sizeof(EditorRecord)));
        ASSERT_TRUE(node != nullptr && copy != nullptr);
        *copy = MakeRecord(id, id == count - 1 ? "last" : "p");
        node->Record = copy;
        node->Size = static_cast<std::int32_t>(sizeof(EditorRecord));
        node->Parent = last;
        if (last == nullptr) {
            table.Root = node;
        } else {
            last->Right = node;
        }
        last = node;
    }
    EditorRecord out = PathKeyOf("LAST");
    ASSERT_TRUE(FetchRecordByPath(table, &out));
    EXPECT_EQ(count - 1, out.EditorID);
    EXPECT_FALSE(ContainsRecordForPath(table, PathKeyOf("none")));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(count, "end")));
    EXPECT_TRUE(ContainsRecord(table, Key(count)));
    DestroyAllRecords(table);
    EXPECT_EQ(nullptr, table.Root);
    EXPECT_FALSE(ContainsRecord(table, Key(0)));
    ASSERT_TRUE(InsertRecord(table, MakeRecord(1, "again")));  // usable afterwards
}

}  // namespace
}  // namespace plugin
}  // namespace tarnwick
