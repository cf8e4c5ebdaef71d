// Following the viewer: its place restored at open, written when it
// leaves the file, and the menu in the viewer.

#include "plugin/module.h"
#include "plugin/saved_positions.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

// Ten lines of ten bytes: line n starts at offset 10 n.
const char kTenLines[] = "line 0000\nline 0001\nline 0002\nline 0003\nline 0004\n"
                         "line 0005\nline 0006\nline 0007\nline 0008\nline 0009\n";

class ViewerEventsTest : public PluginTest {
protected:
    std::string log_ = File("build.log");
    std::string notes_ = File("notes.txt");

    std::string ViewerItem(const std::string& path, long long offset, int left, int hex, int wrap) {
        return "<item type=\"viewer\" path=\"" + path + "\" offset=\"" + std::to_string(offset) + "\" left=\"" +
               std::to_string(left) + "\" hex=\"" + std::to_string(hex) + "\" wrap=\"" + std::to_string(wrap) +
               "\">\r\n";
    }

    // The current viewer becomes `id` on `path`, at its start, and reads.
    void OpenViewer(int id, const std::string& path) {
        hostkit::OneViewer& viewer = host().Viewer;
        viewer.ViewerID = id;
        viewer.FileName = path;
        viewer.Text = kTenLines;
        viewer.FilePos = 0;
        viewer.LeftPos = 0;
        EXPECT_EQ(ProcessViewerEvent(VE_READ, nullptr), 0);
    }
    void Event(int event, int id) {
        int viewerId = id;
        EXPECT_EQ(ProcessViewerEvent(event, &viewerId), 0);
    }
    ViewerPlace StoredViewer(const std::string& path, bool* found = nullptr) {
        StoredPlace place;
        const bool there = StoredPlaceOf(ItemKind::Viewer, path, &place);
        if (found != nullptr) *found = there;
        return place.Viewer;
    }
};

TEST_F(ViewerEventsTest, AStoredOffsetComesBackExactlyInTextHexAndWrapModes) {
    WritePositions(ViewerItem(log_, 30, 2, 0, 0) + ViewerItem(notes_, 37, 0, 1, 0) +
                   ViewerItem(File("wrapped.txt"), 50, 0, 0, 2));
    Start();
    OpenViewer(1, log_);
    EXPECT_EQ(host().Viewer.FilePos, 30) << "the start of line 3, past the host's step back";
    EXPECT_EQ(host().Viewer.LeftPos, 2);
    Event(VE_CLOSE, 1);

    OpenViewer(2, notes_);
    EXPECT_EQ(host().Viewer.Hex, 1);
    EXPECT_EQ(host().Viewer.FilePos, 37) << "hex mode takes any offset as it is";
    Event(VE_CLOSE, 2);

    OpenViewer(3, File("wrapped.txt"));
    EXPECT_EQ(host().Viewer.Wrap, 1);
    EXPECT_EQ(host().Viewer.WordWrap, 1);
    EXPECT_EQ(host().Viewer.FilePos, 50);
}

TEST_F(ViewerEventsTest, ClosingWritesWhereTheViewerWasLeftButNothingWhenUnmoved) {
    WritePositions(ViewerItem(log_, 30, 0, 0, 0));
    Start();
    OpenViewer(1, log_);
    const std::string before = ReadPositions();
    Event(VE_CLOSE, 1);
    EXPECT_EQ(ReadPositions(), before) << "an unmoved viewer writes nothing";

    OpenViewer(1, log_);
    host().Viewer.FilePos = 70;
    host().Viewer.Hex = 1;
    Event(VE_CLOSE, 1);
    const ViewerPlace stored = StoredViewer(log_);
    EXPECT_EQ(stored.Offset, 70);
    EXPECT_EQ(stored.Hex, 1);
    EXPECT_EQ(stored.Table.Kind, TableKind::Oem);
}

TEST_F(ViewerEventsTest, UnicodeOffsetsAreStoredInBytes) {
    WritePositions(ViewerItem(log_, 0, 0, 1, 0));
    Start();
    OpenViewer(1, log_);
    host().Viewer.Unicode = 1;
    host().Viewer.FilePos = 40;  // bytes; the host reports 20 characters
    Event(VE_CLOSE, 1);
    const ViewerPlace stored = StoredViewer(log_);
    EXPECT_EQ(stored.Offset, 40);
    EXPECT_EQ(stored.Table.Kind, TableKind::Unicode);
}

// Gray+ reads the next file into the same viewer: the old file gets the
// place seen last (here at a focus change); the new one is restored.
TEST_F(ViewerEventsTest, MovingToTheNextFileWritesTheOldOneAndRestoresTheNew) {
    WritePositions(ViewerItem(log_, 10, 0, 0, 0) + ViewerItem(notes_, 80, 0, 0, 0));
    Start();
    OpenViewer(1, log_);
    host().Viewer.FilePos = 60;
    Event(VE_KILLFOCUS, 1);
    Event(VE_GOTFOCUS, 1);
    OpenViewer(1, notes_);
    EXPECT_EQ(StoredViewer(log_).Offset, 60);
    EXPECT_EQ(host().Viewer.FilePos, 80);
}

TEST_F(ViewerEventsTest, AtTheHostsExitTheCloseWritesThePlaceSeenLast) {
    WritePositions(ViewerItem(log_, 10, 0, 0, 0));
    Start();
    OpenViewer(1, log_);
    host().Viewer.FilePos = 50;
    Event(VE_KILLFOCUS, 1);
    host().Viewer.FilePos = 90;  // never seen: no event came
    host().Closing = true;
    Event(VE_CLOSE, 1);
    EXPECT_EQ(StoredViewer(log_).Offset, 50);
}

TEST_F(ViewerEventsTest, AMatchingFileGetsAnItemOnceTheViewerIsMovedOnIt) {
    SetValue("CheckMask", "1");
    SetValue("Mask", "*.log");
    Start();
    OpenViewer(1, log_);
    Event(VE_CLOSE, 1);
    bool found = true;
    StoredViewer(log_, &found);
    EXPECT_FALSE(found) << "left at the start it opened at: nothing to remember";

    OpenViewer(1, log_);
    host().Viewer.FilePos = 20;
    Event(VE_CLOSE, 1);
    EXPECT_EQ(StoredViewer(log_, &found).Offset, 20);
    EXPECT_TRUE(found);

    OpenViewer(2, notes_);
    host().Viewer.FilePos = 20;
    Event(VE_CLOSE, 2);
    StoredViewer(notes_, &found);
    EXPECT_FALSE(found) << "neither stored nor matching the mask";
}

TEST_F(ViewerEventsTest, AutomaticOffNeitherMovesNorWrites) {
    SetValue("Automatic", "0");
    WritePositions(ViewerItem(log_, 30, 0, 0, 0));
    Start();
    const std::string before = ReadPositions();
    OpenViewer(1, log_);
    EXPECT_EQ(host().Viewer.FilePos, 0);
    host().Viewer.FilePos = 60;
    Event(VE_CLOSE, 1);
    EXPECT_EQ(ReadPositions(), before);
}

TEST_F(ViewerEventsTest, TheMenuInTheViewerStoresAndRestoresTheViewer) {
    Start();
    OpenViewer(1, log_);
    host().Viewer.FilePos = 40;
    host().Viewer.Wrap = 1;
    host().MenuAnswers.push_back({0, 0});  // store
    EXPECT_EQ(OpenPlugin(OPEN_VIEWER, 0), kInvalidHandle);
    ASSERT_EQ(host().Menus.size(), 1u);
    EXPECT_EQ(host().Menus[0].ItemFlags[1], static_cast<DWORD_T>(MIF_DISABLE)) << "nothing to restore yet";
    EXPECT_EQ(StoredViewer(log_).Offset, 40);
    EXPECT_EQ(StoredViewer(log_).Wrap, kWrapLines);

    host().Viewer.FilePos = 0;
    host().Viewer.Wrap = 0;
    host().MenuAnswers.push_back({1, 0});  // restore
    EXPECT_EQ(OpenPlugin(OPEN_VIEWER, 0), kInvalidHandle);
    EXPECT_EQ(host().Viewer.FilePos, 40);
    EXPECT_EQ(host().Viewer.Wrap, 1);
    EXPECT_EQ(host().Menus[1].Texts[0], "Update position") << "the file has an item now";
    EXPECT_EQ(host().Editor.CurLine, 0) << "the editor was not touched";
}

// Both kinds are listed, each with its type; deleting one leaves the other.
TEST_F(ViewerEventsTest, TheListShowsBothKindsAndDeletesOnlyTheChosenOne) {
    WritePositions(ItemLine(log_, Pos{1, 0, 0, 0, 0}) + ViewerItem(log_, 30, 0, 0, 0));
    Start();
    host().MenuAnswers.push_back({1, 0});  // Del on the second entry
    host().MessageAnswers.push_back(0);    // yes
    host().MenuAnswers.push_back({-1, -1});
    ShowSavedPositions(LoadedModule());
    ASSERT_EQ(host().Menus.size(), 2u);
    EXPECT_EQ(host().Menus[1].Texts.size(), 1u);
    const std::vector<std::string>& lines = host().Menus[0].Texts;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("editor: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("viewer: ", 0), 0u) << lines[1];
    bool found = true;
    StoredViewer(log_, &found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(Stored(log_, nullptr));
}

}  // namespace
}  // namespace plugintest
