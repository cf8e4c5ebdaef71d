// The configuration dialog: what it shows, and what OK and Cancel keep.

#include <cstring>

#include "plugin/config_dialog.h"
#include "plugin/module.h"
#include "plugin_fixture.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

// The buttons' places in the dialog: what a host returns when one is pressed.
const int kOkButton = 10;
const int kCancelButton = 11;

// One control as the user sees it: its type, its place, its flags and its
// text (the fake host's messages).
struct ShownControl {
    int Type;
    int X1, Y1, X2, Y2;
    DWORD_T Flags;
    const char* Text;  // null: the position-file path, checked apart
};

const ShownControl kShownControls[12] = {
    {DI_DOUBLEBOX, 3, 1, 60, 11, 0, "Tarnwick"},
    {DI_CHECKBOX, 5, 2, 0, 0, 0, "Show in panels"},
    {DI_CHECKBOX, 5, 3, 0, 0, 0, "Automatic"},
    {DI_CHECKBOX, 5, 4, 0, 0, 0, "Remove old"},
    {DI_CHECKBOX, 5, 5, 0, 0, 0, "Check mask"},
    {DI_EDIT, 25, 5, 58, 0, 0, "*.c"},
    {DI_TEXT, 0, 6, 0, 0, DIF_SEPARATOR, ""},
    {DI_TEXT, 5, 7, 0, 0, 0, "Position file:"},
    {DI_EDIT, 5, 8, 58, 0, 0, nullptr},
    {DI_TEXT, 0, 9, 0, 0, DIF_SEPARATOR, ""},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, "OK"},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, "Cancel"},
};

class ConfigDialogTest : public PluginTest {
protected:
    // Accepts the dialog after `edit` changed its records.
    void AcceptWith(std::function<void(FarDialogItem*)> edit) {
        host().DialogAnswers.push_back([edit](FarDialogItem* items, int count) {
            EXPECT_EQ(count, 12);
            edit(items);
            return kOkButton;
        });
    }
    static void SetPath(FarDialogItem* items, const std::string& path) {
        std::memset(items[8].Data, 0, sizeof items[8].Data);
        std::strncpy(items[8].Data, path.c_str(), sizeof items[8].Data - 1);
    }
};

TEST_F(ConfigDialogTest, ShowsTheRegistryValuesInItsControls) {
    Start();
    SetValue("CheckMask", "1");  // changed after start: the dialog reads again
    SetValue("Mask", "*.c");
    host().DialogAnswers.push_back([](FarDialogItem*, int) { return kCancelButton; });
    EXPECT_EQ(Configure(3), 1);

    ASSERT_EQ(host().Dialogs.size(), 1u);
    const fakehost::DialogShown& dialog = host().Dialogs[0];
    EXPECT_EQ(dialog.X1, -1);
    EXPECT_EQ(dialog.Y1, -1);
    EXPECT_EQ(dialog.X2, 64);
    EXPECT_EQ(dialog.Y2, 13);
    EXPECT_FALSE(dialog.HasHelp);
    ASSERT_EQ(dialog.Items.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        const FarDialogItem& item = dialog.Items[i];
        const ShownControl& shown = kShownControls[i];
        EXPECT_EQ(item.Type, shown.Type) << i;
        EXPECT_EQ(item.X1, shown.X1) << i;
        EXPECT_EQ(item.Y1, shown.Y1) << i;
        EXPECT_EQ(item.X2, shown.X2) << i;
        EXPECT_EQ(item.Y2, shown.Y2) << i;
        EXPECT_EQ(item.Flags, shown.Flags) << i;
        EXPECT_EQ(item.Focus, i == 1 ? 1 : 0) << i;
        EXPECT_EQ(item.DefaultButton, i == kOkButton ? 1 : 0) << i;
        if (shown.Text != nullptr) {
            EXPECT_STREQ(item.Data, shown.Text) << i;
        }
    }
    EXPECT_EQ(std::string(dialog.Items[8].Data), DefaultPositions());
    std::vector<int> selected;
    for (int i = 1; i <= 4; ++i) selected.push_back(dialog.Items[i].Selected);
    EXPECT_EQ(selected, (std::vector<int>{0, 1, 1, 1}));
}

TEST_F(ConfigDialogTest, CancelWritesNothing) {
    Start();
    host().DialogAnswers.push_back([](FarDialogItem* items, int) {
        items[1].Selected = 1;
        return kCancelButton;
    });
    EXPECT_EQ(Configure(0), 1);
    host().DialogAnswers.push_back([](FarDialogItem*, int) { return -1; });  // Esc
    EXPECT_EQ(Configure(0), 1);
    EXPECT_FALSE(KeyExists());
    EXPECT_FALSE(ts::FileExists(DefaultPositions()));
    EXPECT_EQ(LoadedModule().CurrentSettings.ShowInPanels, 0);
}

TEST_F(ConfigDialogTest, OkWritesAllSixAndSaves) {
    Start();
    AcceptWith([](FarDialogItem*) {});
    EXPECT_EQ(Configure(0), 1);
    EXPECT_EQ(GetValue("ShowInPanels"), "0");
    EXPECT_EQ(GetValue("Automatic"), "1");
    EXPECT_EQ(GetValue("RemoveOld"), "1");
    EXPECT_EQ(GetValue("CheckMask"), "0");
    bool exists = false;
    EXPECT_EQ(GetValue("Mask", &exists), "");
    EXPECT_TRUE(exists);
    EXPECT_EQ(GetValue("CfgFile"), DefaultPositions());
    EXPECT_TRUE(ts::FileExists(DefaultPositions()));

    AcceptWith([this](FarDialogItem* items) {
        items[1].Selected = 1;
        items[2].Selected = 0;
        items[3].Selected = 0;
        items[4].Selected = 1;
        std::strcpy(items[5].Data, "*.txt");
        SetPath(items, "\"" + File("quoted.cfg") + "\"");
    });
    Configure(0);
    EXPECT_EQ(GetValue("ShowInPanels"), "1");
    EXPECT_EQ(GetValue("Automatic"), "0");
    EXPECT_EQ(GetValue("RemoveOld"), "0");
    EXPECT_EQ(GetValue("CheckMask"), "1");
    EXPECT_EQ(GetValue("Mask"), "*.txt");
    EXPECT_EQ(GetValue("CfgFile"), File("quoted.cfg"));
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), File("quoted.cfg"));
    EXPECT_EQ(LoadedModule().CurrentSettings.ShowInPanels, 1);
    EXPECT_TRUE(ts::FileExists(File("quoted.cfg")));
}

TEST_F(ConfigDialogTest, EmptyOrQuotesOnlyPathMeansTheDefault) {
    SetValue("CfgFile", File("custom.cfg"));
    for (const char* typed : {"", "\"\""}) {
        Start();
        AcceptWith([typed](FarDialogItem* items) { SetPath(items, typed); });
        Configure(0);
        EXPECT_EQ(GetValue("CfgFile"), DefaultPositions()) << "typed " << typed;
        SetValue("CfgFile", File("custom.cfg"));
    }
}

TEST_F(ConfigDialogTest, AnotherExistingFileTakesOverTheItems) {
    std::string a = File("a.txt");
    std::string b = File("b.txt");
    std::string other = File("other.cfg");
    WritePositions(ItemLine(a, Pos{1, 0, 0, 0, 0}));
    WritePositions(ItemLine(b, Pos{2, 0, 0, 0, 0}), other);
    Start();
    OpenEditor(1, a);  // loads the default file; a is tracked
    AcceptWith([&](FarDialogItem* items) { SetPath(items, other); });
    Configure(0);
    EXPECT_TRUE(Stored(b, nullptr, other));
    EXPECT_FALSE(Stored(a, nullptr, other));
    EXPECT_FALSE(Tracked(1)) << "a's editor is followed no longer";
    EXPECT_EQ(ReadPositions(), ItemLine(a, Pos{1, 0, 0, 0, 0})) << "the former file stays as it was";
}

TEST_F(ConfigDialogTest, NewPathWithoutFileStartsEmpty) {
    std::string a = File("a.txt");
    std::string fresh = File("fresh.cfg");
    WritePositions(ItemLine(a, Pos{1, 0, 0, 0, 0}));
    Start();
    OpenEditor(1, a);
    AcceptWith([&](FarDialogItem* items) { SetPath(items, fresh); });
    Configure(0);
    ASSERT_TRUE(ts::FileExists(fresh));
    EXPECT_EQ(StoredCount(fresh), 0);
    EXPECT_TRUE(Stored(a, nullptr));
}

TEST_F(ConfigDialogTest, AFileThatIsNotAPositionFileIsRefused) {
    std::string a = File("a.txt");
    std::string notes = File("notes.txt");
    WritePositions(ItemLine(a, Pos{1, 0, 0, 0, 0}));
    WritePositions("Meeting at ten.\r\nBring the <plan>.\r\n", notes);
    Start();
    OpenEditor(1, a);
    AcceptWith([&](FarDialogItem* items) {
        items[4].Selected = 1;
        SetPath(items, notes);
    });
    Configure(0);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), DefaultPositions());
    EXPECT_EQ(GetValue("CfgFile"), DefaultPositions());
    EXPECT_EQ(GetValue("CheckMask"), "1") << "the other settings apply";
    EXPECT_EQ(ReadPositions(notes), "Meeting at ten.\r\nBring the <plan>.\r\n");
    EXPECT_FALSE(ts::FileExists(notes + ".bak"));
    EXPECT_TRUE(Stored(a, nullptr)) << "the configured file keeps its items";
}

TEST_F(ConfigDialogTest, OverlongPathIsRefusedAndTheOthersApply) {
    SetValue("CfgFile", File("custom.cfg"));
    Start();
    std::string longest = File("") + std::string(259 - File("").size(), 'p');
    AcceptWith([&](FarDialogItem* items) {
        items[4].Selected = 1;
        SetPath(items, "\"" + longest + "q\"");
    });
    Configure(0);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), File("custom.cfg"));
    EXPECT_EQ(GetValue("CfgFile"), File("custom.cfg"));
    EXPECT_EQ(GetValue("CheckMask"), "1");

    // 259 characters once unquoted still fit; a full 511-character field
    // and a longest mask are taken safely.
    AcceptWith([&](FarDialogItem* items) {
        SetPath(items, "\"" + longest + "\"");
        std::memset(items[5].Data, 'm', sizeof items[5].Data);
    });
    Configure(0);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), longest);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.Mask), std::string(511, 'm'));
    AcceptWith([&](FarDialogItem* items) { std::memset(items[8].Data, 'x', sizeof items[8].Data); });
    Configure(0);
    EXPECT_EQ(std::string(LoadedModule().CurrentSettings.CfgFile), longest);
}

}  // namespace
}  // namespace plugintest
