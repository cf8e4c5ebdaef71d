// Replacing a whole file in one step, over the single file operations of
// an environment.
#pragma once

#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace store {

// Replaces the whole content of `path` with `size` bytes, never leaving a
// torn or empty file: the bytes go to a new temporary file in the same
// folder (the folder of the file a symbolic link points to), named
// "<path>.<pid>.<n>.tmp" uniquely per process and per call (see
// platform/temp_names.h), are checked to be written in full and flushed to
// disk, and the temporary file then replaces `path` in one step
// (Env::RenameOver). On any failure `path` is left as it was and the
// temporary file is removed. A name in use is passed over for the next one,
// up to 16 names, so that temporary files left behind by a crash never
// block saving; before writing, such leftovers are removed (see
// stale_temp_files.h). A target held by a reader (Busy) is tried again for
// about 200 ms before Busy is returned. Returns Ok, Busy, Denied or Failed,
// as Env::RenameOver.
//
// With `written`, the new file's last-write time, size and identity are
// read from the temporary file after it is closed and before it takes the
// place of `path` (a rename keeps all three), so that they describe this
// write even when another host replaces the file right after it.
// `written->Known` is false when they could not all be read.
struct WrittenFile {
    platform::FileTime Time;
    std::uint64_t Size;
    std::uint64_t Identity;
    bool Known;
};
platform::Status ReplaceFileContent(platform::Env* env, const char* path, const void* data, std::uint32_t size,
                                    WrittenFile* written = nullptr);

}  // namespace store
}  // namespace tarnwick
