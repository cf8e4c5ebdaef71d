// Through the exports: changes whose saves fail (a reader keeping the file,
// a full disk) survive another host's write and are on disk after ExitFAR.
#include "common/fault_env.h"
#include "plugin/host_abi.h"
#include "plugin/module.h"
#include "plugin/saved_positions.h"
#include "plugin_fixture.h"
#include "store/position_file.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using tarnwick::testing_support::FaultEnv;
using Op = FaultEnv::Op;
using Fault = FaultEnv::Fault;

constexpr int kDel = 0;     // break code of the list's first break key
constexpr int kEnter = -1;  // no break key

class PendingAtExitTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        a_ = ExistingFile("a.txt");
        b_ = ExistingFile("b.txt");
        WritePositions(ItemLine(a_, Pos{1, 0, 0, 0, 0}) + ItemLine(b_, Pos{2, 0, 0, 0, 0}));
        plugin::LoadedModule().Env = &env_;
        Start();
    }
    bool Pending() { return store::HasPending(plugin::LoadedModule().Positions); }

    FaultEnv env_{platform::Env::Default()};
    std::string a_, b_;
};

TEST_F(PendingAtExitTest, ADeletionStaysDeletedThroughAnotherHostsWriteAndReachesTheDiskAtExit) {
    env_.FailAt(Op::Rename, 1, Fault::Busy, -1);  // a reader keeps the file
    host().MenuAnswers.push_back({0, kDel});
    host().MessageAnswers.push_back(0);
    host().MenuAnswers.push_back({-1, kEnter});
    plugin::ShowSavedPositions(plugin::LoadedModule());
    EXPECT_TRUE(Stored(a_, nullptr)) << "the save failed";
    EXPECT_TRUE(Pending());

    // Another host writes a and b anew; this host then stores b.
    WritePositions(ItemLine(a_, Pos{17, 0, 0, 0, 0}) + ItemLine(b_, Pos{18, 0, 0, 0, 0}));
    OpenEditor(2, b_);
    MoveTo(Pos{20, 0, 0, 0, 0});
    EXPECT_EQ(0, ProcessEditorEvent(EE_SAVE, nullptr));
    EXPECT_FALSE(store::ReadItem(plugin::LoadedModule().Positions, store::ItemKind::Editor, a_.c_str(), nullptr));

    env_.FailAt(Op::Rename, 1, Fault::None, 0);  // the reader is gone
    ExitFAR();
    std::string stored = ItemLine(b_, Pos{20, 0, 0, 0, 0});
    stored.insert(stored.size() - 3, " table=\"oem\"");  // the editor's table, before ">\r\n"
    EXPECT_EQ(stored, ReadPositions());
    EXPECT_FALSE(Pending());
}

TEST_F(PendingAtExitTest, APositionAFullDiskRefusedAtCloseIsWrittenAtExit) {
    OpenEditor(1, a_);
    MoveTo(Pos{9, 3, 0, 0, 0});
    env_.FailAt(Op::Write, 1, Fault::DiskFull);
    CloseEditor(1);
    Pos pos{};
    ASSERT_TRUE(Stored(a_, &pos));
    EXPECT_EQ(1, pos.Line);
    env_.FailAt(Op::Write, 1, Fault::None, 0);  // room again
    ExitFAR();
    ASSERT_TRUE(Stored(a_, &pos));
    EXPECT_EQ((Pos{9, 3, 0, 0, 0}), pos);
    for (const std::string& name : testing_support::ListFolder(temp_.path())) {
        EXPECT_EQ(std::string::npos, name.find(".tmp")) << "the failed save left " << name;
    }
}

}  // namespace
}  // namespace plugintest
