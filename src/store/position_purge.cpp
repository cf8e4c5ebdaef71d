// The purge of the position file: items whose files are known to be gone.
#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "store/pending_changes.h"
#include "store/position_file.h"
#include "store/update_lock.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::GetAttribute;
using markup::MarkupNode;

int PurgeMissing(PositionFile& file, EditorTable* table, const char* fileName) {
    if (file.Document == nullptr) return 0;
    UpdateScope update(file, fileName);
    // Purging a stale copy and saving it would overwrite what another host
    // wrote meanwhile; without a current document nothing is purged.
    if (!Load(file, fileName, table) || file.Document == nullptr) return 0;

    int removed = 0;
    char type[kTypeSize];
    char path[kPathSize];
    MarkupNode* element = FirstElement(file.Document);
    while (element != nullptr) {
        MarkupNode* next = element->GetNext();
        const char* itemType = GetAttribute(element, "type");
        if (itemType != nullptr && IsItemOfType(element, itemType)) {
            CopyBounded(type, itemType, kTypeSize);
            CopyBounded(path, GetAttribute(element, "path"), kPathSize);
            // Only a file known to be gone is purged: one on a drive or share
            // that cannot be reached now, or whose lookup failed otherwise,
            // keeps its item.
            if (EnvOf(file)->ProbePath(path) == platform::Status::NotFound) {
                bool keep = false;
                if (table != nullptr) keep = !IsEditorType(type) || IsOpenHere(table, path);
                if (!keep) {
                    RemoveItemElement(file, element);
                    NoteRemoval(file, type, path);
                    ++removed;
                }
            }
        }
        element = next;
    }
    Save(file, fileName, table, false);
    return removed;
}

}  // namespace store
}  // namespace tarnwick
