// An environment that passes every call to a real one and counts its heap:
// allocations made, bytes live and the most bytes live at once. Header-only,
// so that benchmarks can use it without the test support library.
//
//   CountingEnv env(platform::Env::Default());
//   ... work through &env ...
//   env.Peak();  // the most bytes that were live at one time
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/forwarding_env.h"

namespace tarnwick {
namespace testing_support {

class CountingEnv : public ForwardingEnv {
public:
    explicit CountingEnv(platform::Env* base) : ForwardingEnv(base) {}

    std::uint64_t Allocations() const { return allocations_; }
    std::uint64_t Live() const { return live_; }
    std::uint64_t Peak() const { return peak_; }
    // Starts a new peak from what is live now, and a new count.
    void ResetCounts() {
        peak_ = live_;
        allocations_ = 0;
    }

    // Each block carries its size in a header in front of it.
    void* AllocZeroed(std::size_t size) override {
        if (size > SIZE_MAX - kHeader) return nullptr;
        char* block = static_cast<char*>(base()->AllocZeroed(size + kHeader));
        if (block == nullptr) return nullptr;
        *reinterpret_cast<std::size_t*>(block) = size;
        allocations_ += 1;
        live_ += size;
        if (live_ > peak_) peak_ = live_;
        return block + kHeader;
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        char* start = static_cast<char*>(block) - kHeader;
        live_ -= *reinterpret_cast<std::size_t*>(start);
        base()->Release(start);
    }

private:
    static constexpr std::size_t kHeader = 16;  // keeps the blocks 16-byte aligned

    std::uint64_t allocations_ = 0;
    std::uint64_t live_ = 0;
    std::uint64_t peak_ = 0;
};

}  // namespace testing_support
}  // namespace tarnwick
