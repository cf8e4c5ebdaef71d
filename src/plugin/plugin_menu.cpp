#include "plugin/plugin_menu.h"

#include "plugin/config_dialog.h"
#include "plugin/editor_events.h"
#include "plugin/host.h"
#include "plugin/module.h"
#include "plugin/saved_positions.h"
#include "plugin/viewer_events.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

const Message kMenuMessageIds[kMenuCommandCount] = {kMsgMenuStore, kMsgMenuRestore, kMsgMenuList, kMsgMenuPurge,
                                                    kMsgMenuConfigure};

namespace {

enum Command { kCommandStore = 0, kCommandRestore = 1, kCommandList = 2, kCommandPurge = 3, kCommandConfigure = 4 };

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
    Message messageIds[kMenuCommandCount];
    for (int i = 0; i < kMenuCommandCount; ++i) messageIds[i] = kMenuMessageIds[i];

    LoadPositions(m);
    if ((openFrom == OPEN_EDITOR && PositionKnown(m)) || (openFrom == OPEN_VIEWER && CurrentViewerKnown(m))) {
        messageIds[kCommandStore] = kMsgMenuUpdate;
    }

    const bool fromPanels = openFrom == OPEN_PLUGINSMENU;
    const int firstCommand = fromPanels ? kCommandList : kCommandStore;
    const int count = kMenuCommandCount - firstCommand;
    FarMenuItemEx items[kMenuCommandCount];
    FillBytes(items, 0, sizeof items);
    for (int i = 0; i < count; ++i) {
        CopyBounded(items[i].Text, GetMsgText(m, messageIds[firstCommand + i]), sizeof items[i].Text);
    }
    items[0].Flags = MIF_SELECTED;
    if (!fromPanels && messageIds[kCommandStore] == kMenuMessageIds[kCommandStore]) items[1].Flags = MIF_DISABLE;

    for (;;) {
        int command = HostMenu(m, GetMsgText(m, kMsgTitle), nullptr, nullptr, nullptr, items, count);
        if (fromPanels && command >= 0) command += firstCommand;
        switch (command) {
        case kCommandStore:
            LoadPositions(m);
            if (openFrom == OPEN_EDITOR) PositionOp(m, PositionMode::Store);
            if (openFrom == OPEN_VIEWER) StoreCurrentViewer(m);
            break;
        case kCommandRestore:
            LoadPositions(m);
            if (openFrom == OPEN_EDITOR) PositionOp(m, PositionMode::Restore);
            if (openFrom == OPEN_VIEWER) RestoreCurrentViewer(m);
            break;
        case kCommandList:
            ShowSavedPositions(m);
            break;
        case kCommandPurge:
            ReportPurge(m, store::PurgeMissing(m.Positions, m.CurrentSettings.CfgFile));
            break;
        case kCommandConfigure:
            ShowConfigDialog(m);
            break;
        default:
            break;
        }
        const bool again = (fromPanels && command >= 0) || command == kCommandList || command == kCommandPurge ||
                           command == kCommandConfigure;
        if (!again) return;
    }
}

}  // namespace plugin
}  // namespace tarnwick
