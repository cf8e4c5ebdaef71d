// Reading a file's bytes whole, as the position file and the copies of it
// are read: opened sharing reading only, retried for a moment while another
// process holds it, and read into one zero-terminated block.
#pragma once

#include <cstdint>

#include "platform/env.h"

namespace tarnwick {
namespace store {

// Opens `path` for reading (Env::OpenForRead). A file that is there but held
// by another process or refused for the moment is tried again for about
// 200 ms before the last status is returned.
platform::Status OpenForReadWithRetry(platform::Env* env, const char* path, platform::File** handle);

// Reads up to `size` bytes of the open file from its current position into
// a new block of `size` + 1 bytes from the heap of `env`, zero-terminated
// after the bytes read; `*length` is how many were read (fewer when the
// file ended early). Null when memory runs out or a read fails. The caller
// releases the block through `env` and still closes `handle`.
char* ReadOpenFile(platform::Env* env, platform::File* handle, std::uint32_t size, std::uint32_t* length);

}  // namespace store
}  // namespace tarnwick
