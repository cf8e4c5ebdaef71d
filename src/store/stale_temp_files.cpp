#include "store/stale_temp_files.h"

#include "support/text.h"

namespace tarnwick {
namespace store {

namespace {

constexpr std::size_t kPrefixSize = 4096 + 2;
// A minute in 100 ns ticks of the file clock.
constexpr std::uint64_t kStaleTicks = 60ULL * 10000000ULL;

std::uint64_t Ticks(const platform::FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

struct Sweep {
    platform::Env* Env;
    std::size_t PrefixLength;
    std::uint64_t Now;
    int Removed;
};

// Reads the digits at `*text` up to `end`, moving past them; false when
// there are none or they do not fit 32 bits.
bool TakeNumber(const char** text, char end, std::uint32_t* value) {
    std::uint64_t number = 0;
    const char* p = *text;
    if (*p < '0' || *p > '9') return false;
    while (*p >= '0' && *p <= '9') {
        number = number * 10 + static_cast<std::uint64_t>(*p - '0');
        if (number > 0xFFFFFFFFULL) return false;
        ++p;
    }
    if (*p != end) return false;
    *text = p + 1;
    *value = static_cast<std::uint32_t>(number);
    return true;
}

void Consider(const char* path, const platform::FileTime& written, void* context) {
    Sweep* sweep = static_cast<Sweep*>(context);
    // After the prefix: "<pid>.<n>.tmp" exactly.
    const char* rest = path + sweep->PrefixLength;
    std::uint32_t processId = 0;
    std::uint32_t counter = 0;
    if (!TakeNumber(&rest, '.', &processId) || !TakeNumber(&rest, '.', &counter)) return;
    if (AsciiCompareNoCase(rest, "tmp") != 0) return;
    const std::uint64_t time = Ticks(written);
    const bool old = sweep->Now > time && sweep->Now - time > kStaleTicks;
    if (!old && sweep->Env->ProcessRunning(processId)) return;
    if (sweep->Env->RemoveFile(path)) ++sweep->Removed;
}

}  // namespace

int RemoveStaleTempFiles(platform::Env* env, const char* path) {
    char prefix[kPrefixSize];
    if (path == nullptr || !CopyBounded(prefix, path, sizeof prefix) || !AppendBounded(prefix, ".", sizeof prefix)) {
        return 0;
    }
    Sweep sweep{env, StrLength(prefix), Ticks(env->CurrentTime()), 0};
    env->ListFiles(prefix, ".tmp", Consider, &sweep);
    return sweep.Removed;
}

}  // namespace store
}  // namespace tarnwick
