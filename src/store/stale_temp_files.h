// The temporary files that a host killed in the middle of a save leaves
// beside the position file, and their removal by a later save.
#pragma once

#include "platform/env.h"

namespace tarnwick {
namespace store {

// Removes the files "<path>.<pid>.<n>.tmp" (the names ReplaceFileContent
// takes from platform/temp_names.h) beside `path` whose process no longer runs (Env::ProcessRunning)
// or that were last written more than a minute ago: no save takes that
// long, so such a file is a leftover even when its process id was reused.
// Files of other names are left alone. Returns how many went. Linear in the
// files of the folder.
int RemoveStaleTempFiles(platform::Env* env, const char* path);

}  // namespace store
}  // namespace tarnwick
