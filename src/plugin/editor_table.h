// The editors and viewers this host process follows: one EditorRecord per
// tracked editor or viewer, keyed by (EditorID, Kind) (a viewer's id is
// its ViewerID), in an unbalanced binary search tree of record copies. The position file asks it whether a file is open here
// (store::OpenFiles).
//
// Records are ordered by ascending EditorID; a record with the same id and
// another Kind goes to the right of the one already there. Searches by file
// name visit the tree depth-first: a node, then its whole Left subtree, then
// its whole Right subtree; the first match wins. The table holds only the
// editors of one host process, so it stays small; nothing is balanced.
// Walks by file name and DestroyAllRecords follow the Parent links instead of
// recursing, so a tree of any height (ids inserted in increasing order make
// it a list) costs no stack.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "store/stored_place.h"
#include "support/case_comparison.h"
#include "support/path_filter.h"
#include "support/path_size.h"

namespace tarnwick {
namespace plugin {

// An editor's record uses the Editor member of its places, a viewer's the
// Viewer member. A viewer has no unsaved changes: its CleanPos is the last
// place seen, and its DirtyPos the place it stood at once opened (and
// restored), which tells whether the user moved it since.
// What the plug-in knows of the file on disk while an editor has it open:
// whether it holds the editor's clean text, and then its size and time
// (the stamp a fingerprint of the clean text is stored with).
enum class DiskText : std::int32_t {
    Unknown = 0,    // not known: a fingerprint is stored without a stamp
    Known = 1,      // DiskSize and DiskTime are the file's as it holds the clean text
    JustSaved = 2,  // the editor saved it: the file holds the clean text, its stamp is taken when needed
};

struct EditorRecord {
    store::ItemKind Kind;
    std::int32_t EditorID;
    store::StoredPlace CleanPos;    // last place seen while the file had no unsaved changes
    store::StoredPlace DirtyPos;    // last place seen while it had unsaved changes
    store::StoredPlace RestorePos;  // where a restore moves the editor
    std::int32_t Dirty;            // 1 when the last snapshot was taken while dirty
    std::int32_t Matched;          // viewer: its file matched the mask, so leaving it may add an item
    DiskText Disk;                 // editor: the file on disk, for the stamp of a fingerprint
    std::int64_t DiskSize;
    std::int64_t DiskTime;
    char Path[kPathSize];          // the editor's file name as the host reports it
    // editor: a stored table the editor could not be shown in (the host has
    // none of that name, or cannot tell its own), written back in its place
    // while the editor shows the table it opened with (OpenedTable's kind
    // and number); Kind Unknown when there is none.
    store::CharTableChoice KeptTable;
    store::CharTableChoice OpenedTable;
};

struct EditorNode {
    EditorRecord* Record;  // the node's own heap copy
    std::int32_t Size;     // byte length of that copy
    EditorNode* Parent;
    EditorNode* Right;     // records that order after this one
    EditorNode* Left;      // records that order before it
};

struct EditorTable {
    EditorNode* Root;
    platform::Env* Heap;               // holds the nodes; set before the first insert
    const CaseComparison* Comparison;  // how paths compare; set before the first search by path
    PathFilter Paths{};                // the records' paths, and those of rewrites since the last removal
};

// A record that holds only the key of editor (or viewer) `editorId`, for
// the operations by key.
EditorRecord EditorKey(std::int32_t editorId, store::ItemKind kind = store::ItemKind::Editor);
// A record that holds only `kind` and `path`, for the searches by file
// name. Callers pass paths that fit kPathSize.
EditorRecord PathKey(const char* path, store::ItemKind kind = store::ItemKind::Editor);

// 0 for the same key; -1 when the key orders after the node's record (or has
// the same id and another kind), +1 when it orders before.
int CompareKeys(const EditorRecord& node, const EditorRecord& key);
// True when Kind is equal and Path is equal ignoring case.
bool MatchPath(const EditorRecord& node, const EditorRecord& key, const CaseComparison& comparison);

// Stores a copy of `record`, replacing the record with the same key (its
// copy is overwritten in place). False when memory runs out (the table is
// then unchanged).
bool InsertRecord(EditorTable& table, const EditorRecord& record);
// The record of (editorId, kind) itself, for changes in place that keep its
// key and path (which the table's order and its filter of paths follow);
// null when there is none.
EditorRecord* FindRecord(EditorTable& table, std::int32_t editorId, store::ItemKind kind);
bool ContainsRecord(const EditorTable& table, const EditorRecord& key);
bool ContainsRecordForPath(const EditorTable& table, const EditorRecord& key);
// True when a record of `kind` has `path` open, `pathHash` being
// FoldedHash(path) (ContainsRecordForPath without a key record: the
// position file asks it for every item of a merge, so it copies nothing,
// and a path whose hash no record has is answered from the filter).
bool ContainsPath(const EditorTable& table, store::ItemKind kind, const char* path, std::uint32_t pathHash);
// Copies the record with the key's (EditorID, Kind) over `*record`; false
// and `*record` untouched when there is none.
bool FetchRecord(const EditorTable& table, EditorRecord* record);
// Copies the first record matching the key's (Kind, Path) over `*record`.
bool FetchRecordByPath(const EditorTable& table, EditorRecord* record);
// Calls `visit` for every record, in the search order by file name. The
// table must not change during the walk.
void VisitRecords(const EditorTable& table, void (*visit)(const EditorRecord& record, void* context), void* context);
// Unlinks and releases the record with the key's (EditorID, Kind), if any.
void RemoveRecord(EditorTable& table, const EditorRecord& key);
// Releases every node and record, post-order with the Right subtree first;
// the table is empty afterwards.
void DestroyAllRecords(EditorTable& table);

}  // namespace plugin
}  // namespace tarnwick
