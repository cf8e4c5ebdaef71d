// Following the editor: restore at open, tracking, writing on save and close.

#include "common/fault_env.h"
#include "plugin/editor_events.h"
#include "plugin/module.h"
#include "plugin_fixture.h"
#include "support/text.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

class EditorEventsTest : public PluginTest {
protected:
    std::string plan_ = File("Plan.txt");
    Pos stored_{12, 4, 3, 1, 1};

    void StartWithItem() {
        WritePositions(ItemLine(plan_, stored_));
        Start();
    }

    // The module's environment where a test counts its calls; it outlives
    // the module's use of it (the fixture's TearDown resets the module).
    ts::FaultEnv counting_{platform::Env::Default()};
};

TEST_F(EditorEventsTest, OpeningRestoresTheStoredPosition) {
    WritePositions(ItemLine(plan_, stored_));
    Start();
    // The host reports the name in another letter case: the same file.
    std::string upper = plan_;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    OpenEditor(1, upper, Pos{0, 0, 0, 0, 0});
    ASSERT_EQ(host().SetPositions.size(), 1u);
    const EditorSetPosition& moved = host().SetPositions[0];
    EXPECT_EQ(moved.CurLine, 12);
    EXPECT_EQ(moved.CurPos, 4);
    EXPECT_EQ(moved.CurTabPos, -1);
    EXPECT_EQ(moved.TopScreenLine, 3);
    EXPECT_EQ(moved.LeftPos, 1);
    EXPECT_EQ(moved.Overtype, 1);
    EXPECT_EQ(ts::ReadWholeFile(DefaultPositions()), ItemLine(plan_, stored_)) << "opening writes nothing";
}

TEST_F(EditorEventsTest, MissingAttributeKeepsTheOpeningValue) {
    WritePositions("<item type=\"editor\" path=\"" + plan_ + "\" line=\"8\" column=\"2\" left=\"0\" overtype=\"0\">\r\n");
    Start();
    OpenEditor(1, plan_, Pos{0, 0, 9, 0, 0});
    ASSERT_EQ(host().SetPositions.size(), 1u);
    EXPECT_EQ(host().SetPositions[0].CurLine, 8);
    EXPECT_EQ(host().SetPositions[0].TopScreenLine, 9);
}

TEST_F(EditorEventsTest, AutomaticOffTracksButNeverMovesOrWrites) {
    SetValue("Automatic", "0");
    StartWithItem();
    const std::string before = ReadPositions();
    OpenEditor(1, plan_, Pos{0, 0, 0, 0, 0});
    EXPECT_TRUE(host().SetPositions.empty());
    MoveTo(Pos{30, 1, 20, 0, 0});
    EXPECT_EQ(ProcessEditorEvent(EE_SAVE, nullptr), 0);

    // The record made at opening serves the menu's restore command.
    host().MenuAnswers.push_back({1, 0});
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    ASSERT_EQ(host().SetPositions.size(), 1u);
    EXPECT_EQ(host().SetPositions[0].CurLine, 12);

    CloseEditor(1);
    EXPECT_EQ(ReadPositions(), before);
    EXPECT_FALSE(Tracked(1));
}

TEST_F(EditorEventsTest, FileWithoutItemIsNotFollowed) {
    Start();
    OpenEditor(1, plan_);
    MoveTo(Pos{5, 5, 0, 0, 0});
    EXPECT_EQ(ProcessEditorEvent(EE_SAVE, nullptr), 0);
    CloseEditor(1);
    EXPECT_TRUE(host().SetPositions.empty());
    EXPECT_TRUE(host().ProcessNameMasks.empty()) << "no mask check while CheckMask is off";
    EXPECT_FALSE(ts::FileExists(DefaultPositions()));
}

TEST_F(EditorEventsTest, MaskCheckStoresMatchingFilesAtOpening) {
    SetValue("CheckMask", "1");
    SetValue("Mask", "*.txt;*.ini");
    Start();
    OpenEditor(1, plan_, Pos{5, 6, 2, 0, 0});
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos)) << "the item is added and saved at once";
    EXPECT_EQ(pos, (Pos{5, 6, 2, 0, 0}));
    EXPECT_EQ(host().ProcessNameMasks, std::vector<std::string>{"*.txt;*.ini"});

    OpenEditor(2, File("notes.doc"));
    EXPECT_FALSE(Stored(File("notes.doc"), nullptr));
    EXPECT_EQ(StoredCount(), 1);
}

TEST_F(EditorEventsTest, MaskCheckOnAFileWithAnItemStoresWhereTheRestoreWent) {
    SetValue("CheckMask", "1");
    SetValue("Mask", "*");
    StartWithItem();
    OpenEditor(1, plan_, Pos{0, 0, 0, 0, 0});
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, stored_);
    EXPECT_EQ(StoredCount(), 1);
}

TEST_F(EditorEventsTest, SaveWritesTheCurrentPosition) {
    StartWithItem();
    OpenEditor(1, plan_);
    MoveTo(Pos{40, 2, 30, 0, 0}, ECSTATE_MODIFIED);
    host().Editor.CurState = ECSTATE_SAVED;
    EXPECT_EQ(ProcessEditorEvent(EE_SAVE, nullptr), 0);
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{40, 2, 30, 0, 0}));
}

TEST_F(EditorEventsTest, CloseAfterUnsavedEditsWritesTheLastCleanPosition) {
    StartWithItem();
    OpenEditor(1, plan_);
    MoveTo(Pos{20, 3, 10, 0, 0});                     // clean
    MoveTo(Pos{25, 7, 10, 0, 1}, ECSTATE_MODIFIED);   // edited, not saved
    MoveTo(Pos{90, 1, 80, 0, 1}, ECSTATE_MODIFIED);
    const int queries = host().GetInfoCalls;
    CloseEditor(1);
    EXPECT_EQ(host().GetInfoCalls, queries) << "a closing editor is not asked for its state";
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{20, 3, 10, 0, 0}));
}

TEST_F(EditorEventsTest, EditorOpenedWithUnsavedChangesKeepsTheStoredPositionUntilClean) {
    StartWithItem();
    host().Editor.CurState = ECSTATE_MODIFIED;
    fakehost::SimulatedEditor& editor = host().Editor;
    editor.EditorID = 1;
    editor.FileName = plan_;
    EXPECT_EQ(ProcessEditorEvent(EE_READ, nullptr), 0);
    MoveTo(Pos{70, 0, 60, 0, 0}, ECSTATE_MODIFIED);
    CloseEditor(1);
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, stored_);
}

TEST_F(EditorEventsTest, TwoEditorsOnOneFileTheLastCloseWins) {
    StartWithItem();
    OpenEditor(1, plan_);
    OpenEditor(2, plan_);
    MoveTo(Pos{2, 2, 0, 0, 0});  // editor 2
    host().Editor.EditorID = 1;
    MoveTo(Pos{1, 1, 0, 0, 0});  // editor 1
    CloseEditor(1);
    Pos pos{};
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{1, 1, 0, 0, 0}));
    CloseEditor(2);
    ASSERT_TRUE(Stored(plan_, &pos));
    EXPECT_EQ(pos, (Pos{2, 2, 0, 0, 0}));
    EXPECT_EQ(StoredCount(), 1);
}

TEST_F(EditorEventsTest, ItemRemovedByAnotherHostIsNotRecreated) {
    std::string other = File("Other.txt");
    StartWithItem();
    OpenEditor(1, plan_);
    MoveTo(Pos{3, 3, 0, 0, 0});
    WritePositions(ItemLine(other, Pos{1, 2, 3, 4, 0}));  // another host's write
    CloseEditor(1);
    EXPECT_FALSE(Stored(plan_, nullptr));
    EXPECT_TRUE(Stored(other, nullptr));
    EXPECT_FALSE(Tracked(1));
}

TEST_F(EditorEventsTest, CloseOfAnUnknownEditorChangesNothing) {
    // Hand-written formatting would be normalised by any save.
    const std::string text = "<item  type=\"editor\"  path=\"" + plan_ + "\" line=\"12\">\n";
    for (const char* automatic : {"1", "0"}) {
        ResetModuleState(LoadedModule());
        SetValue("Automatic", automatic);
        WritePositions(text);
        Start();
        OpenEditor(1, plan_);
        CloseEditor(99);
        EXPECT_EQ(ReadPositions(), text) << "Automatic " << automatic;
        EXPECT_TRUE(Tracked(1));
        EXPECT_EQ(ProcessEditorEvent(EE_CLOSE, nullptr), 0);
    }
}

TEST_F(EditorEventsTest, OtherEventsDoNothing) {
    StartWithItem();
    host().Editor.FileName = plan_;
    for (int event : {-1, 4, 5, int{EE_GOTFOCUS}, int{EE_KILLFOCUS}, 1000}) {
        EXPECT_EQ(ProcessEditorEvent(event, nullptr), 0);
    }
    EXPECT_EQ(host().GetInfoCalls, 0);
    EXPECT_TRUE(host().SetPositions.empty());
}

TEST_F(EditorEventsTest, AnEditorWithoutANameOrWithAnOverlongNameIsNeverStored) {
    SetValue("CheckMask", "1");
    SetValue("Mask", "*");
    Start();
    host().Editor.NoFileName = true;
    EXPECT_EQ(ProcessEditorEvent(EE_READ, nullptr), 0);
    EXPECT_FALSE(PositionOp(LoadedModule(), PositionMode::Store));
    // A name longer than a path slot would be cut into another file's name.
    OpenEditor(2, File(std::string(300, 'n') + ".txt"));
    EXPECT_FALSE(PositionOp(LoadedModule(), PositionMode::Store));
    EXPECT_FALSE(ts::FileExists(DefaultPositions()));
    EXPECT_EQ(LoadedModule().Editors.Root, nullptr);
}

// PositionOp's results, one mode at a time, on the current editor.
TEST_F(EditorEventsTest, AnUntrackedEditorIsNeitherRefreshedNorRestored) {
    StartWithItem();
    host().Editor.EditorID = 5;
    host().Editor.FileName = plan_;
    EXPECT_TRUE(PositionOp(LoadedModule(), PositionMode::Reload));
    EXPECT_FALSE(PositionOp(LoadedModule(), PositionMode::Track)) << "not tracked yet";
    EXPECT_FALSE(PositionOp(LoadedModule(), PositionMode::Restore));
}

TEST_F(EditorEventsTest, LoadingTheStoredPositionStartsTrackingTheEditor) {
    StartWithItem();
    host().Editor.EditorID = 5;
    host().Editor.FileName = plan_;
    ASSERT_TRUE(PositionOp(LoadedModule(), PositionMode::Reload));
    EXPECT_TRUE(PositionOp(LoadedModule(), PositionMode::Load));
    EXPECT_TRUE(PositionOp(LoadedModule(), PositionMode::Track));
    EXPECT_TRUE(PositionOp(LoadedModule(), PositionMode::Restore));
}

TEST_F(EditorEventsTest, AModeOutsideTheEnumerationDoesNothing) {
    StartWithItem();
    host().Editor.EditorID = 5;
    host().Editor.FileName = plan_;
    ASSERT_TRUE(PositionOp(LoadedModule(), PositionMode::Reload));
    EXPECT_FALSE(PositionOp(LoadedModule(), static_cast<PositionMode>(7)));
    EXPECT_FALSE(Tracked(5));
}

TEST_F(EditorEventsTest, AFileWithoutAnItemCannotBeLoadedButCanBeStored) {
    StartWithItem();
    host().Editor.FileName = File("unknown.txt");
    host().Editor.EditorID = 6;
    ASSERT_TRUE(PositionOp(LoadedModule(), PositionMode::Reload));
    EXPECT_FALSE(PositionOp(LoadedModule(), PositionMode::Load));
    EXPECT_TRUE(PositionOp(LoadedModule(), PositionMode::Store));
    EXPECT_EQ(StoredCount(), 2);
}

// Tracking runs on every screen refresh: it takes no memory at all, with
// clean and unsaved states alike, among many stored files.
TEST_F(EditorEventsTest, RedrawTakesNoHeapMemory) {
    std::string content;
    for (int i = 0; i < 500; ++i) content += ItemLine(File("f" + std::to_string(i) + ".txt"), Pos{i, 0, 0, 0, 0});
    WritePositions(content + ItemLine(plan_, stored_));
    LoadedModule().Env = &counting_;
    Start();
    OpenEditor(1, plan_);
    ASSERT_TRUE(Tracked(1));

    const int allocations = counting_.Calls(ts::FaultEnv::Op::Alloc);
    const int opens = counting_.Calls(ts::FaultEnv::Op::Open);
    for (int i = 0; i < 200; ++i) MoveTo(Pos{i, i % 7, 0, 0, 0}, i % 2 == 0 ? DWORD_T{0} : DWORD_T{ECSTATE_MODIFIED});
    EXPECT_EQ(allocations, counting_.Calls(ts::FaultEnv::Op::Alloc));
    EXPECT_EQ(opens, counting_.Calls(ts::FaultEnv::Op::Open)) << "a redraw touches no file";
}

// Saved under another name, the editor is followed under that name: its
// close writes the new name's item, and the file counts as open here.
TEST_F(EditorEventsTest, AnEditorSavedUnderAnotherNameIsFollowedUnderIt) {
    const std::string copy = File("Copy.txt");
    WritePositions(ItemLine(plan_, stored_) + ItemLine(copy, Pos{1, 1, 0, 0, 0}));
    Start();
    OpenEditor(1, plan_);
    host().Editor.FileName = copy;
    MoveTo(Pos{30, 2, 20, 0, 0});
    EXPECT_TRUE(ContainsPath(LoadedModule().Editors, ItemKind::Editor, copy.c_str(), FoldedHash(copy.c_str())));
    CloseEditor(1);
    Pos stored;
    ASSERT_TRUE(Stored(copy, &stored));
    EXPECT_EQ(stored, (Pos{30, 2, 20, 0, 0}));
    ASSERT_TRUE(Stored(plan_, &stored));
    EXPECT_EQ(stored, stored_);
}

}  // namespace
}  // namespace plugintest
