// The changes this host made to the position file that are not on disk yet:
// a list of (type, path) with either the position the item is to hold or
// its deletion, kept in the PositionFile from the change until a Save
// succeeds. A save that cannot be done now (the file held open by another
// program, a full disk, access denied) thus loses nothing: the next Load
// that merges another host's file makes the changes again on top of it
// (a change not on disk wins over the file's copy, a deletion stays
// deleted), and the next successful Save writes them.
//
// The plug-in changes items through StoreItem, UpdateExistingItem and
// DeleteItem, which make the change and note it. A change that cannot be
// noted (memory ran out) is still made to the document, as before.
// Noting is constant time; ReapplyPending is linear in the list, each entry
// one item lookup.
#pragma once

#include "store/position_file.h"

namespace tarnwick {
namespace store {

struct PendingChange {
    PendingChange* Next;  // the next newer change
    bool Deleted;         // the item is to be gone; otherwise it holds Position
    EditorSetPosition Position;
    char Type[kTypeSize];
    char Path[kPathSize];
};

// Sets the item's position, adding the item when there is none, and notes
// the change. False when the item could neither be written nor added.
bool StoreItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
// Sets the position of an item that exists and notes it; false (nothing
// noted) when there is no such item.
bool UpdateExistingItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
// Removes the item (RemoveItem) and notes its deletion.
void DeleteItem(PositionFile& file, const char* type, const char* path);
// Notes the deletion of an item already taken out of the document. False
// when memory ran out or the type or path does not fit.
bool NoteRemoval(PositionFile& file, const char* type, const char* path);

// Makes every pending change again, oldest first: a deletion removes the
// item, a position is written into the item or, when it is gone, added.
// False when memory ran out for one of them (each change is whole or not
// made; the others are still made).
bool ReapplyPending(PositionFile& file);
// True when a change of an item of `type` and `path` (ignoring case) is not
// on disk yet and it is not a deletion. Linear in the list (the merge asks
// for each item it drops; the list is empty but after failed saves).
bool IsPendingPosition(const PositionFile& file, const char* type, const char* path);
bool HasPending(const PositionFile& file);
// Forgets every pending change (after a successful Save, at unload).
void ClearPending(PositionFile& file);

}  // namespace store
}  // namespace tarnwick
