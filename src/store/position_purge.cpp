// The purge of the position file: items whose files are known to be gone.
#include "markup/markup_node.h"
#include "store/item_fields.h"
#include "store/item_rules.h"
#include "store/pending_changes.h"
#include "store/position_file.h"
#include "store/position_file_state.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

// True when the purge keeps the item although its file is missing: with a
// host, items of a type no kind names (another program's, a later
// version's) and those of files open here.
bool KeptWhileMissing(const PositionFile& file, bool known, ItemKind kind, const char* path) {
    if (file.Open == nullptr) return false;
    return !known || IsOpenHere(file, kind, path, FoldedHash(path));
}

}  // namespace

int PurgeMissing(PositionFile* file, const char* fileName) {
    if (file == nullptr || file->Document == nullptr) return 0;
    UpdateScope update(file, fileName);
    // Purging a stale copy and saving it would overwrite what another host
    // wrote meanwhile; without a current document nothing is purged.
    if (!Load(file, fileName) || file->Document == nullptr) return 0;

    int removed = 0;
    char path[kPathSize];
    MarkupNode* element = FirstElement(file->Document);
    while (element != nullptr) {
        MarkupNode* next = element->GetNext();
        ItemFields fields;
        FindFields(element, fields);
        const char* type = QualifyingType(element, fields);
        // Only a file known to be gone is purged: one on a drive or share
        // that cannot be reached now, or whose lookup failed otherwise,
        // keeps its item.
        if (type != nullptr) {
            CopyBounded(path, FieldValue(element, fields, kFieldPath), kPathSize);
            ItemKind kind = ItemKind::Editor;
            bool known = KindOfType(type, &kind);
            if (file->Env->ProbePath(path) == platform::Status::NotFound &&
                !KeptWhileMissing(*file, known, kind, path)) {
                RemoveItemElement(*file, element);
                // An item of a kind no merge takes over cannot come back:
                // only the known kinds need their removal noted.
                if (known) NoteRemoval(*file, kind, path);
                ++removed;
            }
        }
        element = next;
    }
    Save(file, fileName, false);
    return removed;
}

}  // namespace store
}  // namespace tarnwick
