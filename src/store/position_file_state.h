// The position file's members, for the store's own files only: everything
// above src/store reaches a PositionFile through position_file.h. The
// verbs keep these in step: the index with the document (document_index.h),
// the pending list with its tail (pending_changes.h), the lock with its
// depth (update_lock.h).
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "store/document_index.h"
#include "store/position_file.h"
#include "support/case_comparison.h"
#include "support/path_size.h"

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PendingChange;

struct PositionFile {
    platform::Env* Env;                // reads, writes and allocates through it
    const CaseComparison* Comparison;  // how paths and element names compare
    const OpenFiles* Open;             // what the host has open; null for none
    std::uint64_t MemoryLimit;         // the most a Load may read and parse
    markup::MarkupNode* Document;      // owned; null until the first successful Load
    char LoadedPath[kPathSize];        // the path the document reflects; empty when the file
                                       // was absent or its time or size could not be read
    platform::FileTime LoadedTime;     // the file's last-write time at that read; zero when none
    std::uint64_t LoadedIdentity;      // the file's identity at that read (see platform); 0 when unknown
    std::uint64_t LoadedSize;          // the file's size at that read; 0 when none
    bool LoadedForeign;                // that read's text held something the reader could
                                       // not keep (store/foreign_file.h): a backup is
                                       // kept before the file is replaced
    PendingChange* Pending;            // changes not yet on disk, oldest first; owned
    PendingChange* PendingTail;        // the newest of them; null when none
    platform::LockFile* UpdateLock;    // the lock held between BeginUpdate and EndUpdate
    std::int32_t UpdateDepth;          // how many BeginUpdate calls are not ended yet
    bool LockStuck;                    // the last wait for the lock ran out (update_lock.h)
    DocumentIndex Index;               // the document's items by type and path; zero when none
};

// True when the host has a file of `path` open (never without OpenFiles);
// `pathHash` is FoldedHash(path).
bool IsOpenHere(const PositionFile& file, ItemKind kind, const char* path, std::uint32_t pathHash);

}  // namespace store
}  // namespace tarnwick
