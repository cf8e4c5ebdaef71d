#include "plugin/config_dialog.h"

#include "plugin/host.h"
#include "plugin/module.h"
#include "plugin/settings.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using namespace store;

const DialogTemplateRow kConfigDialogTemplate[kConfigDialogRows] = {
    {DI_DOUBLEBOX, 3, 1, 60, 11, 0, kMsgTitle},
    {DI_CHECKBOX, 5, 2, 0, 0, 0, kMsgDialogShowInPanels},
    {DI_CHECKBOX, 5, 3, 0, 0, 0, kMsgDialogAutomatic},
    {DI_CHECKBOX, 5, 4, 0, 0, 0, kMsgDialogRemoveAtExit},
    {DI_CHECKBOX, 5, 5, 0, 0, 0, kMsgDialogCheckMask},
    {DI_EDIT, 25, 5, 58, 0, 0, kNoMessage},
    {DI_TEXT, 0, 6, 0, 0, DIF_SEPARATOR, kNoMessage},
    {DI_TEXT, 5, 7, 0, 0, 0, kMsgDialogPositionFile},
    {DI_EDIT, 5, 8, 58, 0, 0, kNoMessage},
    {DI_TEXT, 0, 9, 0, 0, DIF_SEPARATOR, kNoMessage},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, kMsgDialogOk},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, kMsgDialogCancel},
};

namespace {

constexpr int kDialogWidth = 64;
constexpr int kDialogHeight = 13;
constexpr int kDataSize = static_cast<int>(sizeof(FarDialogItem::Data));

void WriteNumber(Module& m, const char* name, std::int32_t value) {
    char text[kItoaBufferSize];
    HostIntToText(m, value, text);
    WriteSettingString(m, RegistryRoot::CurrentUser, "", name, text);
}

// True when `path` is another file than the configured one and holds text
// that is not a position file (the user's own document, say).
bool NamesForeignFile(Module& m, const char* path) {
    if (m.Comparison.Equal(path, m.CurrentSettings.CfgFile)) return false;
    return store::InspectFile(OpenPositions(m), path) == store::FileKind::Foreign;
}

// Takes the accepted values back into the settings.
void TakeValues(Module& m, FarDialogItem* items) {
    for (int i = 0; i < kConfigDialogRows; ++i) items[i].Data[kDataSize - 1] = '\0';
    m.CurrentSettings.ShowInPanels = items[kRowShowInPanels].Selected;
    m.CurrentSettings.Automatic = items[kRowAutomatic].Selected;
    m.CurrentSettings.RemoveOld = items[kRowRemoveOld].Selected;
    m.CurrentSettings.CheckMask = items[kRowCheckMask].Selected;
    CopyBounded(m.CurrentSettings.Mask, items[kRowMask].Data, sizeof m.CurrentSettings.Mask);

    char* path = items[kRowCfgFile].Data;
    HostUnquote(m, path);
    path[kDataSize - 1] = '\0';
    if (path[0] == '\0') {
        CopyBounded(m.CurrentSettings.CfgFile, m.DefaultCfgFile, sizeof m.CurrentSettings.CfgFile);
    } else if (StrLength(path) < sizeof m.CurrentSettings.CfgFile && !NamesForeignFile(m, path)) {
        CopyBounded(m.CurrentSettings.CfgFile, path, sizeof m.CurrentSettings.CfgFile);
    }
    // A longer path would be cut into another file's name, and a file that
    // is not a position file would be replaced by the next save: the
    // previous path stays.
}

void WriteAllSettings(Module& m) {
    WriteNumber(m, "ShowInPanels", m.CurrentSettings.ShowInPanels);
    WriteNumber(m, "Automatic", m.CurrentSettings.Automatic);
    WriteNumber(m, "RemoveOld", m.CurrentSettings.RemoveOld);
    WriteNumber(m, "CheckMask", m.CurrentSettings.CheckMask);
    WriteSettingString(m, RegistryRoot::CurrentUser, "", "Mask", m.CurrentSettings.Mask);
    WriteSettingString(m, RegistryRoot::CurrentUser, "", "CfgFile", m.CurrentSettings.CfgFile);
}

}  // namespace

void ExpandDialogTemplate(Module& m, const DialogTemplateRow* rows, FarDialogItem* items, int count) {
    for (int i = 0; i < count; ++i) {
        FarDialogItem& item = items[i];
        FillBytes(&item, 0, sizeof item);
        item.Type = rows[i].Type;
        item.X1 = rows[i].X1;
        item.Y1 = rows[i].Y1;
        item.X2 = rows[i].X2;
        item.Y2 = rows[i].Y2;
        item.Flags = rows[i].Flags;
        item.Focus = 0;
        item.Selected = 0;
        item.DefaultButton = 0;
        const char* text = rows[i].MessageId != kNoMessage ? GetMsgText(m, static_cast<Message>(rows[i].MessageId)) : "";
        CopyBounded(item.Data, text, sizeof item.Data);
    }
}

bool ShowConfigDialog(Module& m) {
    ReloadSettings(m);
    LoadPositions(m);

    FarDialogItem items[kConfigDialogRows];
    ExpandDialogTemplate(m, kConfigDialogTemplate, items, kConfigDialogRows);
    items[kRowShowInPanels].Focus = 1;
    items[kRowShowInPanels].Selected = m.CurrentSettings.ShowInPanels;
    items[kRowAutomatic].Selected = m.CurrentSettings.Automatic;
    items[kRowRemoveOld].Selected = m.CurrentSettings.RemoveOld;
    items[kRowCheckMask].Selected = m.CurrentSettings.CheckMask;
    CopyBounded(items[kRowMask].Data, m.CurrentSettings.Mask, sizeof items[kRowMask].Data);
    CopyBounded(items[kRowCfgFile].Data, m.CurrentSettings.CfgFile, sizeof items[kRowCfgFile].Data);
    items[kRowOk].DefaultButton = 1;

    if (HostDialog(m, -1, -1, kDialogWidth, kDialogHeight, items, kConfigDialogRows) != kRowOk) return false;

    TakeValues(m, items);
    WriteAllSettings(m);
    store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
    SavePositions(m, true);
    return true;
}

}  // namespace plugin
}  // namespace tarnwick
