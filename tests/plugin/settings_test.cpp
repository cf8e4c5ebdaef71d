// Start-up, settings from the registry, and the plug-in's description.

#include <cstring>

#include "plugin/host.h"
#include "plugin/module_exit.h"
#include "plugin/module.h"
#include "plugin_fixture.h"
#include "support/text.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;

PluginInfo FilledInfo() {
    PluginInfo info;
    std::memset(&info, 0xAB, sizeof info);
    return info;
}

TEST_F(PluginTest, NoRegistryKeyGivesDefaultsAndEditorOnlyEntry) {
    Start();
    EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 1);
    EXPECT_EQ(LoadedModule().CurrentSettings.ShowInPanels, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.RemoveOld, 1);
    EXPECT_EQ(LoadedModule().CurrentSettings.CheckMask, 0);
    EXPECT_STREQ(LoadedModule().CurrentSettings.Mask, "");
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions());
    EXPECT_EQ(std::string(LoadedModule().DefaultCfgFile), DefaultPositions());
    EXPECT_FALSE(KeyExists()) << "reading the settings must not create the key";

    PluginInfo info = FilledInfo();
    GetPluginInfo(&info);
    EXPECT_EQ(info.StructSize, static_cast<int>(sizeof(PluginInfo)));
    EXPECT_EQ(info.Flags, static_cast<DWORD_T>(PF_EDITOR | PF_VIEWER | PF_DISABLEPANELS));
    ASSERT_EQ(info.PluginMenuStringsNumber, 1);
    EXPECT_STREQ(info.PluginMenuStrings[0], "Tarnwick");
    ASSERT_EQ(info.PluginConfigStringsNumber, 1);
    EXPECT_STREQ(info.PluginConfigStrings[0], "Tarnwick");
    // Members the plug-in does not describe keep what the host put there.
    PluginInfo untouched = FilledInfo();
    EXPECT_EQ(std::memcmp(&info.DiskMenuStrings, &untouched.DiskMenuStrings, sizeof info.DiskMenuStrings), 0);
    EXPECT_EQ(std::memcmp(&info.CommandPrefix, &untouched.CommandPrefix, sizeof info.CommandPrefix), 0);
}

TEST_F(PluginTest, StoredValuesAreRead) {
    SetValue("ShowInPanels", "7");
    SetValue("Automatic", "0");
    SetValue("RemoveOld", "0");
    SetValue("CheckMask", "1");
    SetValue("Mask", "*.txt;*.ini");
    SetValue("CfgFile", "\"" + File("elsewhere.cfg") + "\"");
    Start();
    EXPECT_EQ(LoadedModule().CurrentSettings.ShowInPanels, 7);
    EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.RemoveOld, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.CheckMask, 1);
    EXPECT_STREQ(LoadedModule().CurrentSettings.Mask, "*.txt;*.ini");
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), File("elsewhere.cfg")) << "quotes are removed";

    PluginInfo info = FilledInfo();
    GetPluginInfo(&info);
    EXPECT_EQ(info.Flags, static_cast<DWORD_T>(PF_EDITOR | PF_VIEWER));
}

TEST_F(PluginTest, NumberValuesThatHoldNoNumber) {
    // Present but empty: the read succeeds, nothing converts, the field stays 0.
    SetValue("Automatic", "");
    SetValue("RemoveOld", "yes");
    // 49 digits fit the 50-byte buffer with the terminator; 50 do not and
    // take the default text.
    SetValue("CheckMask", std::string(49, '0'));
    SetValue("ShowInPanels", "1" + std::string(49, '0'));
    Start();
    EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.RemoveOld, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.CheckMask, 0);
    EXPECT_EQ(LoadedModule().CurrentSettings.ShowInPanels, 0);
}

TEST_F(PluginTest, StringValuesAtTheirBufferLimits) {
    std::string longestPath = File("") + std::string(259 - File("").size(), 'p');
    SetValue("Mask", std::string(511, 'm'));
    SetValue("CfgFile", longestPath);
    Start();
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.Mask), std::string(511, 'm'));
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), longestPath);

    ResetModuleState(LoadedModule());
    SetValue("Mask", std::string(512, 'm'));
    SetValue("CfgFile", longestPath + "q");
    Start();
    EXPECT_STREQ(LoadedModule().CurrentSettings.Mask, "");
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions());
}

TEST_F(PluginTest, EmptyOrQuotesOnlyCfgFileMeansTheDefault) {
    for (const char* value : {"", "\"\"", "\"\"\"\""}) {
        ResetModuleState(LoadedModule());
        SetValue("CfgFile", value);
        Start();
        EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions()) << "value " << value;
    }
}

TEST_F(PluginTest, ValuesStoredWithoutTerminator) {
    SetRawValue("CheckMask", "1");
    SetRawValue("Mask", std::string(511, 'a'));  // fits once terminated
    SetRawValue("CfgFile", std::string(260, 'c'));  // fills the buffer: too large
    Start();
    EXPECT_EQ(LoadedModule().CurrentSettings.CheckMask, 1);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.Mask), std::string(511, 'a'));
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions());

    ResetModuleState(LoadedModule());
    SetRawValue("Mask", std::string(512, 'a'));
    SetRawValue("CfgFile", std::string("abc\0", 4));
    Start();
    EXPECT_STREQ(LoadedModule().CurrentSettings.Mask, "");
    EXPECT_STREQ(LoadedModule().CurrentSettings.CfgFile, "abc");
}

TEST_F(PluginTest, RootKeyTooLongForTheKeyBuffer) {
    // RootKey, "\Tarnwick" and the terminator must fit in 80 bytes: a root
    // of 70 characters does, one of 71 does not.
    std::string fitting = rootKey_ + "\\" + std::string(70 - rootKey_.size() - 1, 'k');
    ASSERT_EQ(fitting.size(), 70u);
    host().RootKey = fitting;
    host().Info.RootKey = host().RootKey.c_str();
    std::string savedRoot = rootKey_;
    rootKey_ = fitting;
    SetValue("Automatic", "0");
    Start();
    EXPECT_TRUE(LoadedModule().HasPluginKey);
    EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 0);

    ResetModuleState(LoadedModule());
    std::string tooLong = fitting + "x";
    host().RootKey = tooLong;
    host().Info.RootKey = host().RootKey.c_str();
    rootKey_ = tooLong;
    SetValue("Automatic", "0");  // would be read if the key were used
    Start();
    EXPECT_FALSE(LoadedModule().HasPluginKey);
    EXPECT_STREQ(LoadedModule().PluginKey, "");
    EXPECT_EQ(LoadedModule().CurrentSettings.Automatic, 1);

    // Accepting the dialog writes nothing anywhere.
    testing_support::RegistryDeleteTree((tooLong + "\\Tarnwick").c_str());
    host().DialogAnswers.push_back([](FarDialogItem*, int) { return 10; });
    EXPECT_EQ(Configure(0), 1);
    EXPECT_FALSE(KeyExists());
    rootKey_ = savedRoot;
}

TEST_F(PluginTest, DefaultPositionFileFromTheModuleName) {
    std::strcpy(host().Info.ModuleName, "C:\\Far\\Plugins\\Tarnwick\\TARNWICK.DLL");
    Start();
    EXPECT_STREQ(LoadedModule().DefaultCfgFile, "C:\\Far\\Plugins\\Tarnwick\\TARNWICK.cfg");

    // No dot is searched for; a name of fewer than three characters stays.
    ResetModuleState(LoadedModule());
    std::strcpy(host().Info.ModuleName, "ab");
    Start();
    EXPECT_STREQ(LoadedModule().DefaultCfgFile, "ab");

    // A record whose name fills all 260 bytes without a terminator.
    ResetModuleState(LoadedModule());
    std::memset(host().Info.ModuleName, 'x', sizeof host().Info.ModuleName);
    Start();
    EXPECT_EQ(std::string(LoadedModule().DefaultCfgFile), std::string(256, 'x') + "cfg");
}

TEST_F(PluginTest, HostTooOldIsNeverCalled) {
    host().Info.StructSize = kStartupInfoSize - 1;
    Start();
    EXPECT_EQ(LoadedModule().HostTooOld, 1);

    PluginInfo info = FilledInfo();
    GetPluginInfo(&info);
    PluginInfo untouched = FilledInfo();
    EXPECT_EQ(std::memcmp(&info, &untouched, sizeof info), 0);

    int editorId = 1;
    EXPECT_EQ(ProcessEditorEvent(EE_READ, nullptr), 0);
    EXPECT_EQ(ProcessEditorEvent(EE_CLOSE, &editorId), 0);
    EXPECT_EQ(OpenPlugin(OPEN_EDITOR, 0), kInvalidHandle);
    EXPECT_EQ(Configure(0), 0);
    ExitFAR();
    EXPECT_EQ(host().GetInfoCalls, 0);
    EXPECT_TRUE(host().ModuleNumbersSeen.empty()) << "no message, menu or dialog service was used";
    EXPECT_FALSE(testing_support::FileExists(DefaultPositions()));
}

TEST_F(PluginTest, StandardFunctionTableMissingOrIncomplete) {
    host().Info.FSF = nullptr;
    Start();
    EXPECT_EQ(LoadedModule().HostTooOld, 1);
    EXPECT_FALSE(HostServicesReady(LoadedModule()));

    ResetModuleState(LoadedModule());
    host().Info.FSF = &host().Functions;
    host().Functions.ProcessName = nullptr;
    Start();
    EXPECT_EQ(LoadedModule().HostTooOld, 1);
    EXPECT_EQ(OpenPlugin(OPEN_PLUGINSMENU, 0), kInvalidHandle);
    EXPECT_TRUE(host().Menus.empty());
}

int g_hostCompares = 0;
int TW_STDCALL CountingCompare(const char* a, const char* b) {
    ++g_hostCompares;
    return std::strcmp(a, b) == 0 ? 0 : 1;
}

TEST_F(PluginTest, NamesCompareTheHostsWayAfterStart) {
    host().Functions.LStricmp = CountingCompare;
    g_hostCompares = 0;
    Start();
    // The counting compare tells case apart, so its answer shows it was asked.
    const CaseComparison& comparison = LoadedModule().Comparison;
    EXPECT_FALSE(comparison.Equal("x", "X"));
    EXPECT_EQ(g_hostCompares, 1);
    EXPECT_TRUE(comparison.Equal("x", "x")) << "the same bytes are equal without asking the host";
    EXPECT_EQ(g_hostCompares, 1);
    ResetModuleState(LoadedModule());
    EXPECT_TRUE(comparison.Equal("a", "A")) << "the reset brings back the built-in comparison";
    EXPECT_EQ(g_hostCompares, 1);
}

TEST_F(PluginTest, MissingTitleTextIsEmptyNotNull) {
    host().Texts.erase(kMsgTitle);
    Start();
    EXPECT_STREQ(GetMsgText(LoadedModule(), kMsgTitle), "");
    PluginInfo info = FilledInfo();
    GetPluginInfo(&info);
    ASSERT_NE(info.PluginMenuStrings[0], nullptr);
    EXPECT_STREQ(info.PluginMenuStrings[0], "");
}

}  // namespace
}  // namespace plugintest
