// The parts of the environment that are the same on every system.
#include "platform/env.h"

namespace tarnwick {
namespace platform {

namespace {

std::uint64_t Ticks(const FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

}  // namespace

Env::~Env() = default;

void* Env::Alloc(std::size_t size) { return AllocZeroed(size); }

Status Env::StatFile(const char* path, std::uint64_t* size, FileTime* time) {
    File* file = nullptr;
    const Status opened = OpenForRead(path, &file);
    if (opened != Status::Ok) return opened;
    const bool known = GetFileTime(file, time) && GetFileSize(file, size);
    CloseFile(file);
    return known ? Status::Ok : Status::Failed;
}

bool Env::NamesOneFile(const char* path) {
    std::uint64_t size = 0;
    FileTime time{};
    return StatFile(path, &size, &time) == Status::Ok;
}

std::uint32_t Env::NextTempNumber() { return tempNumbers_.fetch_add(1, std::memory_order_relaxed) + 1; }

int CompareTimes(const FileTime& a, const FileTime& b) {
    std::uint64_t x = Ticks(a), y = Ticks(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool TimesEqual(const FileTime& a, const FileTime& b) { return CompareTimes(a, b) == 0; }

}  // namespace platform
}  // namespace tarnwick
