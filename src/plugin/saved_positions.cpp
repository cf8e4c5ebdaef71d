#include "plugin/saved_positions.h"

#include <cstddef>
#include <cstdint>

#include "markup/markup_node.h"
#include "plugin/host.h"
#include "plugin/plugin_state.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using namespace store;
using markup::GetAttribute;
using markup::MarkupNode;

namespace {

constexpr int kMsgListBottom = 7;
constexpr int kMsgDeleteQuestion = 13;
constexpr int kMsgNothingStored = 14;
constexpr int kMsgLastDeleted = 15;
constexpr int kShownPathLength = 62;

struct PathSlot {
    char Text[kPathSize];
};

// The menu line of one item: its type in lower case, ": ", its path
// shortened by the host.
void BuildLine(const char* type, const char* path, FarMenuItemEx* item) {
    char lowerType[kTypeSize];
    CopyBounded(lowerType, type, sizeof lowerType);
    HostLowerCase(lowerType);
    char shortPath[kPathSize];
    CopyBounded(shortPath, path, sizeof shortPath);
    HostTruncatePath(shortPath, kShownPathLength);
    shortPath[kPathSize - 1] = '\0';
    CopyBounded(item->Text, lowerType, sizeof item->Text);
    AppendBounded(item->Text, ": ", sizeof item->Text);
    AppendBounded(item->Text, shortPath, sizeof item->Text);
}

// Fills up to `capacity` entries from the document's items of type
// "editor", in document order; returns how many were filled.
int FillEntries(FarMenuItemEx* items, PathSlot* paths, int capacity) {
    MarkupNode* document = Document(Positions);
    int filled = 0;
    for (MarkupNode* node = document != nullptr ? document->GetNext() : nullptr; node != nullptr && filled < capacity;
         node = node->GetNext()) {
        if (!IsItemOfType(node, kItemTypeEditor)) continue;
        const char* path = GetAttribute(node, "path");
        const char* type = GetAttribute(node, "type");
        if (path == nullptr || type == nullptr) continue;
        if (!CopyBounded(paths[filled].Text, path, sizeof paths[filled].Text)) continue;
        BuildLine(type, path, &items[filled]);
        ++filled;
    }
    return filled;
}

// Deletes the entry's item from the document, its editor's record from the
// table, and saves.
void DeleteStoredPosition(const char* path) {
    Load(Positions, CurrentSettings.CfgFile, &Editors);
    RemoveItem(Positions, kItemTypeEditor, path);
    EditorRecord record = PathKey(path);
    if (FetchRecordByPath(Editors, &record)) RemoveRecord(Editors, record);
    Save(Positions, CurrentSettings.CfgFile, &Editors, false);
}

void RunList(FarMenuItemEx* items, PathSlot* paths, int count) {
    static const int breakKeys[] = {VK_DELETE_KEY, 0};
    int selected = 0;
    items[selected].Flags = MIF_SELECTED;
    for (;;) {
        if (count == 0) {
            HostMessage(FMSG_WARNING | FMSG_MB_OK, GetMsgText(kMsgLastDeleted));
            return;
        }
        int breakCode = -1;
        const int chosen = HostMenu(GetMsgText(0), GetMsgText(kMsgListBottom), breakKeys, &breakCode, items, count);
        if (chosen < 0) return;
        items[selected].Flags = 0;
        if (breakCode != 0 || chosen >= count) continue;
        if (HostMessage(FMSG_MB_YESNO, GetMsgText(kMsgDeleteQuestion)) != 0) continue;

        DeleteStoredPosition(paths[chosen].Text);
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

void ShowSavedPositions() {
    Load(Positions, CurrentSettings.CfgFile, &Editors);
    const int stored = CountItems(Positions, kItemTypeEditor);
    if (stored <= 0) {
        HostMessage(FMSG_WARNING | FMSG_MB_OK, GetMsgText(kMsgNothingStored));
        return;
    }
    const std::size_t entries = static_cast<std::size_t>(stored);
    if (entries > SIZE_MAX / sizeof(FarMenuItemEx) || entries > SIZE_MAX / sizeof(PathSlot)) return;
    FarMenuItemEx* items = static_cast<FarMenuItemEx*>(EnvOf(Positions)->AllocZeroed(entries * sizeof(FarMenuItemEx)));
    PathSlot* paths = static_cast<PathSlot*>(EnvOf(Positions)->AllocZeroed(entries * sizeof(PathSlot)));
    if (items != nullptr && paths != nullptr) {
        const int filled = FillEntries(items, paths, stored);
        if (filled == 0) {
            // Every item was left out: there is nothing to list.
            HostMessage(FMSG_WARNING | FMSG_MB_OK, GetMsgText(kMsgNothingStored));
        } else {
            RunList(items, paths, filled);
        }
    }
    EnvOf(Positions)->Release(paths);
    EnvOf(Positions)->Release(items);
}

}  // namespace plugin
}  // namespace tarnwick
