// The list of saved positions with deletion by Del.

#include <cstring>

#include "plugin/saved_positions.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;

const int kDel = 0;     // break code of the first break key
const int kEnter = -1;  // the menu ended without a break key

class SavedPositionsTest : public PluginTest {
protected:
    std::string a_ = File("a.txt");
    std::string b_ = File("b.txt");
    std::string c_ = File("c.txt");

    void StartWith(const std::vector<std::string>& paths) {
        std::string text;
        for (const std::string& path : paths) text += ItemLine(path, Pos{1, 0, 0, 0, 0});
        WritePositions(text);
        Start();
    }
    void Key(int result, int breakCode) { host().MenuAnswers.push_back({result, breakCode}); }
    static std::string Line(const std::string& path, const std::string& type = "editor") {
        std::vector<char> copy(path.begin(), path.end());
        copy.push_back('\0');
        return type + ": " + std::string(fakehost::TruncatePath(copy.data(), 62));
    }
    const fakehost::MenuShown& Shown(size_t i) { return host().Menus.at(i); }
};

TEST_F(SavedPositionsTest, NothingToListWarnsAtOnce) {
    const std::string other = "<item type=\"diff\" path=\"" + a_ + "\">\r\n<item path=\"" + b_ +
                              "\">\r\n<item type=\"editor\">\r\n<entry type=\"editor\" path=\"" + c_ + "\">\r\n";
    for (const std::string& content : {std::string(), other}) {
        host().Messages.clear();
        ResetModuleState(LoadedModule());
        WritePositions(content);
        Start();
        ShowSavedPositions(LoadedModule());
        EXPECT_TRUE(host().Menus.empty());
        ASSERT_EQ(host().Messages.size(), 1u);
        EXPECT_EQ(host().Messages[0].Flags, static_cast<DWORD_T>(FMSG_WARNING | FMSG_MB_OK));
        EXPECT_EQ(host().Messages[0].Lines, (std::vector<std::string>{"Tarnwick", "Nothing stored"}));
    }
}

// The editor's items in file order, then the viewer's; other types are
// not listed.
TEST_F(SavedPositionsTest, ListsTheItemsOfBothKindsInFileOrder) {
    WritePositions(ItemLine(c_, Pos{}, "Viewer") + ItemLine(a_, Pos{}) + ItemLine(b_, Pos{}, "diff") +
                   ItemLine(b_, Pos{}, "EDITOR"));
    Start();
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    ASSERT_EQ(host().Menus.size(), 1u);
    EXPECT_EQ(Shown(0).Texts, (std::vector<std::string>{Line(a_), Line(b_), Line(c_, "viewer")}));
    EXPECT_EQ(Shown(0).ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, 0, 0}));
    EXPECT_EQ(Shown(0).Title, "Tarnwick");
    EXPECT_EQ(Shown(0).Bottom, "Del delete");
    EXPECT_EQ(Shown(0).BreakKeys, std::vector<int>{0x2E});
    EXPECT_TRUE(Shown(0).HasBreakCode);
    EXPECT_EQ(Shown(0).Flags, 38u);
    EXPECT_TRUE(host().Messages.empty()) << "Esc asks nothing";
}

TEST_F(SavedPositionsTest, EnterAndDeclinedDeletionOnlyTakeTheMarkOff) {
    StartWith({a_, b_});
    const std::string before = ReadPositions();
    Key(1, kEnter);
    Key(1, kDel);
    host().MessageAnswers.push_back(1);  // No
    Key(0, kDel);
    host().MessageAnswers.push_back(-1);  // Esc in the question
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    ASSERT_EQ(host().Menus.size(), 4u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(Shown(i).ItemFlags, (std::vector<DWORD_T>{0, 0})) << "showing " << i;
        EXPECT_EQ(Shown(i).Texts.size(), 2u);
    }
    ASSERT_EQ(host().Messages.size(), 2u);
    EXPECT_EQ(host().Messages[0].Flags, static_cast<DWORD_T>(FMSG_MB_YESNO));
    EXPECT_EQ(host().Messages[0].Lines, (std::vector<std::string>{"Tarnwick", "Delete the entry?"}));
    EXPECT_EQ(ReadPositions(), before);
}

TEST_F(SavedPositionsTest, DeletingMovesTheMarkToTheNeighbour) {
    StartWith({a_, b_, c_});
    Key(1, kDel);  // b, in the middle: c takes its place and is marked
    host().MessageAnswers.push_back(0);
    Key(1, kDel);  // c, now the last: a is marked
    host().MessageAnswers.push_back(0);
    Key(0, kDel);  // a, the only one left
    host().MessageAnswers.push_back(0);
    ShowSavedPositions(LoadedModule());

    ASSERT_EQ(host().Menus.size(), 3u);
    EXPECT_EQ(Shown(1).Texts, (std::vector<std::string>{Line(a_), Line(c_)}));
    EXPECT_EQ(Shown(1).ItemFlags, (std::vector<DWORD_T>{0, MIF_SELECTED}));
    EXPECT_EQ(Shown(2).Texts, (std::vector<std::string>{Line(a_)}));
    EXPECT_EQ(Shown(2).ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED}));
    ASSERT_EQ(host().Messages.size(), 4u);
    EXPECT_EQ(host().Messages[3].Flags, static_cast<DWORD_T>(FMSG_WARNING | FMSG_MB_OK));
    EXPECT_EQ(host().Messages[3].Lines[1], "Last entry deleted");
    EXPECT_EQ(StoredCount(), 0);
}

TEST_F(SavedPositionsTest, LongPathIsShownShortButDeletedWhole) {
    std::string deep = File(std::string(60, 'd') + "\\" + std::string(60, 'e') + ".txt");
    StartWith({deep, a_});
    Key(0, kDel);
    host().MessageAnswers.push_back(0);
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    EXPECT_EQ(Shown(0).Texts[0], Line(deep));
    EXPECT_EQ(Shown(0).Texts[0].size(), std::strlen("editor: ") + 62);
    EXPECT_FALSE(Stored(deep, nullptr));
    EXPECT_TRUE(Stored(a_, nullptr));
}

TEST_F(SavedPositionsTest, PathsTooLongForASlotAreLeftOut) {
    std::string huge = File(std::string(300, 'h'));
    StartWith({huge, a_});
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    ASSERT_EQ(host().Menus.size(), 1u);
    EXPECT_EQ(Shown(0).Texts, std::vector<std::string>{Line(a_)});

    host().Menus.clear();
    ResetModuleState(LoadedModule());
    StartWith({huge});
    ShowSavedPositions(LoadedModule());
    EXPECT_TRUE(host().Menus.empty());
    ASSERT_EQ(host().Messages.size(), 1u);
    EXPECT_EQ(host().Messages[0].Lines[1], "Nothing stored");
}

TEST_F(SavedPositionsTest, DeletedEntryOfAnOpenFileIsNotWrittenBackAtClose) {
    StartWith({a_, b_});
    OpenEditor(1, a_);
    MoveTo(Pos{9, 9, 0, 0, 0});
    Key(0, kDel);
    host().MessageAnswers.push_back(0);
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    EXPECT_FALSE(Stored(a_, nullptr)) << "the item leaves the file at once";
    EXPECT_FALSE(Tracked(1));
    CloseEditor(1);
    EXPECT_FALSE(Stored(a_, nullptr));
    EXPECT_TRUE(Stored(b_, nullptr));
}

TEST_F(SavedPositionsTest, EntriesStayAsOpenedWhenAnotherHostChangesTheFile) {
    StartWith({a_, b_});
    // While the list is shown another host drops b and adds c.
    host().MenuAnswers.push_back({0, kEnter, [this] { WritePositions(ItemLine(a_, Pos{}) + ItemLine(c_, Pos{})); }});
    Key(1, kDel);
    host().MessageAnswers.push_back(0);
    Key(-1, kEnter);
    ShowSavedPositions(LoadedModule());
    ASSERT_EQ(host().Menus.size(), 3u);
    EXPECT_EQ(Shown(1).Texts, (std::vector<std::string>{Line(a_), Line(b_)}));
    EXPECT_EQ(Shown(2).Texts, std::vector<std::string>{Line(a_)});
    EXPECT_TRUE(Stored(a_, nullptr));
    EXPECT_TRUE(Stored(c_, nullptr)) << "the reload before the deletion took c over";
    EXPECT_FALSE(Stored(b_, nullptr));
}

}  // namespace
}  // namespace plugintest
