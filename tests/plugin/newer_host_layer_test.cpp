// Inside the 3.x host's layer for 1.x plug-ins: told apart by its registry
// root, and the rules by which it fills the 1.x records there: unsaved
// changes, code pages for tables, whole mask lists and converted names.

#include "plugin/host_line.h"
#include "plugin/module.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

TEST(HostLineTest, OnlyTheNewerHostsRootTellsTheLayer) {
    EXPECT_EQ(HostLineOf("Software\\Far\\Plugins"), HostLine::Far1);
    EXPECT_EQ(HostLineOf("Software\\Far\\Users\\ann\\Plugins"), HostLine::Far1);
    EXPECT_EQ(HostLineOf(nullptr), HostLine::Far1);
    EXPECT_EQ(HostLineOf("Software\\Far Manager"), HostLine::Far1) << "no key below it";
    EXPECT_EQ(HostLineOf("Software\\Far Managers\\Plugins"), HostLine::Far1);
    EXPECT_EQ(HostLineOf("Software\\Far Manager\\Plugins"), HostLine::Far3Layer);
    EXPECT_EQ(HostLineOf("software\\FAR MANAGER\\Users\\ann\\Plugins"), HostLine::Far3Layer);
}

class NewerHostLayerTest : public PluginTest {
protected:
    std::string plan_;
    std::string layerUser_ = ts::UniqueName("layer");

    void SetUp() override {
        PluginTest::SetUp();
        plan_ = ExistingFile("Plan.txt");
        host().RootKey = "Software\\Far Manager\\Users\\" + layerUser_ + "\\Plugins";
        host().Info.RootKey = host().RootKey.c_str();
        // The layer's tables: 0 the OEM page, 1 ANSI, then the favourites,
        // a multi-byte one among them (it has no name).
        host().Tables = {"  866\xB3OEM", " 1251\xB3" "ANSI", "", "20866\xB3KOI8-R", "28595\xB3ISO-8859-5"};
        host().Editor.TableNum = 0;
    }
    void TearDown() override {
        PluginTest::TearDown();
        ts::RegistryDeleteTree(("Software\\Far Manager\\Users\\" + layerUser_).c_str());
    }

    // Opens a file with no unsaved changes, as the layer reports it.
    void Open(int id, const std::string& path) { OpenEditor(id, path, Pos{0, 0, 0, 0, 0}, ECSTATE_SAVED); }
    void StoreFromMenu() {
        host().MenuAnswers.push_back({0, 0});
        EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    }
    int ParametersSet() const {
        int set = 0;
        for (int command : fakehost::Host().EditorCommands) set += command == ECTL_SETPARAM ? 1 : 0;
        return set;
    }
    std::string Item(const std::string& path, const std::string& extra) {
        return "<item type=\"editor\" path=\"" + path +
               "\" line=\"40\" column=\"2\" top=\"30\" left=\"0\" overtype=\"0\"" + extra + ">\r\n";
    }
};

TEST_F(NewerHostLayerTest, SettingsLiveUnderTheLayersRoot) {
    Start();
    EXPECT_EQ(LoadedModule().Line, HostLine::Far3Layer);
    EXPECT_STREQ(LoadedModule().PluginKey, (host().RootKey + "\\Tarnwick").c_str());
}

// There "modified" means "written at least once": a file edited and never
// saved shows neither bit, and its close must not keep the edits' place.
TEST_F(NewerHostLayerTest, EditsNeverSavedAreUnsavedAndTheirPlaceIsNotWritten) {
    WritePositions(ItemLine(plan_, Pos{12, 4, 3, 1, 1}));
    Start();
    Open(1, plan_);
    MoveTo(Pos{20, 3, 10, 0, 0}, ECSTATE_SAVED);  // clean
    MoveTo(Pos{90, 1, 80, 0, 1}, 0);              // edited, never saved
    CloseEditor(1);
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{20, 3, 10, 0, 0}));

    // Saved once and edited again: modified, not saved.
    Open(2, plan_);
    MoveTo(Pos{30, 0, 20, 0, 0}, ECSTATE_MODIFIED | ECSTATE_SAVED);
    MoveTo(Pos{31, 5, 20, 0, 0}, ECSTATE_MODIFIED);
    CloseEditor(2);
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{30, 0, 20, 0, 0}));
}

TEST_F(NewerHostLayerTest, TheOemPageAndFavouritesAreStoredButAnsiCannotBeTold) {
    Start();
    Open(1, plan_);
    StoreFromMenu();
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Oem);

    host().Editor.TableNum = 3;
    StoreFromMenu();
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Code);
    EXPECT_STREQ(place.Editor.Table.Name, "20866\xB3KOI8-R");

    // 1 is ANSI or UTF-8 or another multi-byte page alike.
    host().Editor.TableNum = 1;
    StoreFromMenu();
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Unknown);
    EXPECT_EQ(ReadPositions().find("table="), std::string::npos) << ReadPositions();
}

TEST_F(NewerHostLayerTest, AFavouriteIsFoundByNamePastAMultiByteOneWithoutTheOlderHostsRepair) {
    // Stored when KOI8-R was the first favourite; now a multi-byte page
    // stands before it.
    WritePositions(Item(plan_, " table=\"2 20866\xB3KOI8-R\""));
    Start();
    Open(1, plan_);
    EXPECT_EQ(host().Editor.TableNum, 3);
    EXPECT_EQ(ParametersSet(), 1) << "the layer keeps the table and the save-position option apart";
}

TEST_F(NewerHostLayerTest, AnEditorTheLayerShowsAsAnsiOrUtf8KeepsItsPageAndTheItemItsTable) {
    WritePositions(Item(plan_, " table=\"oem\""));
    Start();
    host().Editor.TableNum = 1;
    Open(1, plan_);
    EXPECT_EQ(ParametersSet(), 0);
    EXPECT_EQ(host().Editor.TableNum, 1);
    EXPECT_EQ(host().Editor.CurLine, 40) << "the place still comes back";
    MoveTo(Pos{41, 0, 30, 0, 0}, ECSTATE_SAVED);
    CloseEditor(1);
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Line, 41);
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Oem);
}

// A table named by the older host is not found here: the item keeps it for
// that host until the user picks a table here.
TEST_F(NewerHostLayerTest, AnOlderHostsTableIsKeptUntilOneIsChosenHere) {
    WritePositions(Item(plan_, " table=\"0 KOI8-R\""));
    Start();
    Open(1, plan_);
    EXPECT_EQ(ParametersSet(), 0);
    MoveTo(Pos{42, 0, 30, 0, 0}, ECSTATE_SAVED);
    CloseEditor(1);
    StoredPlace place;
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Line, 42);
    EXPECT_STREQ(place.Editor.Table.Name, "KOI8-R");

    Open(2, plan_);
    host().Editor.TableNum = 3;
    MoveTo(Pos{42, 0, 30, 0, 0}, ECSTATE_SAVED);
    host().Editor.TableNum = 0;  // and back: the choice was made
    MoveTo(Pos{43, 0, 30, 0, 0}, ECSTATE_SAVED);
    CloseEditor(2);
    ASSERT_TRUE(StoredPlaceOf(ItemKind::Editor, plan_, &place));
    EXPECT_EQ(place.Editor.Table.Kind, TableKind::Oem);
}

// A character the OEM page lacks becomes `?` (or a look-alike): that name
// stands for no file, or for another one.
TEST_F(NewerHostLayerTest, ANameTheConversionBrokeIsNeitherStoredNorRestored) {
    const std::string broken = File("r?sum?.txt");
    const std::string absent = File("resume.txt");  // a look-alike of a file that is not there
    WritePositions(Item(broken, "") + Item(absent, ""));
    Start();
    Open(1, broken);
    EXPECT_EQ(host().Editor.CurLine, 0);
    StoreFromMenu();
    Open(2, absent);
    EXPECT_EQ(host().Editor.CurLine, 0);
    StoreFromMenu();
    CloseEditor(1);
    CloseEditor(2);
    EXPECT_EQ(StoredCount(), 2) << "the two items stay as they were";

    Open(3, plan_);
    StoreFromMenu();
    EXPECT_EQ(StoredCount(), 3) << "a name that names its file is followed";
}

}  // namespace
}  // namespace plugintest
