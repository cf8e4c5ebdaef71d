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
constexpr int kMaxTries = 2000;
constexpr unsigned kPollMs = 1;

constexpr char kLockSuffix[] = ".twlock";
constexpr std::size_t kLockNameSize = 4096 + sizeof kLockSuffix;

std::uint64_t Ticks(const platform::FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

bool MakeLockName(platform::Env* env, const char* fileName, char* buffer, std::size_t size) {
    char resolved[kLockNameSize];
    if (env->ResolveReplaceTarget(fileName, resolved, sizeof resolved)) fileName = resolved;
    return CopyBounded(buffer, fileName, size) && AppendBounded(buffer, kLockSuffix, size);
}

}  // namespace

bool BeginUpdate(PositionFile& file, const char* fileName) {
    if (file.UpdateDepth++ > 0) return file.UpdateLock != nullptr;
    platform::Env* env = EnvOf(file);
    char name[kLockNameSize];
    if (fileName == nullptr || fileName[0] == '\0' || !MakeLockName(env, fileName, name, sizeof name)) return false;

    const std::uint64_t start = Ticks(env->CurrentTime());
    const std::uint64_t wait = file.LockStuck ? kStuckWaitTicks : kWaitTicks;
    for (int attempt = 0; attempt < kMaxTries; ++attempt) {
        platform::LockStatus status = env->TryLockFile(name, &file.UpdateLock);
        if (status == platform::LockStatus::Ok) {
            file.LockStuck = false;
            return true;
        }
        file.UpdateLock = nullptr;
        if (status == platform::LockStatus::Unavailable) return false;
        const std::uint64_t now = Ticks(env->CurrentTime());
        if (now >= start && now - start >= wait) break;
        env->SleepMilliseconds(kPollMs);
    }
    file.LockStuck = true;
    return false;
}

void EndUpdate(PositionFile& file) {
    if (file.UpdateDepth <= 0) return;
    if (--file.UpdateDepth > 0) return;
    ReleaseUpdateLock(file);
}

void ReleaseUpdateLock(PositionFile& file) {
    if (file.UpdateLock != nullptr) EnvOf(file)->UnlockFile(file.UpdateLock);
    file.UpdateLock = nullptr;
    file.UpdateDepth = 0;
}

}  // namespace store
}  // namespace tarnwick
