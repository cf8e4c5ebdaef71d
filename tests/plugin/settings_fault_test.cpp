// Settings when the registry fails under them: every failing value takes
// its default.
#include <string>

#include "common/fault_env.h"
#include "plugin/module.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using testing_support::FaultEnv;

TEST_F(PluginTest, RegistryFaultsGiveDefaults) {
    SetValue("Automatic", "0");
    SetValue("RemoveOld", "0");
    SetValue("Mask", "*.txt");
    for (FaultEnv::Fault fault : {FaultEnv::Fault::Missing, FaultEnv::Fault::TooLarge, FaultEnv::Fault::Unterminated}) {
        FaultEnv env(platform::Env::Default());
        env.FailAt(FaultEnv::Op::RegistryQuery, 1, fault, -1);
        ResetModuleState(LoadedModule());
        LoadedModule().Env = &env;
        Start();
        EXPECT_GT(env.Calls(FaultEnv::Op::RegistryQuery), 0);
        EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 1);
        EXPECT_EQ(LoadedModule().CurrentSettings.RemoveOld, 1);
        EXPECT_STREQ(LoadedModule().CurrentSettings.Mask, "");
        EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions());
        ResetModuleState(LoadedModule());
    }
}

}  // namespace
}  // namespace plugintest
