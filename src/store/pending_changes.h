// The changes this host made to the position file that are not on disk yet:
// a list of (kind, path) with either the place the item is to hold or its
// removal, kept in the PositionFile from the change until a Save succeeds.
// A save that cannot be done now (the file held open by another program, a
// full disk, access denied) thus loses nothing: the next Load that merges
// another host's file makes the changes again on top of it (a change not on
// disk wins over the file's copy, a removal stays removed), and the next
// successful Save writes them.
//
// The verbs WriteItem, AddItem and RemoveItem, and the purge, note what
// they change. A change that cannot be noted (memory ran out) is still made
// to the document, as before. Noting is constant time; ReapplyPending is
// linear in the list, each entry one item lookup.
#pragma once

#include "store/position_file_state.h"

namespace tarnwick {
namespace store {

struct PendingChange {
    PendingChange* Next;  // the next newer change
    bool Removed;         // the item is to be gone; otherwise it holds Place
    ItemKind Kind;
    StoredPlace Place;
    char Path[kPathSize];
};

// Notes that the item of (kind, path) now holds `place`. False when memory
// ran out or the path does not fit.
bool NotePlace(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place);
// Notes the removal of the item of (kind, path). False when memory ran out
// or the path does not fit.
bool NoteRemoval(PositionFile& file, ItemKind kind, const char* path);

// Makes every pending change again, oldest first: a removal removes the
// item, a place is written into the item or, when it is gone, added.
// False when memory ran out for one of them (each change is whole or not
// made; the others are still made).
bool ReapplyPending(PositionFile& file);
// True when a change of the item of (kind, path) is not on disk yet and it
// is not a removal. Linear in the list (the merge asks for each item it
// drops; the list is empty but after failed saves).
bool IsPendingPlace(const PositionFile& file, ItemKind kind, const char* path);
// Forgets every pending change (after a successful Save, at close).
void ClearPending(PositionFile& file);

}  // namespace store
}  // namespace tarnwick
