// Another program holds the position file open for reading (a viewer) while
// the plug-in stores, closes and stores from the menu: for 50 ms, for 2 s,
// and for the whole session until just before ExitFAR, sharing reading only
// and sharing reading and writing. Every position the plug-in meant to
// store is on disk after ExitFAR. A holder that keeps the file through
// ExitFAR gets the file whole and unchanged (what this session could not
// write is lost with it).
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "common/system_tools.h"
#include "plugin/host_abi.h"
#include "plugin/module.h"
#include "plugin_fixture.h"
#include "store/position_file.h"

namespace plugintest {
namespace {

using namespace tarnwick;
namespace ts = tarnwick::testing_support;

class ReaderHoldingTest : public PluginTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        a_ = ExistingFile("a.txt");
        b_ = ExistingFile("b.txt");
        c_ = ExistingFile("c.txt");
        before_ = ItemLine(a_, Pos{1, 0, 0, 0, 0}) + ItemLine(b_, Pos{2, 0, 0, 0, 0});
        WritePositions(before_);
        Start();
    }
    void TearDown() override {
        if (releaser_.joinable()) releaser_.join();
        reader_.reset();
        PluginTest::TearDown();
    }

    void Hold() {
        reader_.reset(new ts::ForeignReader(DefaultPositions(), GetParam()));
        ASSERT_TRUE(reader_->Held());
    }
    void ReleaseAfter(int milliseconds) {
        releaser_ = std::thread([this, milliseconds] {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            reader_->Release();
        });
    }
    void WaitForRelease() {
        if (releaser_.joinable()) releaser_.join();
    }

    // Stores a (10) and b (20) at EE_SAVE, closes a, stores c (30) from the menu.
    void Session() {
        OpenEditor(1, a_);
        MoveTo(Pos{10, 1, 0, 0, 0});
        EXPECT_EQ(0, ProcessEditorEvent(EE_SAVE, nullptr));
        OpenEditor(2, b_);
        MoveTo(Pos{20, 2, 0, 0, 0});
        EXPECT_EQ(0, ProcessEditorEvent(EE_SAVE, nullptr));
        CloseEditor(1);
        OpenEditor(3, c_, Pos{30, 3, 0, 0, 0});
        host().MenuAnswers.push_back(fakehost::MenuAnswer(0, 0));
        OpenPlugin(OPEN_EDITOR, 0);
    }

    void ExpectAllStored(int bLine = 20) {
        Pos pos{};
        ASSERT_TRUE(Stored(a_, &pos));
        EXPECT_EQ((Pos{10, 1, 0, 0, 0}), pos);
        ASSERT_TRUE(Stored(b_, &pos));
        EXPECT_EQ((Pos{bLine, 2, 0, 0, 0}), pos);
        ASSERT_TRUE(Stored(c_, &pos));
        EXPECT_EQ((Pos{30, 3, 0, 0, 0}), pos);
        EXPECT_FALSE(store::HasPending(plugin::LoadedModule().Positions));
    }

    std::string a_, b_, c_, before_;
    std::unique_ptr<ts::ForeignReader> reader_;
    std::thread releaser_;
};

TEST_P(ReaderHoldingTest, ForFiftyMillisecondsTheSavesWaitForIt) {
    Hold();
    ReleaseAfter(50);
    Session();
    ExpectAllStored();
    ExitFAR();
    ExpectAllStored();
}

TEST_P(ReaderHoldingTest, ForTwoSecondsTheNextWritingEventWritesEverything) {
    Hold();
    ReleaseAfter(2000);
    Session();
    WaitForRelease();
    // Store b once more: that save writes what the others could not.
    OpenEditor(2, b_);
    MoveTo(Pos{21, 2, 0, 0, 0});
    EXPECT_EQ(0, ProcessEditorEvent(EE_SAVE, nullptr));
    ExpectAllStored(21);
    ExitFAR();
    ExpectAllStored(21);
}

TEST_P(ReaderHoldingTest, ForTheWholeSessionExitFarWritesEverything) {
    Hold();
    Session();
    EXPECT_EQ(before_, ReadPositions());
    EXPECT_TRUE(store::HasPending(plugin::LoadedModule().Positions));
    reader_->Release();
    ExitFAR();
    ExpectAllStored();
}

TEST_P(ReaderHoldingTest, ThroughExitFarTheFileStaysWholeAndExitEnds) {
    Hold();
    Session();
    const auto start = std::chrono::steady_clock::now();
    ExitFAR();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ holder   ] held through ExitFAR (%s): ExitFAR gave up after %.2f s, the file unchanged\n",
                GetParam() ? "sharing reading and writing" : "sharing reading", seconds);
    EXPECT_EQ(before_, ReadPositions());
    EXPECT_LT(seconds, 10.0);
}

INSTANTIATE_TEST_SUITE_P(ShareModes, ReaderHoldingTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "SharingReadingAndWriting" : "SharingReadingOnly");
                         });

}  // namespace
}  // namespace plugintest
