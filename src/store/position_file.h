// The position file: the markup document of `item` elements held in memory
// and kept in step with the file on disk, which several host processes share
// without locks.
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
// path or type does not fit the working buffers are left alone: kept in the
// file, never matched, never purged.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "store/editor_table.h"
#include "support/editor_position.h"

namespace tarnwick {

class MarkupNode;

constexpr int TYPE_SIZE = 20;  // item types: 19 characters and the terminator

extern const char* const ITEM_TYPE_EDITOR;  // "editor"

struct PositionFile {
    MarkupNode* Document;                 // owned; null until the first successful Load
    char LoadedPath[PATH_SIZE];           // the path of the last re-read; empty when none
    platform::FileTime LoadedTime;        // the file's last-write time at that re-read
    std::uint64_t LoadedSize;             // the file's size at that re-read
};

// Brings the document in line with the file `fileName` (see above). `table`
// may be null. True when the document in memory is current. A file that
// does not exist counts as empty; a file that exists but cannot be read now
// (held by another host, access denied) is retried briefly, and if it stays
// unreadable Load returns false and leaves everything as it was.
bool Load(PositionFile& file, const char* fileName, EditorTable* table);

// Writes the whole document to `fileName`, after a Load when `reloadFirst`
// is set (nothing is written when that Load fails). True when the file was
// replaced in full; on false the file on disk is as it was.
bool Save(PositionFile& file, const char* fileName, EditorTable* table, bool reloadFirst);

MarkupNode* FindItem(const PositionFile& file, const char* type, const char* path);
bool ItemExists(const PositionFile& file, const char* type, const char* path);
bool ReadItemElement(const MarkupNode* element, const char* type, EditorSetPosition* position);
bool ReadItem(const PositionFile& file, const char* type, const char* path, EditorSetPosition* position);
bool WriteItemElement(MarkupNode* element, const char* type, const char* path, const EditorSetPosition& position);
bool WriteItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
bool AddItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position);
void RemoveItem(PositionFile& file, const char* type, const char* path);
int CountItems(const PositionFile& file, const char* type);
// Removes the items whose files are known to be missing (not those on a
// drive or share that cannot be reached, nor those open in an editor of
// this process), saves, and returns how many went.
int PurgeMissing(PositionFile& file, EditorTable* table, const char* fileName);
MarkupNode* Document(const PositionFile& file);
void ReleaseDocument(PositionFile& file);

// True when `element` is a qualifying item (see above) whose type equals
// `type` ignoring case. The saved-positions list walks the document with it.
bool IsItemOfType(const MarkupNode* element, const char* type);

}  // namespace tarnwick
