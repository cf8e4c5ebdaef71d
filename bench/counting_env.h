// An environment that passes every call to the real one and keeps count of
// the heap blocks it hands out and of their bytes, for the memory figures.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/forwarding_env.h"

namespace benchhost {

class CountingEnv : public tarnwick::testing_support::ForwardingEnv {
public:
    CountingEnv() : ForwardingEnv(tarnwick::platform::Env::Default()) {}

    // Each block carries its size in front of it, so that Release can
    // subtract it.
    static constexpr std::size_t kHeader = 16;

    void* AllocZeroed(std::size_t size) override {
        unsigned char* block = static_cast<unsigned char*>(base()->AllocZeroed(size + kHeader));
        if (block == nullptr) return nullptr;
        *reinterpret_cast<std::size_t*>(block) = size;
        LiveBytes += size;
        LiveBytes32 += Bytes32(size);
        LiveBlocks += 1;
        Allocations += 1;
        return block + kHeader;
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        unsigned char* start = static_cast<unsigned char*>(block) - kHeader;
        LiveBytes -= *reinterpret_cast<std::size_t*>(start);
        LiveBytes32 -= Bytes32(*reinterpret_cast<std::size_t*>(start));
        LiveBlocks -= 1;
        base()->Release(start);
    }
    // What the live blocks would take on the Windows heap of the 32-bit
    // build if each had the same size there: every block rounded up to the
    // heap's 8-byte granularity plus its 8-byte header. The memory
    // benchmark replaces the blocks whose layout holds pointers with their
    // 32-bit sizes (see BM_DocumentMemory).
    std::int64_t LiveBytes32 = 0;

    static std::int64_t Heap32(std::size_t size32) {
        if (size32 == 0) size32 = 1;
        return static_cast<std::int64_t>((size32 + 7) / 8 * 8 + 8);
    }

    std::int64_t LiveBytes = 0;
    std::int64_t LiveBlocks = 0;
    std::int64_t Allocations = 0;

private:
    static std::int64_t Bytes32(std::size_t size) { return Heap32(size); }
};

}  // namespace benchhost
