// Objects in zero-filled memory from an environment's heap, and byte copy
// and fill.
//
// Every allocation of the plug-in goes through an Env (platform/env.h):
// blocks are zero-filled, a request for 0 bytes is served as 1 byte,
// releasing a null pointer does nothing. Nothing throws: a failed
// allocation returns null.
#pragma once

#include <cstddef>
#include <new>

#include "platform/env.h"

namespace tarnwick {

// Plain byte loops; the ranges must not overlap for CopyBytes.
void CopyBytes(void* destination, const void* source, std::size_t count);
void FillBytes(void* destination, unsigned char value, std::size_t count);

// Constructs a T in zero-filled memory from `env`; null when out of memory.
template <typename T, typename... Args>
T* NewZeroed(platform::Env* env, Args&&... args) {
    void* block = env->AllocZeroed(sizeof(T));
    if (block == nullptr) return nullptr;
    return new (block) T(static_cast<Args&&>(args)...);
}

// Destroys an object made by NewZeroed with the same `env` and releases its
// memory. Null is ignored.
template <typename T>
void DeleteZeroed(platform::Env* env, T* object) {
    if (object == nullptr) return;
    object->~T();
    env->Release(object);
}

}  // namespace tarnwick
