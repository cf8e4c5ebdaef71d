#include "plugin/config_dialog.h"

#include "plugin/host.h"
#include "plugin/plugin_state.h"
#include "plugin/settings.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using namespace store;

const DialogTemplateRow ConfigDialogTemplate[kConfigDialogRows] = {
    {DI_DOUBLEBOX, 3, 1, 60, 11, 0, 0},
    {DI_CHECKBOX, 5, 2, 0, 0, 0, 8},
    {DI_CHECKBOX, 5, 3, 0, 0, 0, 9},
    {DI_CHECKBOX, 5, 4, 0, 0, 0, 10},
    {DI_CHECKBOX, 5, 5, 0, 0, 0, 11},
    {DI_EDIT, 25, 5, 58, 0, 0, -1},
    {DI_TEXT, 0, 6, 0, 0, DIF_SEPARATOR, -1},
    {DI_TEXT, 5, 7, 0, 0, 0, 12},
    {DI_EDIT, 5, 8, 58, 0, 0, -1},
    {DI_TEXT, 0, 9, 0, 0, DIF_SEPARATOR, -1},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, 17},
    {DI_BUTTON, 0, 10, 0, 0, DIF_CENTERGROUP, 18},
};

namespace {

constexpr int kDialogWidth = 64;
constexpr int kDialogHeight = 13;
constexpr int kDataSize = static_cast<int>(sizeof(FarDialogItem::Data));

void WriteNumber(const char* name, std::int32_t value) {
    char text[kItoaBufferSize];
    HostIntToText(value, text);
    WriteSettingString(RegistryRoot::CurrentUser, "", name, text);
}

// Takes the accepted values back into the settings.
void TakeValues(FarDialogItem* items) {
    for (int i = 0; i < kConfigDialogRows; ++i) items[i].Data[kDataSize - 1] = '\0';
    CurrentSettings.ShowInPanels = items[RowShowInPanels].Selected;
    CurrentSettings.Automatic = items[RowAutomatic].Selected;
    CurrentSettings.RemoveOld = items[RowRemoveOld].Selected;
    CurrentSettings.CheckMask = items[RowCheckMask].Selected;
    CopyBounded(CurrentSettings.Mask, items[RowMask].Data, sizeof CurrentSettings.Mask);

    char* path = items[RowCfgFile].Data;
    HostUnquote(path);
    path[kDataSize - 1] = '\0';
    if (path[0] == '\0') {
        CopyBounded(CurrentSettings.CfgFile, DefaultCfgFile, sizeof CurrentSettings.CfgFile);
    } else if (StrLength(path) < sizeof CurrentSettings.CfgFile) {
        CopyBounded(CurrentSettings.CfgFile, path, sizeof CurrentSettings.CfgFile);
    }
    // A longer path would be cut into another file's name: the previous one stays.
}

void WriteAllSettings() {
    WriteNumber("ShowInPanels", CurrentSettings.ShowInPanels);
    WriteNumber("Automatic", CurrentSettings.Automatic);
    WriteNumber("RemoveOld", CurrentSettings.RemoveOld);
    WriteNumber("CheckMask", CurrentSettings.CheckMask);
    WriteSettingString(RegistryRoot::CurrentUser, "", "Mask", CurrentSettings.Mask);
    WriteSettingString(RegistryRoot::CurrentUser, "", "CfgFile", CurrentSettings.CfgFile);
}

}  // namespace

void ExpandDialogTemplate(const DialogTemplateRow* rows, FarDialogItem* items, int count) {
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
        const char* text = rows[i].MessageId >= 0 ? GetMsgText(rows[i].MessageId) : "";
        CopyBounded(item.Data, text, sizeof item.Data);
    }
}

bool ShowConfigDialog() {
    LoadSettings();
    Load(Positions, CurrentSettings.CfgFile, &Editors);

    FarDialogItem items[kConfigDialogRows];
    ExpandDialogTemplate(ConfigDialogTemplate, items, kConfigDialogRows);
    items[RowShowInPanels].Focus = 1;
    items[RowShowInPanels].Selected = CurrentSettings.ShowInPanels;
    items[RowAutomatic].Selected = CurrentSettings.Automatic;
    items[RowRemoveOld].Selected = CurrentSettings.RemoveOld;
    items[RowCheckMask].Selected = CurrentSettings.CheckMask;
    CopyBounded(items[RowMask].Data, CurrentSettings.Mask, sizeof items[RowMask].Data);
    CopyBounded(items[RowCfgFile].Data, CurrentSettings.CfgFile, sizeof items[RowCfgFile].Data);
    items[RowOk].DefaultButton = 1;

    if (HostDialog(-1, -1, kDialogWidth, kDialogHeight, items, kConfigDialogRows) != RowOk) return false;

    TakeValues(items);
    WriteAllSettings();
    Save(Positions, CurrentSettings.CfgFile, &Editors, true);
    return true;
}

}  // namespace plugin
}  // namespace tarnwick
