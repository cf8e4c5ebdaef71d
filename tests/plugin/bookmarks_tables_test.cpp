// The editor's numbered bookmarks and character table, stored with its
// position and put back at open.

#include "plugin/module.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

class BookmarksTablesTest : public PluginTest {
protected:
    std::string plan_ = File("Plan.txt");

    void SetUp() override {
        PluginTest::SetUp();
        host().Tables = {"KOI8-R", "ISO-8859-5"};
        host().Editor.TotalLines = 100;
    }

    void Mark(int slot, int line, int cursor, int screenLine, int left) {
        host().Editor.Marks[slot] = {line, cursor, screenLine, left};
    }

    // An item of the editor kind with extra attributes after its numbers.
    std::string Item(const std::string& extra) {
        return "<item type=\"editor\" path=\"" + plan_ +
               "\" line=\"40\" column=\"2\" top=\"30\" left=\"0\" overtype=\"0\"" + extra + ">\r\n";
    }

    int KeysSent() const {
        int keys = 0;
        for (int command : fakehost::Host().EditorCommands) keys += command == ECTL_PROCESSKEY ? 1 : 0;
        return keys;
    }
    int ParametersSet() const {
        int set = 0;
        for (int command : fakehost::Host().EditorCommands) set += command == ECTL_SETPARAM ? 1 : 0;
        return set;
    }
    void StoreFromMenu() {
        host().MenuAnswers.push_back({0, 0});
        EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    }
};

TEST_F(BookmarksTablesTest, StoringKeepsTheSetBookmarksAndTheTableByName) {
    Start();
    OpenEditor(1, plan_, Pos{5, 1, 0, 0, 0});
    Mark(0, 3, 2, 1, 0);
    Mark(7, 60, 0, 10, 4);
    host().Editor.TableNum = 1;
    StoreFromMenu();

    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    const Bookmarks& marks = place.Editor.Marks;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        EXPECT_EQ(IsSet(marks.Slot[slot]), slot == 0 || slot == 7) << "slot " << slot;
    }
    EXPECT_EQ(marks.Slot[7].Line, 60);
    EXPECT_EQ(marks.Slot[7].ScreenLine, 10);
    EXPECT_EQ(marks.Slot[7].Left, 4);
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Code);
    EXPECT_STREQ(place.Editor.Table.Name, "ISO-8859-5");
    EXPECT_EQ(place.Editor.Table.Number, 1);
}

TEST_F(BookmarksTablesTest, NoBookmarksAndAnAnsiTableAreStoredAsSuch) {
    Start();
    OpenEditor(1, plan_);
    host().Editor.AnsiMode = 1;
    StoreFromMenu();
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    for (const Bookmark& mark : place.Editor.Marks.Slot) EXPECT_FALSE(IsSet(mark));
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Ansi);
    EXPECT_EQ(ReadPositions().find("bookmarks"), std::string::npos) << ReadPositions();
}

// The stored bookmarks are set as the host's key sets them; one past the
// file's end and one the host's own memory already restored are left
// alone; then the cursor goes to the stored place.
TEST_F(BookmarksTablesTest, OpeningSetsTheStoredBookmarksThenTheCursor) {
    WritePositions(Item(" bookmarks=\"0:3,2,1,0 4:150,0,5,0 5:20,7,4,2\""));
    Start();
    host().Editor.Marks[0] = {3, 2, 1, 0};  // restored by the host itself
    OpenEditor(1, plan_);

    EXPECT_EQ(KeysSent(), 1);
    const auto& marks = host().Editor.Marks;
    EXPECT_EQ(marks[5].Line, 20);
    EXPECT_EQ(marks[5].Cursor, 7);
    EXPECT_EQ(marks[5].ScreenLine, 4);
    EXPECT_EQ(marks[5].LeftPos, 2);
    EXPECT_EQ(marks[4].Line, -1) << "past the end of a 100-line file";
    EXPECT_EQ(host().Editor.CurLine, 40);
    EXPECT_EQ(host().Editor.TopScreenLine, 30);
}

TEST_F(BookmarksTablesTest, AllTenComeBackAndTheMovesAreNotTheStoredPlace) {
    std::string all;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        all += (slot > 0 ? " " : "") + std::to_string(slot) + ":" + std::to_string(slot * 9) + ",1,0,0";
    }
    WritePositions(Item(" bookmarks=\"" + all + "\""));
    Start();
    // The real host may redraw while the keys are handled.
    host().AfterEditorCommand = [](int command) {
        if (command == ECTL_PROCESSKEY) ProcessEditorEvent(EE_REDRAW, nullptr);
    };
    OpenEditor(1, plan_);
    host().AfterEditorCommand = nullptr;
    EXPECT_EQ(KeysSent(), kBookmarkCount);
    for (int slot = 0; slot < kBookmarkCount; ++slot) EXPECT_EQ(host().Editor.Marks[slot].Line, slot * 9);

    // Closing before the next redraw writes the place the file was opened
    // at or restored to, never a bookmark's.
    CloseEditor(1);
    Pos stored;
    ASSERT_TRUE(Stored(plan_, &stored));
    EXPECT_TRUE(stored.Line == 0 || stored.Line == 40) << stored;
}

TEST_F(BookmarksTablesTest, TheTableIsFoundByNameAfterTheHostsTablesMoved) {
    WritePositions(Item(" table=\"0 ISO-8859-5\""));
    Start();
    OpenEditor(1, plan_);
    EXPECT_EQ(host().Editor.TableNum, 1);
    EXPECT_EQ(host().Editor.AnsiMode, 0);
    EXPECT_EQ(host().Editor.Options & EOPT_SAVEFILEPOSITION, 0) << "the host's fault is undone";
}

TEST_F(BookmarksTablesTest, TheEditorsOwnSaveOptionStaysOnWhenItWasOn) {
    WritePositions(Item(" table=\"ansi\""));
    Start();
    host().Editor.Options = EOPT_SAVEFILEPOSITION;
    OpenEditor(1, plan_);
    EXPECT_EQ(host().Editor.AnsiMode, 1);
    EXPECT_EQ(host().Editor.Options & EOPT_SAVEFILEPOSITION, EOPT_SAVEFILEPOSITION);
}

TEST_F(BookmarksTablesTest, ATableTheHostNoLongerHasOrAlreadyShowsIsLeftAlone) {
    WritePositions(Item(" table=\"2 CP-GONE\""));
    Start();
    OpenEditor(1, plan_);
    EXPECT_EQ(ParametersSet(), 0);
    EXPECT_EQ(host().Editor.TableNum, -1);
    EXPECT_EQ(host().Editor.CurLine, 40) << "the position comes back all the same";
    CloseEditor(1);

    WritePositions(Item(" table=\"1 ISO-8859-5\""));
    host().EditorCommands.clear();
    host().Editor.TableNum = 1;
    OpenEditor(2, plan_);
    EXPECT_EQ(ParametersSet(), 0);
}

TEST_F(BookmarksTablesTest, ACloseAtTheHostsExitWritesWhatWasSeenBefore) {
    Start();
    OpenEditor(1, plan_);
    StoreFromMenu();
    Mark(2, 9, 1, 3, 0);
    host().Editor.TableNum = 0;
    MoveTo(Pos{11, 0, 5, 0, 0});
    host().Closing = true;
    CloseEditor(1);
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Line, 11);
    EXPECT_EQ(place.Editor.Marks.Slot[2].Line, 9);
    EXPECT_STREQ(place.Editor.Table.Name, "KOI8-R");
}

TEST_F(BookmarksTablesTest, ThrownAwayEditsKeepTheBookmarksOfTheCleanText) {
    Start();
    OpenEditor(1, plan_);
    StoreFromMenu();
    Mark(1, 10, 0, 0, 0);
    MoveTo(Pos{10, 0, 0, 0, 0});
    Mark(1, 50, 0, 0, 0);
    MoveTo(Pos{50, 0, 0, 0, 0}, ECSTATE_MODIFIED);
    CloseEditor(1);
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Marks.Slot[1].Line, 10);
}

}  // namespace
}  // namespace plugintest
