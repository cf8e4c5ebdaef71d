#include "store/file_text.h"

#include <cstddef>

namespace tarnwick {
namespace store {

namespace {

// A file held by another host (a writer replacing it, say) is retried for
// about kOpenAttempts * kOpenRetryMs.
constexpr int kOpenAttempts = 10;
constexpr unsigned kOpenRetryMs = 20;

}  // namespace

platform::Status OpenForReadWithRetry(platform::Env* env, const char* path, platform::File** handle) {
    for (int attempt = 1;; ++attempt) {
        platform::Status status = env->OpenForRead(path, handle);
        if (status != platform::Status::Busy && status != platform::Status::Denied) return status;
        if (attempt >= kOpenAttempts) return status;
        env->SleepMilliseconds(kOpenRetryMs);
    }
}

char* ReadOpenFile(platform::Env* env, platform::File* handle, std::uint32_t size, std::uint32_t* length) {
    *length = 0;
    if (size == UINT32_MAX) return nullptr;
    char* text = static_cast<char*>(env->Alloc(static_cast<std::size_t>(size) + 1u));
    if (text == nullptr) return nullptr;
    std::uint32_t total = 0;
    while (total < size) {
        std::uint32_t got = 0;
        if (!env->ReadFile(handle, text + total, size - total, &got)) {
            env->Release(text);
            return nullptr;
        }
        if (got == 0) break;  // the file ended early: what was read is the text
        total += got;
    }
    text[total] = '\0';
    *length = total;
    return text;
}

}  // namespace store
}  // namespace tarnwick
