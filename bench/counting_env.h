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
    // What the live blocks would take in the 32-bit build: blocks of
    // `NodeSize` bytes (the markup node) count `NodeSize32` bytes there,
    // every other block its own size; each is rounded up to the heap's 8-byte
    // granularity and carries the 8-byte header of the Windows heap.
    std::size_t NodeSize = 0;
    std::size_t NodeSize32 = 0;
    std::int64_t LiveBytes32 = 0;

    std::int64_t LiveBytes = 0;
    std::int64_t LiveBlocks = 0;
    std::int64_t Allocations = 0;

private:
    std::int64_t Bytes32(std::size_t size) const {
        std::size_t size32 = size == NodeSize && NodeSize != 0 ? NodeSize32 : size;
        if (size32 == 0) size32 = 1;
        return static_cast<std::int64_t>((size32 + 7) / 8 * 8 + 8);
    }

};

}  // namespace benchhost
