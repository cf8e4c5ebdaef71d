// The host's exit and the release at unload.

#include "plugin/module_exit.h"
#include "plugin/module.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;

class ModuleExitTest : public PluginTest {
protected:
    std::string kept_;
    std::string gone_ = File("gone.txt");
    std::string openGone_ = File("open-but-gone.txt");

    void SetUp() override {
        PluginTest::SetUp();
        kept_ = ExistingFile("kept.txt");
        WritePositions(ItemLine(kept_, Pos{}) + ItemLine(gone_, Pos{}) + ItemLine(openGone_, Pos{}));
    }
};

TEST_F(ModuleExitTest, RemoveOldOffLeavesTheFileAlone) {
    SetValue("RemoveOld", "0");
    Start();
    OpenEditor(1, kept_);
    const std::string before = ReadPositions();
    ExitFAR();
    EXPECT_EQ(ReadPositions(), before);
}

TEST_F(ModuleExitTest, RemoveOldPurgesMissingFilesButSparesOpenOnes) {
    Start();
    OpenEditor(1, openGone_);
    ExitFAR();
    EXPECT_TRUE(Stored(kept_, nullptr));
    EXPECT_FALSE(Stored(gone_, nullptr));
    EXPECT_TRUE(Stored(openGone_, nullptr));
}

TEST_F(ModuleExitTest, NothingLoadedMeansNothingToPurge) {
    Start();
    const std::string before = ReadPositions();
    ExitFAR();
    EXPECT_EQ(ReadPositions(), before);
}

TEST_F(ModuleExitTest, ReleaseEmptiesTheStoresAndCanRunAgain) {
    Start();
    OpenEditor(1, kept_);
    OpenEditor(2, gone_);
    MoveTo(Pos{5, 0, 0, 0, 0});
    const std::string before = ReadPositions();
    ReleaseStores(LoadedModule());
    EXPECT_EQ(LoadedModule().Editors.Root, nullptr);
    EXPECT_EQ(LoadedModule().Positions, nullptr);
    ReleaseStores(LoadedModule());
    EXPECT_EQ(ReadPositions(), before) << "nothing is written at unload";
}

}  // namespace
}  // namespace plugintest
