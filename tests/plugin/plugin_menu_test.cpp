// The plug-in's own menu, from the editor and from the panels.

#include "plugin/plugin_menu.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
namespace ts = tarnwick::testing_support;

const int kCancel = 10 + 1;  // the dialog's Cancel button

class PluginMenuTest : public PluginTest {
protected:
    void Answer(int result) { host().MenuAnswers.push_back({result, 0}); }
    void CancelDialog() {
        host().DialogAnswers.push_back([](FarDialogItem*, int) { return kCancel; });
    }
};

TEST_F(PluginMenuTest, FromThePanelsEveryCommandComesBackUntilEsc) {
    Start();
    Answer(0);  // the list: nothing stored
    Answer(1);  // the purge
    Answer(2);  // the configuration
    CancelDialog();
    Answer(-1);
    EXPECT_EQ(OpenPlugin(OPEN_PLUGINSMENU, 0), kInvalidHandle);

    ASSERT_EQ(host().Menus.size(), 4u);
    for (const fakehost::MenuShown& menu : host().Menus) {
        EXPECT_EQ(menu.Texts, (std::vector<std::string>{"Saved positions", "Remove missing", "Configuration"}));
        EXPECT_EQ(menu.ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, 0, 0}));
        EXPECT_EQ(menu.Title, "Tarnwick");
        EXPECT_EQ(menu.Flags, 38u);
        EXPECT_EQ(menu.X, -1);
        EXPECT_EQ(menu.Y, -1);
        EXPECT_EQ(menu.MaxHeight, 0);
        EXPECT_FALSE(menu.HasBottom);
        EXPECT_FALSE(menu.HasHelp);
        EXPECT_TRUE(menu.BreakKeys.empty());
        EXPECT_FALSE(menu.HasBreakCode);
    }
    ASSERT_EQ(host().Messages.size(), 2u);
    EXPECT_EQ(host().Messages[0].Lines, (std::vector<std::string>{"Tarnwick", "Nothing stored"}));
    // The purge report: a plain box with one OK button, n = 0 included.
    EXPECT_EQ(host().Messages[1].Flags, static_cast<DWORD_T>(FMSG_MB_OK));
    EXPECT_EQ(host().Messages[1].Lines, (std::vector<std::string>{"Tarnwick", "Removed 0 entries"}));
    EXPECT_EQ(host().Messages[1].ButtonsNumber, 0);
    EXPECT_FALSE(host().Messages[1].HasHelp);
    EXPECT_EQ(host().Dialogs.size(), 1u);
}

TEST_F(PluginMenuTest, FromTheEditorWithNoKnownPositionRestoreIsDisabled) {
    Start();
    host().Editor.FileName = File("new.txt");
    Answer(-1);
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    ASSERT_EQ(host().Menus.size(), 1u);
    EXPECT_EQ(host().Menus[0].Texts, (std::vector<std::string>{"Store position", "Restore position",
                                                               "Saved positions", "Remove missing", "Configuration"}));
    EXPECT_EQ(host().Menus[0].ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, MIF_DISABLE, 0, 0, 0}));
    EXPECT_TRUE(host().SetPositions.empty());
    EXPECT_FALSE(ts::FileExists(DefaultPositions())) << "Esc runs nothing";
}

TEST_F(PluginMenuTest, StoreFromTheEditorAddsTheItemAndEndsTheMenu) {
    std::string path = File("new.txt");
    Start();
    host().Editor.FileName = path;
    host().Editor.CurLine = 14;
    host().Editor.CurPos = 2;
    Answer(0);
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    EXPECT_EQ(host().Menus.size(), 1u);
    Pos pos{};
    ASSERT_TRUE(Stored(path, &pos));
    EXPECT_EQ(pos, (Pos{14, 2, 0, 0, 0}));
    EXPECT_TRUE(Tracked(1));

    // Now a position is known: the store text changes, restore is enabled.
    Answer(1);
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    ASSERT_EQ(host().Menus.size(), 2u);
    EXPECT_EQ(host().Menus[1].Texts[0], "Update position");
    EXPECT_EQ(host().Menus[1].ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, 0, 0, 0, 0}));
    ASSERT_EQ(host().SetPositions.size(), 1u);
    EXPECT_EQ(host().SetPositions[0].CurLine, 14);
}

TEST_F(PluginMenuTest, AnItemInAnyLetterCaseMakesThePositionKnown) {
    std::string path = File("Known.txt");
    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    WritePositions(ItemLine(upper, Pos{3, 0, 0, 0, 0}));
    Start();
    host().Editor.FileName = path;  // never opened through EE_READ: not tracked
    Answer(-1);
    OpenPlugin(OPEN_EDITOR, 0);
    EXPECT_EQ(host().Menus[0].Texts[0], "Update position");
    EXPECT_EQ(host().Menus[0].ItemFlags[1], 0u);
}

TEST_F(PluginMenuTest, FromTheEditorListPurgeAndConfigurationComeBack) {
    Start();
    host().Editor.FileName = File("a.txt");
    Answer(2);
    Answer(3);
    Answer(4);
    CancelDialog();
    Answer(-1);
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    ASSERT_EQ(host().Menus.size(), 4u);
    for (const fakehost::MenuShown& menu : host().Menus) {
        EXPECT_EQ(menu.ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, MIF_DISABLE, 0, 0, 0}));
    }
}

TEST_F(PluginMenuTest, PurgeReportsHowManyWentFromTheFileAndTheMemory) {
    std::string kept = ExistingFile("kept.txt");
    WritePositions(ItemLine(File("gone1.txt"), Pos{}) + ItemLine(kept, Pos{}) + ItemLine(File("gone2.txt"), Pos{}));
    Start();
    Answer(1);
    Answer(-1);
    OpenPlugin(OPEN_PLUGINSMENU, 0);
    ASSERT_EQ(host().Messages.size(), 1u);
    EXPECT_EQ(host().Messages[0].Lines[1], "Removed 2 entries");
    EXPECT_EQ(StoredCount(), 1);
    EXPECT_TRUE(Stored(kept, nullptr));
}

TEST_F(PluginMenuTest, OtherOriginShowsTheEditorMenuButStoresNothing) {
    Start();
    host().Editor.FileName = File("a.txt");
    Answer(0);
    EXPECT_EQ(OpenPlugin(OPEN_COMMANDLINE, 0), kInvalidHandle);
    ASSERT_EQ(host().Menus.size(), 1u);
    EXPECT_EQ(host().Menus[0].ItemFlags, (std::vector<DWORD_T>{MIF_SELECTED, MIF_DISABLE, 0, 0, 0}));
    EXPECT_EQ(host().GetInfoCalls, 0);
    EXPECT_FALSE(ts::FileExists(DefaultPositions()));
}

TEST_F(PluginMenuTest, LongAndMissingTextsAreBounded) {
    host().Texts[kMsgMenuList] = std::string(300, 'L');
    host().Texts.erase(kMsgMenuPurge);
    host().Texts[kMsgPurgeReport] = "%s and %n with 100%% of %d, again %d " + std::string(100, 'x');
    Start();
    Answer(1);
    Answer(-1);
    OpenPlugin(OPEN_PLUGINSMENU, 0);
    ASSERT_EQ(host().Menus.size(), 2u);
    EXPECT_EQ(host().Menus[0].Texts[0], std::string(127, 'L'));
    EXPECT_EQ(host().Menus[0].Texts[1], "");
    ASSERT_EQ(host().Messages.size(), 1u);
    std::string expected = "%s and %n with 100% of 0, again %d " + std::string(100, 'x');
    EXPECT_EQ(host().Messages[0].Lines[1], expected.substr(0, 71));
}

TEST(FormatCountReport, SubstitutesTheOneNumber) {
    char buffer[72];
    FormatCountReport("Removed %d entries", -12, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Removed -12 entries");
    FormatCountReport("%i%%", 5, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "5%");
    FormatCountReport("trailing %", 5, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "trailing %");
    FormatCountReport(nullptr, 5, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    char tiny[4];
    FormatCountReport("%d", 123456, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "123");
}

}  // namespace
}  // namespace plugintest
