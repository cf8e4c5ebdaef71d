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

using store_testing::ItemListing;
using store_testing::OpenedFile;
using testing_support::FaultEnv;
using Op = FaultEnv::Op;
using Fault = FaultEnv::Fault;

class PositionFileFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = temp_.File("positions.cfg");
        ASSERT_TRUE(testing_support::WriteWholeFile(path_, store_testing::ItemLine("a.txt", 4)));
    }

    testing_support::TempDir temp_;
    std::string path_;
    FaultEnv env_{platform::Env::Default()};
    OpenedFile file_{&env_};
};

TEST_F(PositionFileFaultTest, FailedReadKeepsDocumentAndLoadedState) {
    ASSERT_TRUE(Load(file_, path_.c_str()));
    ASSERT_TRUE(store_testing::WriteAsOtherHost(path_, store_testing::ItemLine("b.txt", 9)));
    env_.FailAt(Op::Read, 1, Fault::Fail);
    EXPECT_FALSE(Load(file_, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
    // The file is still newer than memory: the next Load reads it.
    EXPECT_TRUE(Load(file_, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(file_, "b.txt"), 9);
}

TEST_F(PositionFileFaultTest, ShortReadsStillReadTheWholeFile) {
    env_.FailAt(Op::Read, 1, Fault::Short, 3);
    ASSERT_TRUE(Load(file_, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
}

TEST_F(PositionFileFaultTest, BusyFileIsRetriedThenGivenUp) {
    env_.FailAt(Op::Open, 1, Fault::Busy, 2);
    EXPECT_TRUE(Load(file_, path_.c_str()));  // the third try opens it
    file_.Reopen();
    env_.FailAt(Op::Open, 1, Fault::Busy, -1);
    EXPECT_FALSE(Load(file_, path_.c_str()));
    EXPECT_FALSE(AddItem(file_, ItemKind::Editor, "b.txt", store_testing::Position(7)));  // no document
}

TEST_F(PositionFileFaultTest, DeniedFileIsKeptButMissingFileCountsAsEmpty) {
    ASSERT_TRUE(Load(file_, path_.c_str()));
    ASSERT_TRUE(store_testing::WriteAsOtherHost(path_, store_testing::ItemLine("b.txt", 9)));
    // Refused for the moment: not mistaken for a missing file.
    env_.FailAt(Op::Open, 1, Fault::Denied, -1);
    EXPECT_FALSE(Load(file_, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
    // Gone: the file counts as empty and memory follows it.
    env_.FailAt(Op::Open, 1, Fault::NotFound);
    EXPECT_TRUE(Load(file_, path_.c_str()));
    EXPECT_EQ(CountItems(file_, ItemKind::Editor), 0);
}

TEST_F(PositionFileFaultTest, TemporaryFileThatCannotBeCreatedLeavesTheFileAlone) {
    ASSERT_TRUE(Load(file_, path_.c_str()));
    ASSERT_TRUE(AddItem(file_, ItemKind::Editor, "b.txt", store_testing::Position(7)));
    const std::string before = testing_support::ReadWholeFile(path_);
    for (Fault fault : {Fault::Denied, Fault::Fail}) {
        env_.FailAt(Op::Create, 1, fault, -1);
        EXPECT_FALSE(Save(file_, path_.c_str(), false));
        EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    }
    env_.FailAt(Op::Create, 1, Fault::None, 0);
    EXPECT_TRUE(Save(file_, path_.c_str(), false));
}

TEST_F(PositionFileFaultTest, FailedWritesLeaveTheOldFileWhole) {
    ASSERT_TRUE(Load(file_, path_.c_str()));
    ASSERT_TRUE(AddItem(file_, ItemKind::Editor, "b.txt", store_testing::Position(7)));
    const std::string before = testing_support::ReadWholeFile(path_);
    for (Fault fault : {Fault::DiskFull, Fault::Fail}) {
        env_.FailAt(Op::Write, 1, fault);
        EXPECT_FALSE(Save(file_, path_.c_str(), false));
        EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    }
    env_.FailAt(Op::Flush, 1, Fault::Fail);
    EXPECT_FALSE(Save(file_, path_.c_str(), false));
    env_.FailAt(Op::Rename, 1, Fault::Busy, -1);
    EXPECT_FALSE(Save(file_, path_.c_str(), false));
    EXPECT_EQ(testing_support::ReadWholeFile(path_), before);
    env_.FailAt(Op::Rename, 1, Fault::None, 0);
    // A short write is followed by the rest.
    env_.FailAt(Op::Write, 1, Fault::Short);
    EXPECT_TRUE(Save(file_, path_.c_str(), false));
    EXPECT_NE(testing_support::ReadWholeFile(path_), before);
}

TEST_F(PositionFileFaultTest, ReplaceThatMeetsAReaderIsRetried) {
    ASSERT_TRUE(Load(file_, path_.c_str()));
    ASSERT_TRUE(AddItem(file_, ItemKind::Editor, "b.txt", store_testing::Position(7)));
    env_.FailAt(Op::Rename, 1, Fault::Busy, 3);
    EXPECT_TRUE(Save(file_, path_.c_str(), false));
    EXPECT_EQ(env_.Calls(Op::Rename), 4);
    OpenedFile reread;
    ASSERT_TRUE(Load(reread, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(reread, "b.txt"), 7);
}

TEST_F(PositionFileFaultTest, AllocationFailuresDuringLoadDoNotCrash) {
    // The allocations of a fault-free load are the sites to fail.
    file_.Reopen();
    const int start = env_.Calls(Op::Alloc);
    ASSERT_TRUE(Load(file_, path_.c_str()));
    const int sites = env_.Calls(Op::Alloc) - start;
    ASSERT_GT(sites, 0) << "the load allocated nothing: no site would fail";
    for (int n = 1; n <= sites; ++n) {
        file_.Reopen();
        env_.FailAt(Op::Alloc, n, Fault::Fail);
        const int calls = env_.Calls(Op::Alloc);
        Load(file_, path_.c_str());  // any outcome but a crash
        EXPECT_GE(env_.Calls(Op::Alloc) - calls, n) << "allocation " << n << " was never made";
    }
    env_.FailAt(Op::Alloc, 1, Fault::None, 0);
    file_.Reopen();
    ASSERT_TRUE(Load(file_, path_.c_str()));
    EXPECT_EQ(store_testing::StoredLine(file_, "a.txt"), 4);
}

TEST_F(PositionFileFaultTest, MergeThatRunsOutOfMemoryAnywhereChangesNothing) {
    // Memory holds a, b (open here) and c; the file then drops c, changes a
    // and b and adds d: every kind of change a merge makes, to editor and
    // viewer items alike (the viewer of b.txt is open here too). The file's
    // copies hold bookmarks and tables, and an attribute no version knows.
    const std::string viewerA = "<item type=\"viewer\" path=\"a.txt\" offset=\"5000000000\" hex=\"1\">\r\n";
    const std::string viewerB = "<item type=\"viewer\" path=\"b.txt\" offset=\"7\" table=\"ansi\">\r\n";
    const std::string first = store_testing::ItemLine("a.txt", 1) + store_testing::ItemLine("b.txt", 2) +
                              store_testing::ItemLine("c.txt", 3) + viewerA + viewerB +
                              "<item type=\"viewer\" path=\"c.txt\" offset=\"3\">\r\n";
    const std::string second =
        store_testing::ItemLine("d.txt", 40) + "<item type=\"viewer\" path=\"d.txt\" offset=\"4\" wrap=\"2\">\r\n" +
        "<item type=\"editor\" path=\"a.txt\" line=\"10\" bookmarks=\"0:1,2,3,4 9:5,6,7,8\" table=\"2 KOI 8\" "
        "later=\"x\">\r\n" +
        store_testing::ItemLine("b.txt", 20) +
        "<item type=\"viewer\" path=\"a.txt\" offset=\"6000000000\" table=\"unicode\">\r\n" +
        "<item type=\"viewer\" path=\"b.txt\" offset=\"70\">\r\n";
    int sites = 0;
    std::string merged;
    for (int n = 0; n == 0 || n <= sites; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " of the merge fails");
        testing_support::OpenPaths open;
        open.Open("b.txt");
        open.Open("b.txt", ItemKind::Viewer);
        OpenedFile file(&env_, open.Files());
        ASSERT_TRUE(testing_support::WriteWholeFile(path_, first));
        ASSERT_TRUE(Load(file, path_.c_str()));
        const std::string before = ItemListing(file);
        ASSERT_TRUE(store_testing::WriteAsOtherHost(path_, second));

        const int allocations = env_.Calls(Op::Alloc);
        if (n > 0) env_.FailAt(Op::Alloc, n, Fault::Fail);
        bool loaded = Load(file, path_.c_str());
        env_.ClearFaults();
        if (n == 0) {
            ASSERT_TRUE(loaded);
            sites = env_.Calls(Op::Alloc) - allocations;
            merged = ItemListing(file);
            EXPECT_NE(merged.find("viewer a.txt 6000000000 0 0 0 table=4/-1/\n"), std::string::npos) << merged;
            EXPECT_NE(merged.find("viewer b.txt 7 0 0 0 table=2/-1/\n"), std::string::npos) << merged;
            EXPECT_NE(merged.find("mark9=5,6,7,8 table=3/2/KOI 8\n"), std::string::npos) << merged;
            EXPECT_EQ(merged.find("c.txt"), std::string::npos) << merged;
        } else if (!loaded) {
            EXPECT_EQ(ItemListing(file), before);
            EXPECT_TRUE(open.Has("b.txt"));
            EXPECT_TRUE(open.Has("b.txt", ItemKind::Viewer));
            ASSERT_TRUE(Load(file, path_.c_str()));  // the file is still new to memory: merged now
        }
        EXPECT_EQ(ItemListing(file), merged);
        EXPECT_EQ(store_testing::StoredLine(file, "b.txt"), 2);  // open here: memory's values stay
    }
    EXPECT_GT(sites, 10);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
