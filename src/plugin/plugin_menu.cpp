#include "plugin/plugin_menu.h"

#include "plugin/config_dialog.h"
#include "plugin/editor_events.h"
#include "plugin/host.h"
#include "plugin/module.h"
#include "plugin/saved_positions.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

const int MenuMessageIds[kMenuCommandCount] = {1, 3, 4, 5, 6};

namespace {

enum Command { CommandStore = 0, CommandRestore = 1, CommandList = 2, CommandPurge = 3, CommandConfigure = 4 };

constexpr int kMsgStoreKnown = 2;
constexpr int kMsgPurgeReport = 16;
constexpr std::size_t kReportSize = 72;

// A position is known for the current editor when its file has an item or
// the editor is tracked.
bool PositionKnown(Module& m) {
    CurrentEditor editor;
    HostCurrentEditor(m, &editor);
    if (editor.FileName != nullptr && store::ReadItem(m.Positions, store::ItemKind::Editor, editor.FileName, nullptr)) {
        return true;
    }
    return ContainsRecord(m.Editors, EditorKey(editor.Id));
}

void ReportPurge(Module& m, int removed) {
    char report[kReportSize];
    FormatCountReport(GetMsgText(m, kMsgPurgeReport), removed, report, sizeof report);
    HostMessage(m, FMSG_MB_OK, report);
}

}  // namespace

void FormatCountReport(const char* format, int count, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return;
    std::size_t used = 0;
    auto put = [&](char c) {
        if (used + 1 < size) buffer[used++] = c;
    };
    char number[12];
    FormatInt(count, number);
    bool substituted = false;
    for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            put('%');
            ++p;
        } else if (p[0] == '%' && (p[1] == 'd' || p[1] == 'i') && !substituted) {
            for (const char* digit = number; *digit != '\0'; ++digit) put(*digit);
            substituted = true;
            ++p;
        } else {
            put(*p);
        }
    }
    buffer[used] = '\0';
}

void RunPluginMenu(Module& m, int openFrom) {
    int messageIds[kMenuCommandCount];
    for (int i = 0; i < kMenuCommandCount; ++i) messageIds[i] = MenuMessageIds[i];

    LoadPositions(m);
    if (openFrom == OPEN_EDITOR && PositionKnown(m)) messageIds[CommandStore] = kMsgStoreKnown;

    const bool fromPanels = openFrom == OPEN_PLUGINSMENU;
    const int firstCommand = fromPanels ? CommandList : CommandStore;
    const int count = kMenuCommandCount - firstCommand;
    FarMenuItemEx items[kMenuCommandCount];
    FillBytes(items, 0, sizeof items);
    for (int i = 0; i < count; ++i) {
        CopyBounded(items[i].Text, GetMsgText(m, messageIds[firstCommand + i]), sizeof items[i].Text);
    }
    items[0].Flags = MIF_SELECTED;
    if (!fromPanels && messageIds[CommandStore] == MenuMessageIds[CommandStore]) items[1].Flags = MIF_DISABLE;

    for (;;) {
        int command = HostMenu(m, GetMsgText(m, 0), nullptr, nullptr, nullptr, items, count);
        if (fromPanels && command >= 0) command += firstCommand;
        switch (command) {
        case CommandStore:
            LoadPositions(m);
            if (openFrom == OPEN_EDITOR) PositionOp(m, StorePosition);
            break;
        case CommandRestore:
            LoadPositions(m);
            if (openFrom == OPEN_EDITOR) PositionOp(m, RestorePosition);
            break;
        case CommandList:
            ShowSavedPositions(m);
            break;
        case CommandPurge:
            ReportPurge(m, store::PurgeMissing(m.Positions, m.CurrentSettings.CfgFile));
            break;
        case CommandConfigure:
            ShowConfigDialog(m);
            break;
        default:
            break;
        }
        const bool again = (fromPanels && command >= 0) || command == CommandList || command == CommandPurge ||
                           command == CommandConfigure;
        if (!again) return;
    }
}

}  // namespace plugin
}  // namespace tarnwick
