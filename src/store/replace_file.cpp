#include "store/replace_file.h"

#include "platform/temp_names.h"
#include "store/stale_temp_files.h"

namespace tarnwick {
namespace store {

namespace {

// How many temporary names a replacement tries before giving up.
constexpr int kTempAttempts = 16;
// A target that another host is reading at the moment (Windows refuses to
// replace a file open without delete sharing) is tried again for about
// kReplaceAttempts * kReplaceRetryMs, as a busy file is when reading it.
constexpr int kReplaceAttempts = 10;
constexpr unsigned kReplaceRetryMs = 20;
// Room for a resolved target path, and for a temporary name beside it.
constexpr std::size_t kTargetSize = 4096;
constexpr std::size_t kTempSize = kTargetSize + platform::kTempSuffixMax;

// Every byte must reach the file: a write that fails or makes no progress
// ends it.
bool WriteAll(platform::Env* env, platform::WritableFile* file, const void* data, std::uint32_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t remaining = size;
    while (remaining > 0) {
        std::uint32_t written = 0;
        if (!env->WriteFile(file, bytes, remaining, &written) || written == 0 || written > remaining) return false;
        bytes += written;
        remaining -= written;
    }
    return true;
}

platform::Status StatusOfCreate(platform::Status status) {
    switch (status) {
    case platform::Status::Busy:
        return platform::Status::Busy;
    case platform::Status::Denied:
        return platform::Status::Denied;
    default:
        return platform::Status::Failed;
    }
}

// What the closed temporary file `temp` is: its time, size and identity.
void ReadWrittenFile(platform::Env* env, const char* temp, WrittenFile* written) {
    written->Time = platform::FileTime{0, 0};
    written->Size = 0;
    written->Identity = 0;
    written->Known = false;
    platform::File* handle = nullptr;
    if (env->OpenForRead(temp, &handle) != platform::Status::Ok) return;
    written->Known = env->GetFileTime(handle, &written->Time) && env->GetFileSize(handle, &written->Size) &&
                     env->GetFileIdentity(handle, &written->Identity);
    env->CloseFile(handle);
}

}  // namespace

platform::Status ReplaceFileContent(platform::Env* env, const char* path, const void* data, std::uint32_t size,
                                    WrittenFile* written) {
    if (written != nullptr) written->Known = false;
    if (path == nullptr || path[0] == '\0' || (data == nullptr && size != 0)) return platform::Status::Failed;

    char resolved[kTargetSize];
    if (env->ResolveReplaceTarget(path, resolved, sizeof resolved)) path = resolved;
    // Leftovers of killed saves go first, so that they neither pile up nor
    // fill the disk this write needs.
    RemoveStaleTempFiles(env, path);

    char temp[kTempSize];
    platform::WritableFile* file = nullptr;
    for (int attempt = 0; attempt < kTempAttempts && file == nullptr; ++attempt) {
        if (!platform::MakeTempName(env, path, temp, sizeof temp)) return platform::Status::Failed;
        platform::Status created = env->CreateNewFile(temp, &file);
        if (created == platform::Status::Exists) continue;
        if (created != platform::Status::Ok) return StatusOfCreate(created);
    }
    if (file == nullptr) return platform::Status::Failed;

    // Every byte must reach the file, and the file the disk, before it may
    // take the place of the old one.
    bool ok = WriteAll(env, file, data, size) && env->FlushFile(file);
    if (!env->CloseWritable(file)) ok = false;
    if (!ok) {
        env->RemoveFile(temp);
        return platform::Status::Failed;
    }
    if (written != nullptr) ReadWrittenFile(env, temp, written);
    platform::Status moved = env->RenameOver(temp, path);
    for (int attempt = 1; moved == platform::Status::Busy && attempt < kReplaceAttempts; ++attempt) {
        env->SleepMilliseconds(kReplaceRetryMs);
        moved = env->RenameOver(temp, path);
    }
    if (moved != platform::Status::Ok) {
        env->RemoveFile(temp);
        if (written != nullptr) written->Known = false;
    }
    return moved;
}

}  // namespace store
}  // namespace tarnwick
