#include "store/pending_changes.h"

#include "store/item_rules.h"
#include "store/item_update.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

namespace {

bool Note(PositionFile& file, const char* type, const char* path, bool deleted, const EditorSetPosition& position) {
    if (!FitsIn(type, kTypeSize) || !FitsIn(path, kPathSize)) return false;
    // Repeated changes of one item (saving one file again and again) take
    // one entry.
    PendingChange* last = file.PendingTail;
    if (last != nullptr && EqualNoCase(last->Type, type) && EqualNoCase(last->Path, path)) {
        last->Deleted = deleted;
        last->Position = position;
        return true;
    }
    PendingChange* change = static_cast<PendingChange*>(EnvOf(file)->AllocZeroed(sizeof(PendingChange)));
    if (change == nullptr) return false;
    change->Next = nullptr;
    change->Deleted = deleted;
    change->Position = position;
    CopyBounded(change->Type, type, kTypeSize);
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

bool StoreItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    bool written = StoreWholeItem(file, type, path, position);
    if (written) Note(file, type, path, false, position);
    return written;
}

bool UpdateExistingItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    if (!UpdateWholeItem(file, type, path, position)) return false;
    Note(file, type, path, false, position);
    return true;
}

void DeleteItem(PositionFile& file, const char* type, const char* path) {
    RemoveItem(file, type, path);
    NoteRemoval(file, type, path);
}

bool NoteRemoval(PositionFile& file, const char* type, const char* path) {
    EditorSetPosition none{};
    return Note(file, type, path, true, none);
}

bool ReapplyPending(PositionFile& file) {
    if (file.Document == nullptr) return true;
    bool reapplied = true;
    for (const PendingChange* change = file.Pending; change != nullptr; change = change->Next) {
        if (change->Deleted) {
            RemoveItem(file, change->Type, change->Path);
        } else {
            reapplied = StoreWholeItem(file, change->Type, change->Path, change->Position) && reapplied;
        }
    }
    return reapplied;
}

bool IsPendingPosition(const PositionFile& file, const char* type, const char* path) {
    if (type == nullptr || path == nullptr) return false;
    // The newest change of the item decides.
    bool pending = false;
    for (const PendingChange* change = file.Pending; change != nullptr; change = change->Next) {
        if (EqualNoCase(change->Type, type) && EqualNoCase(change->Path, path)) {
            pending = !change->Deleted;
        }
    }
    return pending;
}

bool HasPending(const PositionFile& file) { return file.Pending != nullptr; }

void ClearPending(PositionFile& file) {
    PendingChange* change = file.Pending;
    while (change != nullptr) {
        PendingChange* next = change->Next;
        EnvOf(file)->Release(change);
        change = next;
    }
    file.Pending = nullptr;
    file.PendingTail = nullptr;
}

}  // namespace store
}  // namespace tarnwick
