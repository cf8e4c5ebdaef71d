#include "plugin/saved_positions.h"

#include <cstddef>
#include <cstdint>

#include "plugin/host.h"
#include "plugin/module.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

constexpr int kShownPathLength = 62;
constexpr int kShownTypeSize = 20;

// What an entry deletes: the item of this kind and path.
struct PathSlot {
    store::ItemKind Kind;
    char Text[kPathSize];
};

// The menu line of one item: its type in lower case, ": ", its path
// shortened by the host.
void BuildLine(Module& m, const char* type, const char* path, FarMenuItemEx* item) {
    char lowerType[kShownTypeSize];
    CopyBounded(lowerType, type, sizeof lowerType);
    HostLowerCase(m, lowerType);
    char shortPath[kPathSize];
    CopyBounded(shortPath, path, sizeof shortPath);
    HostTruncatePath(m, shortPath, kShownPathLength);
    shortPath[kPathSize - 1] = '\0';
    CopyBounded(item->Text, lowerType, sizeof item->Text);
    AppendBounded(item->Text, ": ", sizeof item->Text);
    AppendBounded(item->Text, shortPath, sizeof item->Text);
}

struct ListFill {
    Module* M;
    store::ItemKind Kind;
    FarMenuItemEx* Items;
    PathSlot* Paths;
    int Capacity;
    int Filled;
};

bool AddEntry(void* context, const char* path, const store::StoredPlace&) {
    ListFill& fill = *static_cast<ListFill*>(context);
    if (fill.Filled >= fill.Capacity) return false;
    PathSlot& slot = fill.Paths[fill.Filled];
    if (CopyBounded(slot.Text, path, sizeof slot.Text)) {
        slot.Kind = fill.Kind;
        BuildLine(*fill.M, store::ItemTypeText(fill.Kind), path, &fill.Items[fill.Filled]);
        ++fill.Filled;
    }
    return true;
}

// Fills up to `capacity` entries from the items, the editor's first and
// then the viewer's, each in document order; returns how many were filled.
int FillEntries(Module& m, FarMenuItemEx* items, PathSlot* paths, int capacity) {
    ListFill fill{&m, store::ItemKind::Editor, items, paths, capacity, 0};
    store::VisitItems(m.Positions, store::ItemKind::Editor, AddEntry, &fill);
    fill.Kind = store::ItemKind::Viewer;
    store::VisitItems(m.Positions, store::ItemKind::Viewer, AddEntry, &fill);
    return fill.Filled;
}

// Deletes the entry's item (of its kind only) from the position file, the
// record of the editor or viewer that has it open from the table, and
// saves.
void DeleteStoredPosition(Module& m, const PathSlot& entry) {
    store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
    LoadPositions(m);
    store::RemoveItem(m.Positions, entry.Kind, entry.Text);
    EditorRecord record = PathKey(entry.Text, entry.Kind);
    if (FetchRecordByPath(m.Editors, &record)) RemoveRecord(m.Editors, record);
    SavePositions(m, true);
}

void RunList(Module& m, FarMenuItemEx* items, PathSlot* paths, int count) {
    static const int breakKeys[] = {kVirtualKeyDelete, 0};
    int selected = 0;
    items[selected].Flags = MIF_SELECTED;
    for (;;) {
        if (count == 0) {
            HostMessage(m, FMSG_WARNING | FMSG_MB_OK, GetMsgText(m, kMsgLastDeleted));
            return;
        }
        int breakCode = -1;
        const int chosen = HostMenu(m, GetMsgText(m, kMsgTitle), GetMsgText(m, kMsgListBottom), breakKeys, &breakCode, items, count);
        if (chosen < 0) return;
        items[selected].Flags = 0;
        if (breakCode != 0 || chosen >= count) continue;
        if (HostMessage(m, FMSG_MB_YESNO, GetMsgText(m, kMsgAskDelete)) != 0) continue;

        DeleteStoredPosition(m, paths[chosen]);
        --count;
        for (int i = chosen; i < count; ++i) {
            CopyBytes(&items[i], &items[i + 1], sizeof items[i]);
            CopyBytes(&paths[i], &paths[i + 1], sizeof paths[i]);
        }
        if (count > 0) {
            selected = chosen < count ? chosen : chosen - 1;
            items[selected].Flags = MIF_SELECTED;
        }
    }
}

}  // namespace

void ShowSavedPositions(Module& m) {
    LoadPositions(m);
    const int editors = store::CountItems(m.Positions, store::ItemKind::Editor);
    const int viewers = store::CountItems(m.Positions, store::ItemKind::Viewer);
    const int stored = editors > 0 && viewers > INT32_MAX - editors ? INT32_MAX : editors + viewers;
    if (stored <= 0) {
        HostMessage(m, FMSG_WARNING | FMSG_MB_OK, GetMsgText(m, kMsgNothingStored));
        return;
    }
    const std::size_t entries = static_cast<std::size_t>(stored);
    if (entries > SIZE_MAX / sizeof(FarMenuItemEx) || entries > SIZE_MAX / sizeof(PathSlot)) return;
    FarMenuItemEx* items = static_cast<FarMenuItemEx*>(m.Env->AllocZeroed(entries * sizeof(FarMenuItemEx)));
    PathSlot* paths = static_cast<PathSlot*>(m.Env->AllocZeroed(entries * sizeof(PathSlot)));
    if (items != nullptr && paths != nullptr) {
        const int filled = FillEntries(m, items, paths, stored);
        if (filled == 0) {
            // Every item was left out: there is nothing to list.
            HostMessage(m, FMSG_WARNING | FMSG_MB_OK, GetMsgText(m, kMsgNothingStored));
        } else {
            RunList(m, items, paths, filled);
        }
    }
    m.Env->Release(paths);
    m.Env->Release(items);
}

}  // namespace plugin
}  // namespace tarnwick
