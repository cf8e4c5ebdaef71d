// After a save the next Load knows the file on disk is this host's own
// write and reads nothing; a file another host put there since is read,
// even one of the same size and the same last-write time.
#include <gtest/gtest.h>

#include <string>

#include "common/fault_env.h"
#include "common/test_support.h"
#include "store/position_file.h"
#include "store/replace_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::GetTimeAndSize;
using store_testing::Host;
using store_testing::ItemLine;
using store_testing::Position;
using store_testing::SetTime;
using store_testing::StoredLine;
using testing_support::FaultEnv;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

class OwnWriteTest : public ::testing::Test {
protected:
    // Loaded from a file of one item, changed and saved.
    void LoadChangeAndSave() {
        ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("C:\\A.txt", 1)));
        ASSERT_TRUE(Load(host.File, cfg.c_str()));
        ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "C:\\A.txt", Position(2)));
        ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
        ASSERT_EQ(ItemLine("C:\\A.txt", 2), ReadWholeFile(cfg));
    }
    // Puts `content` in place as another host saves it: a new file.
    void ReplaceAsOtherHost(const std::string& content) {
        ASSERT_EQ(platform::Status::Ok,
                  ReplaceFileContent(platform::Env::Default(), cfg.c_str(), content.data(),
                                     static_cast<std::uint32_t>(content.size())));
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    FaultEnv env{platform::Env::Default()};
    Host host{&env};
};

TEST_F(OwnWriteTest, TheLoadAfterASaveReadsNothing) {
    LoadChangeAndSave();
    const int reads = env.Calls(FaultEnv::Op::Read);
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(reads, env.Calls(FaultEnv::Op::Read)) << "the file was read again";
    EXPECT_EQ(2, StoredLine(host.File, "C:\\A.txt"));

    // A save after a reload that found nothing new is recognised the same way.
    ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "C:\\A.txt", Position(3)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), true));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(reads, env.Calls(FaultEnv::Op::Read));
}

TEST_F(OwnWriteTest, AnotherHostsSaveAfterOursIsRead) {
    LoadChangeAndSave();
    Host other;
    ASSERT_TRUE(Load(other.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(other.File, ItemKind::Editor, "C:\\B.txt", Position(8)));
    ASSERT_TRUE(Save(other.File, cfg.c_str(), true));

    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(8, StoredLine(host.File, "C:\\B.txt"));
    EXPECT_EQ(2, StoredLine(host.File, "C:\\A.txt"));
}

// A coarse file clock: the other host's file has our file's size and its
// very last-write time, and only its identity tells it apart.
TEST_F(OwnWriteTest, AnotherFileOfTheSameSizeAndTimeIsStillSeen) {
    LoadChangeAndSave();
    platform::FileTime ours{};
    std::uint64_t size = 0;
    ASSERT_TRUE(GetTimeAndSize(cfg, &ours, &size));
    const std::string theirs = ItemLine("C:\\A.txt", 5);
    ASSERT_EQ(size, theirs.size());
    ReplaceAsOtherHost(theirs);
    ASSERT_TRUE(SetTime(cfg, ours));

    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(5, StoredLine(host.File, "C:\\A.txt"));
}

// A write that failed records nothing: the next Load still compares with
// the file as last read, and reads it when another host replaced it.
TEST_F(OwnWriteTest, AFailedSaveLeavesTheLastReadInPlace) {
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("C:\\A.txt", 1)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "C:\\A.txt", Position(2)));
    env.FailAt(FaultEnv::Op::Rename, 1, FaultEnv::Fault::Fail);
    ASSERT_FALSE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("C:\\A.txt", 1), ReadWholeFile(cfg));

    // Another host's file of the same size: read and merged; the change
    // this host could not save yet is made again on top of it.
    ReplaceAsOtherHost(ItemLine("C:\\B.txt", 6));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(6, StoredLine(host.File, "C:\\B.txt"));
    EXPECT_EQ(2, StoredLine(host.File, "C:\\A.txt"));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
