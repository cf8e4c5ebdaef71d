#include "store/pending_changes.h"

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "store/item_update.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

bool Note(PositionFile& file, ItemKind kind, const char* path, bool removed, const StoredPlace& place) {
    if (!FitsIn(path, kPathSize)) return false;
    // Repeated changes of one item (saving one file again and again) take
    // one entry.
    PendingChange* last = file.PendingTail;
    if (last != nullptr && last->Kind == kind && file.Comparison->Equal(last->Path, path)) {
        last->Removed = removed;
        last->Place = place;
        return true;
    }
    PendingChange* change = static_cast<PendingChange*>(file.Env->AllocZeroed(sizeof(PendingChange)));
    if (change == nullptr) return false;
    change->Next = nullptr;
    change->Removed = removed;
    change->Kind = kind;
    change->Place = place;
    CopyBounded(change->Path, path, kPathSize);
    if (file.PendingTail != nullptr) {
        file.PendingTail->Next = change;
    } else {
        file.Pending = change;
    }
    file.PendingTail = change;
    return true;
}

}  // namespace

bool NotePlace(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place) {
    return Note(file, kind, path, false, place);
}

bool NoteRemoval(PositionFile& file, ItemKind kind, const char* path) {
    return Note(file, kind, path, true, StoredPlace{});
}

bool ReapplyPending(PositionFile& file) {
    if (file.Document == nullptr) return true;
    bool reapplied = true;
    for (const PendingChange* change = file.Pending; change != nullptr; change = change->Next) {
        if (change->Removed) {
            MarkupNode* element = FindItem(file, change->Kind, change->Path);
            if (element != nullptr) RemoveItemElement(file, element);
        } else {
            reapplied = StoreWholeItem(file, change->Kind, change->Path, change->Place) && reapplied;
        }
    }
    return reapplied;
}

bool IsPendingPlace(const PositionFile& file, ItemKind kind, const char* path) {
    if (path == nullptr) return false;
    // The newest change of the item decides.
    bool pending = false;
    for (const PendingChange* change = file.Pending; change != nullptr; change = change->Next) {
        if (change->Kind == kind && file.Comparison->Equal(change->Path, path)) pending = !change->Removed;
    }
    return pending;
}

bool HasPending(const PositionFile* file) { return file != nullptr && file->Pending != nullptr; }

void ClearPending(PositionFile& file) {
    PendingChange* change = file.Pending;
    while (change != nullptr) {
        PendingChange* next = change->Next;
        file.Env->Release(change);
        change = next;
    }
    file.Pending = nullptr;
    file.PendingTail = nullptr;
}

}  // namespace store
}  // namespace tarnwick
