// Several hosts on one position file: turns, a file held by another host,
// readers blocking a replace, leftovers of crashed saves, items this host
// cannot name. Many host processes at once: position_file_processes_test.
#include "store/position_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "common/test_support.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {

namespace {

using store_testing::HasItem;
using store_testing::Host;
using store_testing::ItemLine;
using store_testing::ItemPaths;
using store_testing::Position;
using store_testing::StoredLine;
using store_testing::WriteAsOtherHost;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;
using Paths = std::vector<std::string>;

// Lets the file clock move on between the turns of two hosts: two saves of
// the same size within one tick of the file system's clock look alike.
void NextTurn() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

TEST(PositionFileSharing, TwoHostsTakingTurnsSeeEachOthersChanges) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    const char* file = cfg.c_str();
    Host a;
    Host b;

    ASSERT_TRUE(Load(a.File, file));
    ASSERT_TRUE(AddItem(a.File, ItemKind::Editor, "X", Position(1)));
    ASSERT_TRUE(Save(a.File, file, false));
    NextTurn();

    ASSERT_TRUE(Load(b.File, file));
    EXPECT_EQ((Paths{"X"}), ItemPaths(b.File));
    ASSERT_TRUE(AddItem(b.File, ItemKind::Editor, "Y", Position(2)));
    ASSERT_TRUE(WriteItem(b.File, ItemKind::Editor, "X", Position(5)));
    ASSERT_TRUE(Save(b.File, file, false));
    NextTurn();

    ASSERT_TRUE(Load(a.File, file));
    EXPECT_EQ((Paths{"Y", "X"}), ItemPaths(a.File));
    EXPECT_EQ(5, StoredLine(a.File, "X"));
    a.OpenEditor("X");
    RemoveItem(a.File, ItemKind::Editor, "Y");
    ASSERT_TRUE(Save(a.File, file, false));
    NextTurn();

    b.OpenEditor("Y");
    ASSERT_TRUE(Load(b.File, file));
    EXPECT_EQ((Paths{"X"}), ItemPaths(b.File));
    EXPECT_FALSE(b.HasRecordFor("Y"));
    ASSERT_TRUE(WriteItem(b.File, ItemKind::Editor, "X", Position(9)));
    ASSERT_TRUE(AddItem(b.File, ItemKind::Editor, "Z", Position(3)));
    ASSERT_TRUE(Save(b.File, file, false));
    NextTurn();

    // X is open in an editor of host a: its own value stays and is saved.
    ASSERT_TRUE(Load(a.File, file));
    EXPECT_EQ((Paths{"Z", "X"}), ItemPaths(a.File));
    EXPECT_EQ(5, StoredLine(a.File, "X"));
    ASSERT_TRUE(Save(a.File, file, false));
    NextTurn();

    ASSERT_TRUE(Load(b.File, file));
    EXPECT_EQ((Paths{"Z", "X"}), ItemPaths(b.File));
    EXPECT_EQ(5, StoredLine(b.File, "X"));
}

TEST(PositionFileSharing, FileHeldByAnotherHostIsNotTakenForAbsent) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    const std::string gone = dir.File("gone.txt");
    Host host;
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("A", 1) + ItemLine("B", 2) + ItemLine(gone, 3)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    host.OpenEditor("B");

    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("A", 1) + ItemLine("B", 2) + ItemLine(gone, 3) + ItemLine("C", 4)));
    {
        store_testing::WriterLock lock(cfg);
        ASSERT_TRUE(lock.Held());
        EXPECT_FALSE(Load(host.File, cfg.c_str()));
        EXPECT_EQ((Paths{"A", "B", gone}), ItemPaths(host.File));
        EXPECT_TRUE(host.HasRecordFor("B"));

        // Nothing is purged from a copy that could not be brought up to date.
        EXPECT_EQ(0, PurgeMissing(host.File, cfg.c_str()));
        EXPECT_TRUE(HasItem(host.File, gone));
        EXPECT_FALSE(Save(host.File, cfg.c_str(), true));

        // A host without a document gets none.
        Host fresh;
        EXPECT_FALSE(Load(fresh.File, cfg.c_str()));
        EXPECT_FALSE(AddItem(fresh.File, ItemKind::Editor, "x", Position(1)));  // no document to add to
    }

    // The items survive into the next save.
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("A", 1) + ItemLine("B", 2) + ItemLine(gone, 3), ReadWholeFile(cfg));
}

TEST(PositionFileSharing, SaveMeetingAReaderFailsAndLeavesTheFileWhole) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    Host host;
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("A", 1)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "B", Position(2)));

    platform::File* reader = nullptr;
    ASSERT_EQ(platform::Status::Ok, platform::Env::Default()->OpenForRead(cfg.c_str(), &reader));
    EXPECT_FALSE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("A", 1), ReadWholeFile(cfg));
    platform::Env::Default()->CloseFile(reader);

    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("B", 2) + ItemLine("A", 1), ReadWholeFile(cfg));
}

TEST(PositionFileSharing, LeftoversOfCrashedSavesDoNotBlockSaving) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    ASSERT_TRUE(WriteWholeFile(cfg + ".tmp", "stale"));
    for (int n = 0; n < 16; ++n) {
        ASSERT_TRUE(WriteWholeFile(cfg + "." + std::to_string(platform::Env::Default()->ProcessId()) + "." + std::to_string(n) + ".tmp",
                                   "stale"));
    }
    Host host;
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "A", Position(1)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("A", 1), ReadWholeFile(cfg));
}

TEST(PositionFileSharing, PurgeKeepsItemsWhoseFilesCannotBeChecked) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    const std::string undecidable = testing_support::UndecidablePath(dir.path());
    ASSERT_FALSE(undecidable.empty());
    ASSERT_NE(platform::Status::NotFound, platform::Env::Default()->ProbePath(undecidable.c_str()));
    ASSERT_NE(platform::Status::Exists, platform::Env::Default()->ProbePath(undecidable.c_str()));
    const std::string gone = dir.File("gone.txt");

    Host host;
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine(undecidable, 1) + ItemLine(gone, 2)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(1, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ(ItemLine(undecidable, 1), ReadWholeFile(cfg));
}

TEST(PositionFileSharing, ItemsTooLongToNameAreLeftAlone) {
    TempDir dir;
    const std::string cfg = dir.File("shared.cfg");
    const std::string longPath = dir.File(std::string(300, 'p'));
    const std::string longType(25, 't');
    const std::string kept = ItemLine(longPath, 1) + ItemLine(dir.File("t.txt"), 2, 0, 0, 0, 0, longType);

    Host host;
    ASSERT_TRUE(WriteWholeFile(cfg, kept + ItemLine(dir.File("gone.txt"), 3)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(1, CountItems(host.File, ItemKind::Editor));
    EXPECT_FALSE(HasItem(host.File, longPath));
    EXPECT_FALSE(HasItem(host.File, longPath.substr(0, 259)));
    EXPECT_FALSE(WriteItem(host.File, ItemKind::Editor, longPath.c_str(), Position(9)));
    EXPECT_FALSE(AddItem(host.File, ItemKind::Editor, longPath.c_str(), Position(9)));

    // Both files are missing; only the item it can name is purged.
    EXPECT_EQ(1, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ(kept, ReadWholeFile(cfg));

    // The merge neither drops them nor takes over another host's.
    const std::string otherLong = ItemLine(dir.File(std::string(280, 'q')), 4);
    ASSERT_TRUE(WriteAsOtherHost(cfg, otherLong + ItemLine("n", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("n", 5) + kept, ReadWholeFile(cfg));

    // A position file path that does not fit is refused, not cut.
    const std::string longCfg = dir.File(std::string(270, 'c'));
    EXPECT_FALSE(Load(host.File, longCfg.c_str()));
    EXPECT_EQ(1, CountItems(host.File, ItemKind::Editor));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
