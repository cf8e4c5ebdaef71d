// Files at the position file's path that the plug-in did not write: a
// garbage or foreign text, a damaged or hand-edited position file, or the
// user's own file named in the configuration dialog. Reading one yields
// fewer items than it holds text for, and the next save would replace it,
// so it is copied once before that and refused as a new path.
#pragma once

#include <cstddef>

#include "platform/env.h"
#include "store/position_file.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace store {

// Reads and parses the file at `path` (element names compare with
// `comparison`) to tell which kind it is (FileKind, position_file.h).
FileKind InspectFileAt(platform::Env* env, const CaseComparison& comparison, const char* path);

// The backup's path: `path` with ".bak" appended. False (nothing in
// `buffer`) when it does not fit in `size` bytes.
bool BackupPath(const char* path, char* buffer, std::size_t size);

// Keeps the current bytes of `path` in its backup (BackupPath) unless a
// backup is there already: one copy, the first one, which later saves never
// overwrite. The copy is a whole-file replace, so it is never torn. True
// when the backup exists afterwards, or when there is no file to keep;
// false when it could not be made, and then `path` must not be replaced.
bool KeepBackupCopy(platform::Env* env, const char* path);

}  // namespace store
}  // namespace tarnwick
