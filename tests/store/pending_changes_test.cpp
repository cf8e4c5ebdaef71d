// Changes that a save could not write: kept in memory, made again over
// another host's file at every merge, written by the next save that
// succeeds; and the update lock as the store uses it.
#include "store/pending_changes.h"

#include <gtest/gtest.h>

#include <string>

#include "common/fault_env.h"
#include "common/system_tools.h"
#include "common/test_support.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::HasItem;
using store_testing::ItemLine;
using store_testing::Position;
using store_testing::PutItem;
using store_testing::StoredLine;
using store_testing::WriteAsOtherHost;
using testing_support::FaultEnv;
using testing_support::ReadWholeFile;
using Op = FaultEnv::Op;
using Fault = FaultEnv::Fault;
using Paths = std::vector<std::string>;

class PendingChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        cfg_ = temp_.File("Tarnwick.cfg");
        ASSERT_TRUE(testing_support::WriteWholeFile(cfg_, ItemLine("A", 1) + ItemLine("B", 2)));
        ASSERT_TRUE(Load(host_.File, file()));
    }
    const char* file() const { return cfg_.c_str(); }
    // The next replace meets a reader that keeps the file for good.
    void HoldFileOpen() { env_.FailAt(Op::Rename, 1, Fault::Busy, -1); }
    void ReleaseFile() { env_.FailAt(Op::Rename, 1, Fault::None, 0); }

    testing_support::TempDir temp_;
    std::string cfg_;
    FaultEnv env_{platform::Env::Default()};
    store_testing::Host host_{&env_};
};

TEST_F(PendingChangesTest, AChangeASaveCouldNotWriteIsWrittenByTheNextSave) {
    HoldFileOpen();
    ASSERT_TRUE(PutItem(host_.File, "C", Position(3)));
    ASSERT_TRUE(WriteItem(host_.File, ItemKind::Editor, "A", Position(7)));
    EXPECT_FALSE(Save(host_.File, file(), true));
    EXPECT_EQ(ItemLine("A", 1) + ItemLine("B", 2), ReadWholeFile(cfg_));
    EXPECT_TRUE(HasPending(host_.File));

    ReleaseFile();
    ASSERT_TRUE(Save(host_.File, file(), true));
    EXPECT_EQ(ItemLine("C", 3) + ItemLine("A", 7) + ItemLine("B", 2), ReadWholeFile(cfg_));
    EXPECT_FALSE(HasPending(host_.File));
}

TEST_F(PendingChangesTest, FullDiskAndRefusedFolderKeepTheChangeToo) {
    env_.FailAt(Op::Write, 1, Fault::DiskFull);
    ASSERT_TRUE(PutItem(host_.File, "A", Position(5)));
    EXPECT_FALSE(Save(host_.File, file(), true));
    env_.FailAt(Op::Create, 1, Fault::Denied);
    EXPECT_FALSE(Save(host_.File, file(), true));
    EXPECT_TRUE(HasPending(host_.File));
    env_.FailAt(Op::Write, 1, Fault::None, 0);
    ASSERT_TRUE(Save(host_.File, file(), true));
    EXPECT_EQ(ItemLine("A", 5) + ItemLine("B", 2), ReadWholeFile(cfg_));
    // No temporary file of the failed saves is left.
    EXPECT_EQ(Paths{"Tarnwick.cfg"}, testing_support::ListFolder(temp_.path()));
}

TEST_F(PendingChangesTest, AnotherHostsFileMergedMeanwhileNeitherOverridesNorBringsBack) {
    HoldFileOpen();
    host_.OpenEditor("C");
    ASSERT_TRUE(PutItem(host_.File, "C", Position(3)));   // new, only in memory
    ASSERT_TRUE(PutItem(host_.File, "A", Position(8)));   // changed
    RemoveItem(host_.File, ItemKind::Editor, "B");                            // deleted
    EXPECT_FALSE(Save(host_.File, file(), true));

    // Another host rewrites the file: A and B with its own values, D new.
    ASSERT_TRUE(WriteAsOtherHost(cfg_, ItemLine("D", 4) + ItemLine("A", 11) + ItemLine("B", 12)));
    ASSERT_TRUE(Load(host_.File, file()));
    EXPECT_EQ(8, StoredLine(host_.File, "A"));
    EXPECT_EQ(3, StoredLine(host_.File, "C"));
    EXPECT_EQ(4, StoredLine(host_.File, "D"));
    EXPECT_FALSE(HasItem(host_.File, "B"));
    // The editor on C is still followed: its item is on its way to disk.
    EXPECT_TRUE(host_.HasRecordFor("C"));

    ReleaseFile();
    ASSERT_TRUE(Save(host_.File, file(), true));
    store_testing::Host fresh;
    ASSERT_TRUE(Load(fresh.File, file()));
    EXPECT_EQ(8, StoredLine(fresh.File, "A"));
    EXPECT_EQ(3, StoredLine(fresh.File, "C"));
    EXPECT_EQ(4, StoredLine(fresh.File, "D"));
    EXPECT_FALSE(HasItem(fresh.File, "B"));

    // Written: another host's later change is taken over again.
    ASSERT_TRUE(WriteAsOtherHost(cfg_, ItemLine("A", 20) + ItemLine("B", 21)));
    ASSERT_TRUE(Load(host_.File, file()));
    EXPECT_EQ(20, StoredLine(host_.File, "A"));
    EXPECT_EQ(21, StoredLine(host_.File, "B"));
}

TEST_F(PendingChangesTest, TheNewestChangeOfAnItemWins) {
    HoldFileOpen();
    RemoveItem(host_.File, ItemKind::Editor, "A");
    ASSERT_TRUE(PutItem(host_.File, "A", Position(30)));
    ASSERT_TRUE(PutItem(host_.File, "B", Position(31)));
    RemoveItem(host_.File, ItemKind::Editor, "B");
    ASSERT_TRUE(PutItem(host_.File, "B", Position(32)));
    ASSERT_TRUE(PutItem(host_.File, "B", Position(33)));
    EXPECT_FALSE(Save(host_.File, file(), true));
    ASSERT_TRUE(WriteAsOtherHost(cfg_, ItemLine("A", 1) + ItemLine("B", 2)));
    ASSERT_TRUE(Load(host_.File, file()));
    EXPECT_EQ(30, StoredLine(host_.File, "A"));
    EXPECT_EQ(33, StoredLine(host_.File, "B"));
    EXPECT_TRUE(IsPendingPlace(*host_.File.get(), ItemKind::Editor, "b"));
    EXPECT_FALSE(IsPendingPlace(*host_.File.get(), ItemKind::Editor, "Z"));
}

TEST_F(PendingChangesTest, PurgedItemsStayPurgedWhenTheSaveFails) {
    const std::string gone = temp_.File("gone.txt");
    const std::string kept = temp_.File("kept.txt");
    ASSERT_TRUE(testing_support::WriteWholeFile(kept, "text"));
    ASSERT_TRUE(WriteAsOtherHost(cfg_, ItemLine(gone, 1) + ItemLine(kept, 2)));
    ASSERT_TRUE(Load(host_.File, file()));
    HoldFileOpen();
    EXPECT_EQ(1, PurgeMissing(host_.File, file()));
    ASSERT_TRUE(WriteAsOtherHost(cfg_, ItemLine(gone, 1) + ItemLine(kept, 5)));
    ASSERT_TRUE(Load(host_.File, file()));
    EXPECT_FALSE(HasItem(host_.File, gone));
    ReleaseFile();
    ASSERT_TRUE(Save(host_.File, file(), true));
    EXPECT_EQ(ItemLine(kept, 5), ReadWholeFile(cfg_));
}

TEST_F(PendingChangesTest, CloseForgetsThePendingChanges) {
    FaultEnv env(platform::Env::Default());
    store_testing::OpenedFile closed(&env);
    ASSERT_TRUE(Load(closed, file()));
    env.FailAt(Op::Rename, 1, Fault::Busy, -1);
    ASSERT_TRUE(PutItem(closed, "C", Position(3)));
    RemoveItem(closed, ItemKind::Editor, "A");
    EXPECT_FALSE(Save(closed, file(), true));
    EXPECT_TRUE(HasPending(closed));
    closed.Close();
    EXPECT_EQ(0, env.Live()) << "a change or the document was not released";
}

// Whether the folder lists the lock file (opening it would be refused on
// Windows while it is held).
bool LockFileThere(const testing_support::TempDir& dir) {
    for (const std::string& name : testing_support::ListFolder(dir.path())) {
        if (name == "Tarnwick.cfg.twlock") return true;
    }
    return false;
}

TEST_F(PendingChangesTest, TheLockIsHeldFromBeginToEndAndLeavesNoFile) {
    ASSERT_TRUE(BeginUpdate(host_.File, file()));
    EXPECT_TRUE(LockFileThere(temp_));
    // Nested updates keep it.
    EXPECT_TRUE(BeginUpdate(host_.File, file()));
    EndUpdate(host_.File);
    EXPECT_NE(nullptr, host_.File.get()->UpdateLock);

    // Another host waits for it and goes on without it after a while.
    store_testing::Host other;
    EXPECT_FALSE(BeginUpdate(other.File, file()));
    EXPECT_TRUE(other.File.get()->LockStuck);
    EndUpdate(other.File);
    EndUpdate(host_.File);
    EXPECT_EQ(nullptr, host_.File.get()->UpdateLock);
    EXPECT_FALSE(LockFileThere(temp_));

    // Now it has it at once, and the wait is long again.
    EXPECT_TRUE(BeginUpdate(other.File, file()));
    EXPECT_FALSE(other.File.get()->LockStuck);
    EndUpdate(other.File);
    EndUpdate(other.File);  // one too many: nothing happens
    EXPECT_EQ(0, other.File.get()->UpdateDepth);
    EXPECT_FALSE(LockFileThere(temp_));
}

TEST_F(PendingChangesTest, ALockThatCannotBeMadeLetsTheUpdateGoOnAtOnce) {
    env_.FailAt(Op::Lock, 1, Fault::Denied);
    EXPECT_FALSE(BeginUpdate(host_.File, file()));
    EXPECT_EQ(1, env_.Calls(Op::Lock));
    EXPECT_FALSE(host_.File.get()->LockStuck);
    ASSERT_TRUE(PutItem(host_.File, "A", Position(9)));
    EXPECT_TRUE(Save(host_.File, file(), true));
    EndUpdate(host_.File);
    EXPECT_EQ(ItemLine("A", 9) + ItemLine("B", 2), ReadWholeFile(cfg_));

    // Busy: tried again until it is free.
    env_.FailAt(Op::Lock, 1, Fault::Busy, 3);
    EXPECT_TRUE(BeginUpdate(host_.File, file()));
    EXPECT_EQ(5, env_.Calls(Op::Lock));
    EndUpdate(host_.File);
}

TEST(StaleTempFiles, ASaveRemovesLeftoversOfDeadOrOldSavesOnly) {
    testing_support::TempDir dir;
    const std::string cfg = dir.File("Tarnwick.cfg");
    platform::Env* env = platform::Env::Default();
    // A process that ran and ended: its id names no process now.
    testing_support::ChildProcess ended;
    ASSERT_TRUE(ended.Start(testing_support::SiblingProgram("position_host"), {}));
    const std::uint32_t deadId = ended.Id();
    ended.Wait();
    const std::string own = std::to_string(env->ProcessId());
    const std::string dead = cfg + "." + std::to_string(deadId) + ".1.tmp";
    const std::string fresh = cfg + "." + own + ".900.tmp";
    const std::string old = cfg + "." + own + ".901.tmp";
    const Paths foreign = {cfg + ".tmp", cfg + ".x.1.tmp", cfg + "." + std::to_string(deadId) + ".tmp",
                           dir.File("Other.cfg." + std::to_string(deadId) + ".1.tmp"), cfg + ".bak"};
    for (const std::string& path : Paths{dead, fresh, old}) ASSERT_TRUE(testing_support::WriteWholeFile(path, "x"));
    for (const std::string& path : foreign) ASSERT_TRUE(testing_support::WriteWholeFile(path, "mine"));
    platform::FileTime now = env->CurrentTime();
    ASSERT_TRUE(store_testing::SetTime(old, store_testing::ShiftTime(now, -120)));

    store_testing::Host host;
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "A", Position(1)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));

    EXPECT_FALSE(testing_support::FileExists(dead));
    EXPECT_FALSE(testing_support::FileExists(old));
    EXPECT_TRUE(testing_support::FileExists(fresh));  // a save of this process under way
    for (const std::string& path : foreign) EXPECT_EQ("mine", ReadWholeFile(path)) << path;
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
