#include "store/update_lock.h"

#include "support/text.h"

namespace tarnwick {
namespace store {

namespace {

// How long a wait for the lock lasts, in 100 ns ticks of the file clock:
// about a second, or 100 ms after a wait that ran out. The number of tries
// bounds it too, should the clock jump.
constexpr std::uint64_t kWaitTicks = 10000000ULL;
constexpr std::uint64_t kStuckWaitTicks = 1000000ULL;
constexpr std::uint64_t kMostTicks = 5ULL * 10000000ULL;
constexpr int kMaxTries = 5000;
// How often, in tries, a wait looks whether the lock file was made anew.
constexpr int kSightingEvery = 16;
constexpr unsigned kPollMs = 1;

constexpr char kLockSuffix[] = ".twlock";
constexpr std::size_t kLockNameSize = 4096 + sizeof kLockSuffix;

std::uint64_t Ticks(const platform::FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

bool MakeLockName(platform::Env* env, const char* fileName, char* buffer, std::size_t size) {
    char resolved[kLockNameSize];
    if (env->ResolveReplaceTarget(fileName, resolved, sizeof resolved)) fileName = resolved;
    return CopyBounded(buffer, fileName, size) && AppendBounded(buffer, kLockSuffix, size);
}

// The last-write time of the lock file last seen while waiting.
struct LockSighting {
    const char* Name;
    const CaseComparison* Comparison;
    std::uint64_t Time;
    bool Seen;
};

void NoteLockFile(const char* path, const platform::FileTime& written, void* context) {
    LockSighting* sighting = static_cast<LockSighting*>(context);
    if (!sighting->Comparison->Equal(path, sighting->Name)) return;
    sighting->Time = Ticks(written);
    sighting->Seen = true;
}

// True when the lock file is another one than at the last look.
bool LockFileChanged(platform::Env* env, LockSighting* seen) {
    LockSighting now{seen->Name, seen->Comparison, 0, false};
    env->ListFiles(seen->Name, "", NoteLockFile, &now);
    bool changed = seen->Seen && now.Seen && now.Time != seen->Time;
    *seen = now;
    return changed;
}

}  // namespace

bool BeginUpdate(PositionFile* handle, const char* fileName) {
    if (handle == nullptr) return false;
    PositionFile& file = *handle;
    if (file.UpdateDepth++ > 0) return file.UpdateLock != nullptr;
    platform::Env* env = file.Env;
    char name[kLockNameSize];
    if (fileName == nullptr || fileName[0] == '\0' || !MakeLockName(env, fileName, name, sizeof name)) return false;

    const std::uint64_t first = Ticks(env->CurrentTime());
    std::uint64_t start = first;
    const std::uint64_t wait = file.LockStuck ? kStuckWaitTicks : kWaitTicks;
    LockSighting seen{name, file.Comparison, 0, false};
    for (int attempt = 0; attempt < kMaxTries; ++attempt) {
        platform::Status status = env->TryLockFile(name, &file.UpdateLock);
        if (status == platform::Status::Ok) {
            file.LockStuck = false;
            return true;
        }
        file.UpdateLock = nullptr;
        if (status == platform::Status::Unavailable) return false;
        const std::uint64_t now = Ticks(env->CurrentTime());
        // Every holder makes the lock file anew: a new one shows that the
        // lock moves on, so the wait for it starts again (hosts that take
        // turns quickly are no hung host).
        if (attempt % kSightingEvery == kSightingEvery - 1 && LockFileChanged(env, &seen)) start = now;
        if (now >= start && now - start >= wait) break;
        if (now >= first && now - first >= kMostTicks) break;
        env->SleepMilliseconds(kPollMs);
    }
    file.LockStuck = true;
    return false;
}

void EndUpdate(PositionFile* file) {
    if (file == nullptr || file->UpdateDepth <= 0) return;
    if (--file->UpdateDepth > 0) return;
    ReleaseUpdateLock(*file);
}

void ReleaseUpdateLock(PositionFile& file) {
    if (file.UpdateLock != nullptr) file.Env->UnlockFile(file.UpdateLock);
    file.UpdateLock = nullptr;
    file.UpdateDepth = 0;
}

}  // namespace store
}  // namespace tarnwick
