// The position file: the stored places of files, kept in memory and in step
// with one file on disk that several host processes share. The format is in
// doc/position-file.md.
//
// A PositionFile is an opaque handle, opened with everything it depends on
// (the environment it reads, writes and allocates through, the case
// comparison its paths follow, what the host has open) and closed once.
// Callers reach its items only through the verbs below, by (kind, path);
// paths compare ignoring case with the handle's comparison. Every verb takes
// a null handle and then does nothing and reports failure (false, 0).
//
// Sharing. Before working on the items, callers Load, which re-reads the
// file when it changed on disk (another last-write time, size or identity
// than at the last read or this host's last save, or another path) and
// merges it into memory: items only in the file are added, items only in
// memory are dropped (and the host is told, OpenFiles::Forget), and items
// in both take the file's values unless the host has that file open
// (OpenFiles::IsOpen). Every change is written back with Save, which
// replaces the whole file in one step. A change is made between
// BeginUpdate and EndUpdate (UpdateScope), which keep other hosts from
// writing in between.
//
// Pending changes. WriteItem, AddItem, RemoveItem and PurgeMissing note
// what they change. Until a Save writes it, every Load makes the change
// again on top of what it read, so a save that could not be done now (the
// file held by another program, a full disk) loses nothing: the next
// successful Save writes it.
//
// Items. An item is a top-level element named "item" (ignoring case) with
// a `type` and a `path` attribute. Items whose path (over 259 characters) or
// type (over 19) does not fit the working buffers are no items to any verb:
// they are kept in memory and in the file, never matched, counted, purged,
// taken over or dropped. So are items of a type no ItemKind names: kept,
// never taken over from another host's file.
//
// Cost: finding, writing, adding and removing an item is one hash lookup;
// Load, Save, the merge, the walk and the purge are linear in the items.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "store/stored_place.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace store {

// What the host has open, asked by the merge and the purge. Both functions
// get `Context` first.
struct OpenFiles {
    // True when a file of `path` (compared ignoring case) is open here, so
    // that the merge keeps memory's values for it and the purge spares it.
    // The merge asks it for every item it finds in both copies: `pathHash`
    // is FoldedHash(path) (support/text.h), by which a host can rule out
    // nearly every path without a comparison (support/path_filter.h).
    bool (*IsOpen)(void* context, ItemKind kind, const char* path, std::uint32_t pathHash);
    // Another host removed the item of `path`: the host stops following
    // the files of that path (their item does not come back at their close).
    void (*Forget)(void* context, ItemKind kind, const char* path);
    void* Context;
};

struct PositionFileSetup {
    platform::Env* Env;                // REQUIRES: not null; must outlive the handle
    const CaseComparison* Comparison;  // REQUIRES: not null; must outlive the handle
    // What the host has open; null for a handle without a host (tests,
    // tools): then nothing counts as open and the purge takes items of
    // every type. Must outlive the handle.
    const OpenFiles* Open;
    // The most memory the items parsed by a Load may take, and the largest
    // file it reads; 0 for kDefaultMemoryLimit.
    std::uint64_t MemoryLimit;
};

// The memory limit of a handle opened without one: 256 MB in a 32-bit
// process, well inside a host's address space (about 1.2 million items of
// the usual length); 512 MB in a 64-bit one, whose nodes take up to twice
// as much, so that it loads every file a 32-bit build loads.
constexpr std::uint64_t kDefaultMemoryLimit = (sizeof(void*) > 4 ? 512u : 256u) * 1024u * 1024u;

struct PositionFile;

// A handle with no items and nothing loaded; null when memory runs out or
// the setup lacks its environment or comparison. Nothing is read yet.
PositionFile* OpenPositionFile(const PositionFileSetup& setup);
// Forgets the items and the pending changes, lets a held update lock go
// and releases the handle. Null is ignored.
void ClosePositionFile(PositionFile* file);

// Brings memory in line with the file `fileName` (see above). True when
// memory is current. A file that does not exist counts as empty. A file
// that exists but cannot be read now (held by another host, access denied)
// is retried for about 200 ms; if it stays unreadable, cannot be sized, or
// memory runs out, Load returns false and memory stays as it was. So does a
// file name over 259 characters, a file larger than the memory limit
// (before it is read) or one whose items would take more (the parse is
// whole or nothing). After a failed Load the items are older than the file.
bool Load(PositionFile* file, const char* fileName);

// Writes every item to `fileName`, after a Load when `reloadFirst` is set
// (nothing is written when that Load fails). Nothing is written before the
// first successful Load either. A file the plug-in did not write (its text
// held something the reader could not keep) is first copied to
// "<fileName>.bak" unless that exists already; when the copy cannot be
// made, nothing is written. True when the file was replaced in full, and
// the pending changes are forgotten then; on false the file on disk is as
// it was and the pending changes stay. The next Load of the file as
// written reads nothing.
bool Save(PositionFile* file, const char* fileName, bool reloadFirst);

// Find: true when there is an item of (kind, path); its attributes then
// overwrite the members of `*place` that they hold, of the kind's member
// only (Editor or Viewer): a missing attribute leaves its member, a number
// that is not one gives 0, a malformed table Unknown, and bookmarks are
// read leniently (doc/position-file.md). Callers start from EmptyPlace(). `place` may be null
// to ask only whether the item is there. The first item in document order
// answers when there are several.
bool ReadItem(const PositionFile* file, ItemKind kind, const char* path, StoredPlace* place);

// Put: sets the place of the existing item of (kind, path), whole or not at
// all, and notes the change: every attribute of its kind is set, one with
// nothing to say (no bookmark set, table Unknown) is removed, attributes of
// no field of the kind stay. False, with the item as it was and nothing
// noted, when there is no such item or memory runs out. An item that has
// no room (32 attributes) for a field it lacks gets the other fields, and
// the result is false with nothing noted.
bool WriteItem(PositionFile* file, ItemKind kind, const char* path, const StoredPlace& place);
// Puts a new item of (kind, path) in front of all others, with `place`,
// and notes the change. False, with nothing added or noted, before the
// first successful Load, for a path too long for a path buffer, or when
// memory runs out. Callers that want one item per path ask ReadItem first.
bool AddItem(PositionFile* file, ItemKind kind, const char* path, const StoredPlace& place);
// Removes the first item of (kind, path), if any, and notes the removal
// (also when there was none, so that a merge does not bring it back).
void RemoveItem(PositionFile* file, ItemKind kind, const char* path);

// The number of items of `kind`.
int CountItems(const PositionFile* file, ItemKind kind);
// Walk: calls `visit` for the items of `kind` in document order (newest
// first), with each one's path and place,
// until `visit` returns false. The items must not change during the walk;
// the path is valid during the call only. Members an item lacks are as in
// EmptyPlace().
void VisitItems(const PositionFile* file, ItemKind kind,
                bool (*visit)(void* context, const char* path, const StoredPlace& place), void* context);

// Loads, removes the items whose files are known to be missing
// (Env::ProbePath says NotFound: not those on a drive or share that cannot
// be reached or whose lookup failed; with OpenFiles, not those of a type
// no ItemKind names nor those open here), notes each removal, saves
// without reload whatever was removed, and returns how many went. Before
// the first successful Load, or when this Load fails, nothing is purged or
// written and the result is 0.
int PurgeMissing(PositionFile* file, const char* fileName);

// True while a change is not on disk yet.
bool HasPending(const PositionFile* file);

// What the file at `path` is, read with the handle's environment (see
// store/foreign_file.h).
enum class FileKind {
    Absent,        // no file at the path
    PositionFile,  // empty, or every byte of it reads back as elements
    Foreign,       // it held something the reader could not keep
    Unreadable,    // there, but not readable now (held, denied, too large, no memory)
};
FileKind InspectFile(const PositionFile* file, const char* path);

// The update lock of the file `fileName` (store/update_lock.h): taken by
// the outermost BeginUpdate, let go by its EndUpdate. True when it is
// held; false when the update goes on unlocked. Callers never show a menu,
// a message or a dialog between the two.
bool BeginUpdate(PositionFile* file, const char* fileName);
void EndUpdate(PositionFile* file);

// Keeps an update for the life of the object.
class UpdateScope {
public:
    UpdateScope(PositionFile* file, const char* fileName) : file_(file) { BeginUpdate(file, fileName); }
    ~UpdateScope() { EndUpdate(file_); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    PositionFile* file_;
};

}  // namespace store
}  // namespace tarnwick
