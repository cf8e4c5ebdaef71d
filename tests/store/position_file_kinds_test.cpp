// Editor and viewer items side by side: two hosts sharing one file with
// both kinds, items taken whole from one side in a merge, and the purge.
#include "store/position_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "markup/markup_node.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::Host;
using store_testing::ItemLine;
using store_testing::Position;
using store_testing::ViewerAt;
using store_testing::WriteAsOtherHost;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

std::string ViewerLine(const std::string& path, long long offset, const std::string& more = "") {
    return "<item type=\"viewer\" path=\"" + path + "\" offset=\"" + std::to_string(offset) +
           "\" left=\"0\" hex=\"0\" wrap=\"0\"" + more + ">\r\n";
}

std::int64_t StoredOffset(PositionFile* file, const char* path) {
    StoredPlace place = EmptyPlace();
    return ReadItem(file, ItemKind::Viewer, path, &place) ? place.Viewer.Offset : -1000;
}

int StoredLine(PositionFile* file, const char* path) {
    StoredPlace place = EmptyPlace();
    return ReadItem(file, ItemKind::Editor, path, &place) ? place.Editor.Line : -1000;
}

class KindsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string cfg = dir.File("shared.cfg");
    Host a;
    Host b;
};

TEST_F(KindsTest, TwoHostsShareBothKindsAndEachKindIsMergedOnItsOwn) {
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(a.File, ItemKind::Editor, "f", Position(1)));
    ASSERT_TRUE(AddItem(a.File, ItemKind::Viewer, "f", ViewerAt(10)));
    ASSERT_TRUE(AddItem(a.File, ItemKind::Viewer, "g", ViewerAt(20)));
    ASSERT_TRUE(Save(a.File, cfg.c_str(), false));

    ASSERT_TRUE(Load(b.File, cfg.c_str()));
    EXPECT_EQ(2, CountItems(b.File, ItemKind::Viewer));
    EXPECT_EQ(1, CountItems(b.File, ItemKind::Editor));
    ASSERT_TRUE(WriteItem(b.File, ItemKind::Viewer, "f", ViewerAt(4294967296LL, 0, 1)));
    ASSERT_TRUE(WriteItem(b.File, ItemKind::Editor, "f", Position(7)));
    RemoveItem(b.File, ItemKind::Viewer, "g");
    ASSERT_TRUE(AddItem(b.File, ItemKind::Viewer, "h", ViewerAt(30)));
    ASSERT_TRUE(Save(b.File, cfg.c_str(), false));

    // Host a has "f" open in a viewer, not in an editor, and "g" in a viewer:
    // its viewer item of "f" keeps memory's copy, its editor item of "f"
    // takes the file's, "g" goes and a is told to forget its viewer.
    a.OpenViewer("f");
    a.OpenViewer("g");
    a.OpenEditor("g");
    ASSERT_TRUE(WriteAsOtherHost(cfg, ReadWholeFile(cfg)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    EXPECT_EQ(10, StoredOffset(a.File, "f"));
    EXPECT_EQ(7, StoredLine(a.File, "f"));
    EXPECT_EQ(-1000, StoredOffset(a.File, "g"));
    EXPECT_EQ(30, StoredOffset(a.File, "h"));
    EXPECT_FALSE(a.Editors.Has("g", ItemKind::Viewer));
    EXPECT_TRUE(a.Editors.Has("g", ItemKind::Editor));  // its editor item was never there
    EXPECT_EQ(2, CountItems(a.File, ItemKind::Viewer));
}

TEST_F(KindsTest, TheFilesCopyReplacesAnItemAtTheAttributeLimitWhole) {
    // Memory's item holds 32 attributes; the other host's copy has other
    // values, fewer extras and a bookmark memory lacks.
    std::string ours = "<item type=\"editor\" path=\"full\" line=\"1\" column=\"1\" top=\"1\" left=\"1\" overtype=\"1\"";
    for (int i = 0; i < markup::kMaxAttributes - 7; ++i) ours += " x" + std::to_string(i) + "=\"old\"";
    ours += ">\r\n";
    const std::string theirs = "<item type=\"editor\" path=\"full\" line=\"50\" x3=\"new\" bookmarks=\"2:9,9,9,9\" "
                               "column=\"5\">\r\n";
    ASSERT_TRUE(WriteWholeFile(cfg, ours + ViewerLine("v", 1, " zz=\"1\"")));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(WriteAsOtherHost(cfg, theirs + ViewerLine("v", 2)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(Save(a.File, cfg.c_str(), false));
    EXPECT_EQ(theirs + ViewerLine("v", 2), ReadWholeFile(cfg));

    // And the other way: the file's copy at the limit replaces a short one.
    ASSERT_TRUE(WriteAsOtherHost(cfg, ours + ViewerLine("v", 2)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(Save(a.File, cfg.c_str(), false));
    EXPECT_EQ(ours + ViewerLine("v", 2), ReadWholeFile(cfg));
}

TEST_F(KindsTest, AnItemOpenHereKeepsMemorysCopyAsItIs) {
    ASSERT_TRUE(WriteWholeFile(cfg, ViewerLine("v", 1, " mine=\"1\"") + ItemLine("v", 3)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    a.OpenViewer("v");
    ASSERT_TRUE(WriteAsOtherHost(cfg, ViewerLine("v", 2, " theirs=\"1\"") + ItemLine("v", 4)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(Save(a.File, cfg.c_str(), false));
    EXPECT_EQ(ViewerLine("v", 1, " mine=\"1\"") + ItemLine("v", 4), ReadWholeFile(cfg));
}

TEST_F(KindsTest, PurgeRemovesMissingFilesOfBothKindsButThoseOpenHereInTheirKind) {
    const std::string present = dir.File("present.txt");
    const std::string gone = dir.File("gone.txt");
    const std::string viewed = dir.File("viewed.txt");
    ASSERT_TRUE(WriteWholeFile(present, "x"));
    ASSERT_TRUE(WriteWholeFile(cfg, ViewerLine(present, 1) + ViewerLine(gone, 2) + ViewerLine(viewed, 3) +
                                        ItemLine(viewed, 4) + ItemLine(gone, 5)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    a.OpenViewer(viewed);  // open in a viewer: its viewer item stays, its editor item goes

    EXPECT_EQ(3, PurgeMissing(a.File, cfg.c_str()));
    EXPECT_EQ(ViewerLine(present, 1) + ViewerLine(viewed, 3), ReadWholeFile(cfg));
    EXPECT_EQ(2, CountItems(a.File, ItemKind::Viewer));
    EXPECT_EQ(0, CountItems(a.File, ItemKind::Editor));
}

TEST_F(KindsTest, APendingViewerChangeSurvivesAnotherHostsSave) {
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(a.File, ItemKind::Viewer, "v", ViewerAt(5)));
    // Not saved yet when another host writes the file.
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("e", 1)));
    ASSERT_TRUE(Load(a.File, cfg.c_str()));
    EXPECT_EQ(5, StoredOffset(a.File, "v"));  // not dropped by the merge: it is still to be written
    ASSERT_TRUE(Save(a.File, cfg.c_str(), false));
    EXPECT_EQ(ViewerLine("v", 5) + ItemLine("e", 1), ReadWholeFile(cfg));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
