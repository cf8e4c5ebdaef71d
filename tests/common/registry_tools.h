// Registry operations that only tests need: storing a value the way a
// program other than ours might (without a terminator, say), and deleting a
// key with everything below it. Keys are paths below HKEY_CURRENT_USER, as
// for the environment's registry.
#pragma once

#include <cstdint>

namespace tarnwick {
namespace testing_support {

// Stores raw bytes as a REG_SZ value of the key `keyPath`, creating the key
// when missing. False on any failure.
bool RegistrySetRaw(const char* keyPath, const char* name, const void* bytes, std::uint32_t size);

// Deletes a key with all its values and sub-keys. False when it is missing,
// is HKEY_CURRENT_USER itself, or something in it stays.
bool RegistryDeleteTree(const char* path);

}  // namespace testing_support
}  // namespace tarnwick
