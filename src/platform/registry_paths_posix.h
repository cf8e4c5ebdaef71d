// Where the POSIX registry substitute keeps its keys and values: every key
// is a folder below a root folder, every value a file in its key's folder
// holding the value's raw bytes. Names are folded to lower case (ASCII) and
// escaped, so that names compare without regard to case and no name can
// reach outside the root. Values are replaced atomically.
//
// For registry_posix.cpp and for the test tools that store broken values
// and delete whole keys.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace platform {
namespace posix {

// The folder that stands for HKEY_CURRENT_USER. False when it does not fit.
bool RegistryRoot(char* buffer, std::size_t size);
// The folder of the key `path` (components separated by backslashes; empty
// components are skipped, the empty path is the root itself).
bool KeyFolder(const char* path, char* buffer, std::size_t size);
// A value's file: "<key folder>/<escaped name>.v" (the default value, with
// the empty name, is ".v").
bool ValueFile(const char* folder, const char* name, char* buffer, std::size_t size);
bool IsFolder(const char* path);
// Creates `path` and every missing folder above it.
bool MakeFolders(char* path);
// Removes the folder `path` (a buffer of `size` bytes that is extended and
// restored while descending) with everything in it; symbolic links are
// removed, never followed.
bool RemoveFolderTree(char* path, std::size_t size);
// Replaces the value file `file` with `size` bytes in one step (a
// temporary file beside it, named by `env`, written in full, flushed and
// renamed).
bool WriteValueFile(Env* env, const char* file, const void* bytes, std::uint32_t size);

}  // namespace posix
}  // namespace platform
}  // namespace tarnwick
