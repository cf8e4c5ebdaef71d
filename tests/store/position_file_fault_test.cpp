// The position file under a failing system: reads, writes, flushes and
// allocations that fail part way.
#include <gtest/gtest.h>

#include <string>

#include "common/fault_env.h"
#include "common/test_support.h"
#include "store/position_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using testing_support::FaultEnv;
using Op = FaultEnv::Op;
using Fault = FaultEnv::Fault;

class PositionFileFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = temp_.File("positions.cfg");
        ASSERT_TRUE(testing_support::WriteWholeFile(path_, store_testing::ItemLine("a.txt", 4)));
        file_.Env = &env_;
    }
    void TearDown() override { UnloadDocument(file_); }

    testing_support::TempDir temp_;
    std::string path_;
    FaultEnv env_{platform::Env::Default()};
    PositionFile file_{};
};

TEST_F(PositionFileFaultTest, FailedReadKeepsDocumentAndLoadedState) {
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    const std::uint64_t size = file_.LoadedSize;
    ASSERT_TRUE(store_testing::WriteAsOtherHost(path_, store_testing::ItemLine("b.txt", 9)));
    env_.FailAt(Op::Read, 1, Fault::Fail);
    EXPECT_FALSE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
    EXPECT_EQ(file_.LoadedSize, size);
}

TEST_F(PositionFileFaultTest, ShortReadsStillReadTheWholeFile) {
    env_.FailAt(Op::Read, 1, Fault::Short, 3);
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
}

TEST_F(PositionFileFaultTest, BusyFileIsRetriedThenGivenUp) {
    env_.FailAt(Op::Open, 1, Fault::Busy, 2);
    EXPECT_TRUE(Load(file_, path_.c_str(), nullptr));  // the third try opens it
    UnloadDocument(file_);
    env_.FailAt(Op::Open, 1, Fault::Busy, -1);
    EXPECT_FALSE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(file_.Document, nullptr);
}

TEST_F(PositionFileFaultTest, DeniedFileIsKeptButMissingFileCountsAsEmpty) {
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    ASSERT_TRUE(store_testing::WriteAsOtherHost(path_, store_testing::ItemLine("b.txt", 9)));
    // Refused for the moment: not mistaken for a missing file.
    env_.FailAt(Op::Open, 1, Fault::Denied, -1);
    EXPECT_FALSE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
    // Gone: the file counts as empty and memory follows it.
    env_.FailAt(Op::Open, 1, Fault::NotFound);
    EXPECT_TRUE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(CountItems(file_, kItemTypeEditor), 0);
}

TEST_F(PositionFileFaultTest, TemporaryFileThatCannotBeCreatedLeavesTheFileAlone) {
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    ASSERT_TRUE(AddItem(file_, kItemTypeEditor, "b.txt", store_testing::Position(7)));
    const std::string before = testing_support::ReadWholeFile(path_);
    for (Fault fault : {Fault::Denied, Fault::Fail}) {
        env_.FailAt(Op::Create, 1, fault, -1);
        EXPECT_FALSE(Save(file_, path_.c_str(), nullptr, false));
        EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    }
    env_.FailAt(Op::Create, 1, Fault::None, 0);
    EXPECT_TRUE(Save(file_, path_.c_str(), nullptr, false));
}

TEST_F(PositionFileFaultTest, FailedWritesLeaveTheOldFileWhole) {
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    ASSERT_TRUE(AddItem(file_, kItemTypeEditor, "b.txt", store_testing::Position(7)));
    const std::string before = testing_support::ReadWholeFile(path_);
    for (Fault fault : {Fault::DiskFull, Fault::Fail}) {
        env_.FailAt(Op::Write, 1, fault);
        EXPECT_FALSE(Save(file_, path_.c_str(), nullptr, false));
        EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    }
    env_.FailAt(Op::Flush, 1, Fault::Fail);
    EXPECT_FALSE(Save(file_, path_.c_str(), nullptr, false));
    env_.FailAt(Op::Rename, 1, Fault::Busy, -1);
    EXPECT_FALSE(Save(file_, path_.c_str(), nullptr, false));
    EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    env_.FailAt(Op::Rename, 1, Fault::None, 0);
    // A short write is followed by the rest.
    env_.FailAt(Op::Write, 1, Fault::Short);
    EXPECT_TRUE(Save(file_, path_.c_str(), nullptr, false));
    EXPECT_NE(testing_support::ReadWholeFile(path_), before);
}

TEST_F(PositionFileFaultTest, ReplaceThatMeetsAReaderIsRetried) {
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    ASSERT_TRUE(AddItem(file_, kItemTypeEditor, "b.txt", store_testing::Position(7)));
    env_.FailAt(Op::Rename, 1, Fault::Busy, 3);
    EXPECT_TRUE(Save(file_, path_.c_str(), nullptr, false));
    EXPECT_EQ(env_.Calls(Op::Rename), 4);
    PositionFile reread{};
    ASSERT_TRUE(Load(reread, path_.c_str(), nullptr));
    EXPECT_EQ(store_testing::StoredLine(reread, "b.txt"), 7);
    UnloadDocument(reread);
}

TEST_F(PositionFileFaultTest, AllocationFailuresDuringLoadDoNotCrash) {
    for (int n = 1; n <= 12; ++n) {
        UnloadDocument(file_);
        file_.Env = &env_;
        env_.FailAt(Op::Alloc, n, Fault::Fail);
        Load(file_, path_.c_str(), nullptr);  // any outcome but a crash
    }
    env_.FailAt(Op::Alloc, 1, Fault::None, 0);
    UnloadDocument(file_);
    file_.Env = &env_;
    ASSERT_TRUE(Load(file_, path_.c_str(), nullptr));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
