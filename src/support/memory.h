// Zero-filled allocation on the process heap, release, byte copy and fill.
//
// Every allocation of the plug-in goes through here. Allocations are
// zero-filled; a request for 0 bytes is served as 1 byte; releasing a null
// pointer does nothing. Nothing throws: a failed allocation returns null.
#pragma once

#include <cstddef>
#include <new>

namespace tarnwick {

// Returns `size` zero bytes from the process heap (1 byte when size is 0),
// or null when the heap cannot serve the request.
void* AllocZeroed(std::size_t size);

// Returns memory from AllocZeroed to the heap. Null is ignored.
void Release(void* block);

// Plain byte loops; the ranges must not overlap for CopyBytes.
void CopyBytes(void* destination, const void* source, std::size_t count);
void FillBytes(void* destination, unsigned char value, std::size_t count);

// Constructs a T in zero-filled heap memory; null when out of memory.
template <typename T, typename... Args>
T* NewZeroed(Args&&... args) {
    void* block = AllocZeroed(sizeof(T));
    if (block == nullptr) return nullptr;
    return new (block) T(static_cast<Args&&>(args)...);
}

// Destroys an object made by NewZeroed and releases its memory. Null is ignored.
template <typename T>
void DeleteZeroed(T* object) {
    if (object == nullptr) return;
    object->~T();
    Release(object);
}

}  // namespace tarnwick
