// The names of temporary files. A file that is to replace another one is
// written first beside it, under the name "<path>.<pid>.<n>.tmp": <pid> is
// the process's id (Env::ProcessId) and <n> a number the environment hands
// out once (Env::NextTempNumber), both in decimal. The number makes the
// name unique within the process, the id across the processes that run at
// the same time; a file of that form whose process no longer runs is what a
// killed writer left behind (store/stale_temp_files.h finds those by this
// form and removes them, so the form must not change).
#pragma once

#include <cstddef>

#include "platform/env.h"

namespace tarnwick {
namespace platform {

// The most bytes ".<pid>.<n>.tmp" adds to a path: two numbers of up to ten
// digits each.
constexpr std::size_t kTempSuffixMax = 1 + 10 + 1 + 10 + 4;

// Writes the name of a new temporary file beside `path` into `buffer` (of
// `size` bytes), taking a new number from `env`. False, with an empty
// string in `buffer` when it has room for one, when the name does not fit.
// Nothing is created: the caller creates the file without replacing one
// (Env::CreateNewFile, O_EXCL) and takes the next name when this one is in
// use.
bool MakeTempName(Env* env, const char* path, char* buffer, std::size_t size);

}  // namespace platform
}  // namespace tarnwick
