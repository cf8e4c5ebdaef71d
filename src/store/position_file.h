// The position file: the markup document of `item` elements held in memory
// and kept in step with the file on disk, which several host processes
// share. A change is made between BeginUpdate and EndUpdate (update_lock.h),
// which keep other hosts from writing in between; the changes made through
// pending_changes.h stay remembered until a Save writes them.
//
// Before working on the document, callers call Load, which re-reads the file
// when it changed on disk (another last-write time or size than at the last
// read, or another path) and merges it into the document in memory: items
// only in the file are added, items only in memory are dropped together with
// the EditorRecords of their path, and items in both take the file's values
// unless an editor of this process has that file open. Every change is
// written back at once with Save, which replaces the whole file in one step.
//
// An item is a top-level element named "item" (ignoring case) with a `type`
// and a `path` attribute; paths and types compare ignoring case. Items whose
// path (over 259 characters) or type (over 19) does not fit the working
// buffers are not items to any operation here: they are kept in memory and
// in the file, never matched, counted, purged, taken over or dropped.
//
// After every Load that read the file, the changes not yet on disk (see
// pending_changes.h) are made to the document again, so that a merge never
// overrides or brings back what this host changed but could not save yet;
// a successful Save forgets them.
//
// The merge takes over items of type "editor" only (record kind 0); other
// elements in memory stay as they are, other elements of the file are not
// taken over. It indexes both sides by path, so it is linear in the items.
// Single lookups go through the document's index (store/document_index.h),
// kept in step by every operation here and rebuilt after a merge; they walk
// the document only when the index could not be had (memory ran out).
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "store/document_index.h"
#include "store/editor_table.h"
#include "support/editor_position.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PendingChange;

constexpr int kTypeSize = 20;  // item types: 19 characters and the terminator

extern const char* const kItemTypeEditor;  // "editor"

struct PositionFile {
    markup::MarkupNode* Document;                 // owned; null until the first successful Load
    char LoadedPath[kPathSize];           // the path the document reflects; empty when the file
                                          // was absent or its time or size could not be read
    platform::FileTime LoadedTime;        // the file's last-write time at that read; zero when none
    std::uint64_t LoadedIdentity;         // the file's identity at that read (see platform); 0 when unknown
    std::uint64_t LoadedSize;             // the file's size at that read; 0 when none
    bool LoadedForeign;                   // that read's text held something the reader could
                                          // not keep (store/foreign_file.h): a backup is
                                          // kept before the file is replaced
    platform::Env* Env;                   // reads, writes and allocates through it; null for
                                          // Env::Default()
    std::uint64_t MemoryLimit;            // the most memory the document parsed by a Load may
                                          // take, and the largest file it reads; 0 for
                                          // markup::kDocumentMemoryLimit
    PendingChange* Pending;               // changes not yet on disk, oldest first; owned
    PendingChange* PendingTail;           // the newest of them; null when none
    platform::LockFile* UpdateLock;       // the lock held between BeginUpdate and EndUpdate
    std::int32_t UpdateDepth;             // how many BeginUpdate calls are not ended yet
    bool LockStuck;                       // the last wait for the lock ran out (update_lock.h)
    DocumentIndex Index;                  // the document's items by type and path; zero when none
};

// The memory limit `file` works with.
std::uint64_t MemoryLimitOf(const PositionFile& file);

// The environment `file` works through.
platform::Env* EnvOf(const PositionFile& file);

// Brings the document in line with the file `fileName` (see above). `table`
// may be null. True when the document in memory is current. The file is read
// only when its last-write time, size or identity differs from the last read
// or this host's last save (in either direction), or another path (ignoring
// case) is asked for; without a document it is parsed into a fresh one,
// otherwise merged. A file that does
// not exist counts as empty. A file that exists but cannot be read now (held
// by another host, access denied) is retried for about 200 ms; if it stays
// unreadable, cannot be sized, or memory runs out, Load returns false and
// the document and the Loaded* fields stay as they were. A file name over
// 259 characters is refused the same way, and so is a file larger than the
// memory limit (before it is read) or one whose document would take more
// (the parse is whole or nothing, see markup_parser.h).
bool Load(PositionFile& file, const char* fileName, EditorTable* table);

// Writes the whole document to `fileName`, after a Load when `reloadFirst`
// is set (nothing is written when that Load fails). A file the plug-in did
// not write (its text held something the reader could not keep) is first
// copied to "<fileName>.bak" unless that exists already; when the copy
// cannot be made, nothing is written. True when the file was replaced in
// full, and the pending changes are forgotten then; on false the file on
// disk is as it was and the pending changes stay. After a save the Loaded*
// fields describe the file as written (its time, size and identity, taken
// before it replaced the old one), so that the next Load of it reads
// nothing unless another host has replaced it since.
bool Save(PositionFile& file, const char* fileName, EditorTable* table, bool reloadFirst);

// The first qualifying item with that type and path (ignoring case), or null.
markup::MarkupNode* FindItem(const PositionFile& file, const char* type, const char* path);
bool ItemExists(const PositionFile& file, const char* type, const char* path);
// Reads line, column, top, left and overtype into the position when `type`
// is "editor" (a missing attribute leaves its member, one that is not a
// number gives 0; CurTabPos becomes -1). False only for a null element.
bool ReadItemElement(const markup::MarkupNode* element, const char* type, EditorSetPosition* position);
bool ReadItem(const PositionFile& file, const char* type, const char* path, EditorSetPosition* position);
// Sets type, path, line, column, top, left and overtype, in this order, when
// `type` is "editor" (otherwise writes nothing and returns true). False for
// a null element, a path or type too long for its buffer (nothing written),
// or when an attribute could not be set (the others are still attempted).
bool WriteItemElement(markup::MarkupNode* element, const char* type, const char* path, const EditorSetPosition& position);
// Updates the first matching item only; false when there is none.
bool WriteItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
// Puts a new item in front of all others and fills it; false, with nothing
// added, when there is no document or the item cannot be made or filled.
bool AddItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
// Removes the first matching item, if any.
void RemoveItem(PositionFile& file, const char* type, const char* path);
// The number of qualifying items of that type; 0 without a document.
int CountItems(const PositionFile& file, const char* type);
// Loads, removes the qualifying items whose files are known to be missing
// (Env::ProbePath says NotFound: not those on a drive or share that
// cannot be reached or whose lookup failed; with a table, not those of
// another type than "editor" nor those open in an editor of this process),
// saves without reload whatever was removed (within an update, each removal
// noted as pending), and returns how many went.
// Without a document, or when the Load fails, nothing is purged or written
// and the result is 0.
int PurgeMissing(PositionFile& file, EditorTable* table, const char* fileName);
markup::MarkupNode* Document(const PositionFile& file);
// Destroys the document, forgets what was loaded and the pending changes,
// and lets a held update lock go, so that the next Load builds a fresh one.
void UnloadDocument(PositionFile& file);

// True when `element` is a qualifying item (see above, so its type and path
// fit their buffers) whose type equals `type` ignoring case. The
// saved-positions list walks the document with it.
bool IsItemOfType(const markup::MarkupNode* element, const char* type);

}  // namespace store
}  // namespace tarnwick
