// An environment that passes every call to another one and counts its heap:
// allocations made, blocks and bytes live, the most bytes live at once, and
// what the live blocks would take on the heap of the 32-bit Windows build.
// Header-only, so that benchmarks can use it without the test support
// library.
//
//   CountingEnv env(platform::Env::Default());
//   ... work through &env ...
//   env.Peak();  // the most bytes that were live at one time
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env_wrapper.h"

namespace tarnwick {
namespace testing_support {

class CountingEnv : public platform::EnvWrapper {
public:
    explicit CountingEnv(platform::Env* target) : EnvWrapper(target) {}

    // Blocks handed out since the construction or the last ResetCounts.
    std::uint64_t Allocations() const { return allocations_; }
    // Bytes asked for by the blocks live now.
    std::uint64_t Live() const { return live_; }
    // Blocks live now.
    std::uint64_t LiveBlocks() const { return liveBlocks_; }
    // The most bytes live at once since the construction or the last ResetCounts.
    std::uint64_t Peak() const { return peak_; }
    // The live blocks as the Windows heap of the 32-bit build would hold
    // them, each at the size it was asked for (see Heap32).
    std::int64_t LiveHeap32() const { return liveHeap32_; }
    // Starts a new peak from what is live now, and a new count.
    void ResetCounts() {
        peak_ = live_;
        allocations_ = 0;
    }

    // What a block of `size32` bytes takes on the Windows heap of the
    // 32-bit build: the size rounded up to the heap's 8-byte granularity
    // plus its 8-byte header. Signed, so that the footprints of two layouts
    // can be subtracted.
    static std::int64_t Heap32(std::size_t size32) {
        if (size32 == 0) size32 = 1;
        return static_cast<std::int64_t>((size32 + 7) / 8 * 8 + 8);
    }

    // Each block carries its size in a header in front of it.
    void* AllocZeroed(std::size_t size) override {
        return size > SIZE_MAX - kHeader ? nullptr : Counted(target()->AllocZeroed(size + kHeader), size);
    }
    void* Alloc(std::size_t size) override {
        return size > SIZE_MAX - kHeader ? nullptr : Counted(target()->Alloc(size + kHeader), size);
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        char* start = static_cast<char*>(block) - kHeader;
        const std::size_t size = *reinterpret_cast<std::size_t*>(start);
        live_ -= size;
        liveBlocks_ -= 1;
        liveHeap32_ -= Heap32(size);
        target()->Release(start);
    }

private:
    static constexpr std::size_t kHeader = 16;  // keeps the blocks 16-byte aligned

    // Notes the block of `size` bytes made at `start` (null when the heap
    // refused it) and returns the part past the header.
    void* Counted(void* start, std::size_t size) {
        if (start == nullptr) return nullptr;
        *static_cast<std::size_t*>(start) = size;
        allocations_ += 1;
        live_ += size;
        liveBlocks_ += 1;
        liveHeap32_ += Heap32(size);
        if (live_ > peak_) peak_ = live_;
        return static_cast<char*>(start) + kHeader;
    }

    std::uint64_t allocations_ = 0;
    std::uint64_t live_ = 0;
    std::uint64_t liveBlocks_ = 0;
    std::uint64_t peak_ = 0;
    std::int64_t liveHeap32_ = 0;
};

}  // namespace testing_support
}  // namespace tarnwick
