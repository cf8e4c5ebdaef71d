// Item updates that happen whole or not at all, on parsed items (whose
// strings live in the parse's block and whose attribute array has room for
// exactly what was read) and on items at the attribute limit.
#include <gtest/gtest.h>

#include <string>

#include "common/fault_env.h"
#include "common/test_support.h"
#include "markup/markup_node.h"
#include "markup/markup_writer.h"
#include "store/item_rules.h"
#include "store/item_update.h"
#include "store/position_file_state.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using testing_support::FaultEnv;

std::string TextOf(const PositionFile& file) {
    std::int64_t length = markup::MeasureText(file.Document, 0, *file.Comparison);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    markup::WriteText(file.Document, &text[0], length + 1, 0, *file.Comparison);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

class ItemUpdateTest : public ::testing::Test {
protected:
    // A fresh handle on the environment that has read `text`.
    void LoadText(const std::string& text) {
        ASSERT_TRUE(testing_support::WriteWholeFile(path_, text));
        handle_.Reopen();
        ASSERT_TRUE(Load(handle_, path_.c_str()));
    }
    // Closes the handle: everything it made is released.
    void Close() { handle_.Close(); }

    testing_support::TempDir temp_;
    std::string path_ = temp_.File("positions.cfg");
    FaultEnv env_{platform::Env::Default()};
    store_testing::OpenedFile handle_{&env_};
    PositionFile& file() { return *handle_.get(); }
};

TEST_F(ItemUpdateTest, ParsedItemIsUpdatedWholeOrNotAtAllUnderEveryAllocationFailure) {
    // Two of each item's attributes are there, the others are new (the
    // parsed node needs a larger attribute array as well as the new
    // strings), and one goes: the viewer's table, which has nothing to say.
    StoredPlace editor = store_testing::Position(12, 3, 4, 5, 1);
    editor.Editor.Marks.Slot[3] = Bookmark{7, 1, 2, 0};
    StoredPlace viewer = store_testing::ViewerAt(4294967296LL, 2, 1, kWrapWords);
    struct Case {
        std::string Text;
        ItemKind Kind;
        StoredPlace Place;
        std::string Updated;
    };
    const Case cases[] = {
        {"<item type=\"editor\" path=\"a.txt\" note=\"kept\">\r\n", ItemKind::Editor, editor,
         "<item type=\"editor\" path=\"A.TXT\" note=\"kept\" line=\"12\" column=\"3\" top=\"4\" left=\"5\" "
         "overtype=\"1\" bookmarks=\"3:7,1,2,0\">\r\n"},
        {"<item type=\"viewer\" path=\"a.txt\" table=\"oem\" note=\"kept\">\r\n", ItemKind::Viewer, viewer,
         "<item type=\"viewer\" path=\"A.TXT\" note=\"kept\" offset=\"4294967296\" left=\"2\" hex=\"1\" "
         "wrap=\"2\">\r\n"},
    };
    for (const Case& c : cases) {
        int sites = 0;
        for (int n = 0; n == 0 || n <= sites; ++n) {
            SCOPED_TRACE(c.Text + ": allocation " + std::to_string(n) + " fails");
            LoadText(c.Text);
            const std::string before = TextOf(file());
            const int allocations = env_.Calls(FaultEnv::Op::Alloc);
            if (n > 0) env_.FailAt(FaultEnv::Op::Alloc, n, FaultEnv::Fault::Fail);
            bool done = UpdateWholeItem(file(), c.Kind, "A.TXT", c.Place);
            env_.ClearFaults();
            if (n == 0) {
                ASSERT_TRUE(done);
                sites = env_.Calls(FaultEnv::Op::Alloc) - allocations;
                EXPECT_EQ(TextOf(file()), c.Updated);
            } else {
                EXPECT_FALSE(done);
                EXPECT_EQ(TextOf(file()), before);
            }
            Close();
            EXPECT_EQ(env_.Live(), 0);
        }
        EXPECT_GT(sites, 5);
    }
}

TEST_F(ItemUpdateTest, ItemAtTheAttributeLimitGetsWhatFitsAndSaysSo) {
    std::string text = "<item type=\"editor\" path=\"a.txt\" line=\"1\"";
    for (int i = 0; i < markup::kMaxAttributes - 3; ++i) text += " x" + std::to_string(i) + "=\"0\"";
    text += ">\r\n";
    LoadText(text);
    EXPECT_FALSE(UpdateWholeItem(file(), ItemKind::Editor, "a.txt", store_testing::Position(9, 8)));
    EXPECT_EQ(store_testing::StoredLine(&file(), "a.txt"), 9);
    const markup::MarkupNode* item = FindItem(file(), ItemKind::Editor, "a.txt");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->AttributeCount, markup::kMaxAttributes);
    EXPECT_EQ(markup::GetAttribute(item, "column"), nullptr);
    Close();
    EXPECT_EQ(env_.Live(), 0);
}

TEST_F(ItemUpdateTest, StoreAddsAMissingItemInFrontAndUpdatesAnExistingOne) {
    LoadText(store_testing::ItemLine("a.txt", 1));
    ASSERT_TRUE(StoreWholeItem(file(), ItemKind::Editor, "b.txt", store_testing::Position(2)));
    ASSERT_TRUE(StoreWholeItem(file(), ItemKind::Editor, "a.txt", store_testing::Position(3)));
    EXPECT_EQ(store_testing::ItemPaths(&file()), (std::vector<std::string>{"b.txt", "a.txt"}));
    EXPECT_EQ(store_testing::StoredLine(&file(), "a.txt"), 3);
    EXPECT_FALSE(UpdateWholeItem(file(), ItemKind::Editor, "c.txt", store_testing::Position(4)));
    Close();
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
