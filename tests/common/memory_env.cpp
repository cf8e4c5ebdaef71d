#include "common/memory_env.h"

#include <cstring>
#include <utility>
#include <vector>

namespace tarnwick {
namespace testing_support {

// The handles: the file's data (which a rename moves and a replace leaves to
// the open handles alone), and where reading goes on.
struct MemoryEnv::Reader {
    std::shared_ptr<Data> File;
    std::size_t Position;
};

struct MemoryEnv::Writer {
    std::shared_ptr<Data> File;
};

namespace {

template <typename Handle, typename Opaque>
Handle* HandleOf(Opaque* file) {
    return reinterpret_cast<Handle*>(file);
}

platform::FileTime TimeOf(std::uint64_t ticks) {
    return platform::FileTime{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

bool Named(const char* path) { return path != nullptr && path[0] != '\0'; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::shared_ptr<MemoryEnv::Data> MemoryEnv::Find(const std::string& path) const {
    auto found = files_.find(path);
    return found != files_.end() ? found->second : nullptr;
}

bool MemoryEnv::IsFolder(const std::string& path) const {
    std::string folder = path;
    if (folder.empty() || folder.back() != '/') folder += '/';
    auto next = files_.lower_bound(folder);
    return next != files_.end() && next->first.compare(0, folder.size(), folder) == 0;
}

std::shared_ptr<MemoryEnv::Data> MemoryEnv::NewData() {
    auto data = std::make_shared<Data>();
    data->Identity = ++lastIdentity_;
    data->Time = Tick();
    return data;
}

std::uint64_t MemoryEnv::Tick() { return ++clock_; }

bool MemoryEnv::PutFile(const std::string& path, const std::string& content) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Data> old = Find(path);
    if (path.empty() || IsFolder(path) || (old != nullptr && (old->Readers > 0 || old->Writing))) return false;
    std::shared_ptr<Data> data = NewData();
    data->Bytes = content;
    files_[path] = std::move(data);
    return true;
}

bool MemoryEnv::GetFile(const std::string& path, std::string* content) const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Data> data = Find(path);
    if (data == nullptr) return false;
    *content = data->Bytes;
    return true;
}

std::size_t MemoryEnv::FileCount() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return files_.size();
}

int MemoryEnv::OpenHandles() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return openHandles_;
}

platform::Status MemoryEnv::OpenForRead(const char* path, platform::File** file) {
    if (file == nullptr) return platform::Status::Failed;
    *file = nullptr;
    if (!Named(path)) return platform::Status::NotFound;
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Data> data = Find(path);
    if (data == nullptr) return IsFolder(path) ? platform::Status::Denied : platform::Status::NotFound;
    if (data->Writing) return platform::Status::Busy;
    ++data->Readers;
    ++openHandles_;
    *file = reinterpret_cast<platform::File*>(new Reader{std::move(data), 0});
    return platform::Status::Ok;
}

bool MemoryEnv::GetFileTime(platform::File* file, platform::FileTime* time) {
    if (file == nullptr || time == nullptr) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    *time = TimeOf(HandleOf<Reader>(file)->File->Time);
    return true;
}

bool MemoryEnv::GetFileSize(platform::File* file, std::uint64_t* size) {
    if (file == nullptr || size == nullptr) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    *size = HandleOf<Reader>(file)->File->Bytes.size();
    return true;
}

bool MemoryEnv::GetFileIdentity(platform::File* file, std::uint64_t* identity) {
    if (file == nullptr || identity == nullptr) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    *identity = HandleOf<Reader>(file)->File->Identity;
    return true;
}

bool MemoryEnv::ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (file == nullptr || read == nullptr || (buffer == nullptr && size != 0)) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    Reader* reader = HandleOf<Reader>(file);
    const std::string& bytes = reader->File->Bytes;
    std::size_t left = reader->Position < bytes.size() ? bytes.size() - reader->Position : 0;
    std::size_t count = left < size ? left : size;
    if (count > 0) std::memcpy(buffer, bytes.data() + reader->Position, count);
    reader->Position += count;
    *read = static_cast<std::uint32_t>(count);
    return true;
}

void MemoryEnv::CloseFile(platform::File* file) {
    if (file == nullptr) return;
    std::lock_guard<std::mutex> hold(mutex_);
    Reader* reader = HandleOf<Reader>(file);
    --reader->File->Readers;
    --openHandles_;
    delete reader;
}

platform::Status MemoryEnv::ProbePath(const char* path) {
    if (!Named(path)) return platform::Status::Failed;
    std::lock_guard<std::mutex> hold(mutex_);
    return Find(path) != nullptr || IsFolder(path) ? platform::Status::Exists : platform::Status::NotFound;
}

bool MemoryEnv::ResolveReplaceTarget(const char*, char*, std::size_t) { return false; }

platform::Status MemoryEnv::CreateNewFile(const char* path, platform::WritableFile** file) {
    if (file == nullptr) return platform::Status::Failed;
    *file = nullptr;
    if (!Named(path)) return platform::Status::Failed;
    std::lock_guard<std::mutex> hold(mutex_);
    if (Find(path) != nullptr || IsFolder(path)) return platform::Status::Exists;
    std::shared_ptr<Data> data = NewData();
    data->Writing = true;
    files_[path] = data;
    ++openHandles_;
    *file = reinterpret_cast<platform::WritableFile*>(new Writer{std::move(data)});
    return platform::Status::Ok;
}

bool MemoryEnv::WriteFile(platform::WritableFile* file, const void* data, std::uint32_t size,
                          std::uint32_t* written) {
    if (file == nullptr || written == nullptr || (data == nullptr && size != 0)) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    Data& target = *HandleOf<Writer>(file)->File;
    target.Bytes.append(static_cast<const char*>(data), size);
    target.Time = Tick();
    *written = size;
    return true;
}

bool MemoryEnv::FlushFile(platform::WritableFile* file) { return file != nullptr; }

bool MemoryEnv::CloseWritable(platform::WritableFile* file) {
    if (file == nullptr) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    Writer* writer = HandleOf<Writer>(file);
    writer->File->Writing = false;
    --openHandles_;
    delete writer;
    return true;
}

platform::Status MemoryEnv::RenameOver(const char* source, const char* target) {
    if (!Named(source) || !Named(target)) return platform::Status::Failed;
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Data> moved = Find(source);
    if (moved == nullptr) return platform::Status::Failed;
    if (moved->Readers > 0 || moved->Writing) return platform::Status::Busy;
    if (IsFolder(target)) return platform::Status::Denied;
    std::shared_ptr<Data> replaced = Find(target);
    if (replaced == moved) return platform::Status::Ok;
    if (replaced != nullptr && (replaced->Readers > 0 || replaced->Writing)) return platform::Status::Busy;
    files_.erase(source);
    files_[target] = std::move(moved);
    return platform::Status::Ok;
}

bool MemoryEnv::RemoveFile(const char* path) {
    if (!Named(path)) return false;
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Data> data = Find(path);
    if (data == nullptr || data->Readers > 0 || data->Writing) return false;
    files_.erase(path);
    return true;
}

bool MemoryEnv::ListFiles(const char* pathPrefix, const char* suffix,
                          void (*visit)(const char* path, const platform::FileTime& written, void* context),
                          void* context) {
    if (pathPrefix == nullptr || suffix == nullptr || visit == nullptr) return false;
    const std::string prefix = pathPrefix;
    const std::string end = suffix;
    const std::size_t folderLength = prefix.rfind('/') == std::string::npos ? 0 : prefix.rfind('/') + 1;
    // The matches are taken first, since `visit` may remove the file it is
    // handed, and visited without the lock, since it may call back.
    std::vector<std::pair<std::string, std::uint64_t>> matches;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        for (auto it = files_.lower_bound(prefix); it != files_.end(); ++it) {
            const std::string& path = it->first;
            if (path.compare(0, prefix.size(), prefix) != 0) break;
            // Files of the folder itself, not of folders below it, whose
            // name has room for both the prefix's part and the suffix.
            if (path.find('/', folderLength) != std::string::npos) continue;
            if (path.size() < prefix.size() + end.size() || !EndsWith(path, end)) continue;
            matches.emplace_back(path, it->second->Time);
        }
    }
    for (const auto& match : matches) visit(match.first.c_str(), TimeOf(match.second), context);
    return true;
}

platform::Status MemoryEnv::TryLockFile(const char* path, platform::LockFile** lock) {
    if (lock == nullptr) return platform::Status::Unavailable;
    *lock = nullptr;
    if (!Named(path)) return platform::Status::Unavailable;
    // Any non-null value is a held lock; nothing is kept for it.
    *lock = reinterpret_cast<platform::LockFile*>(this);
    return platform::Status::Ok;
}

void MemoryEnv::UnlockFile(platform::LockFile*) {}

void MemoryEnv::SleepMilliseconds(unsigned milliseconds) {
    std::lock_guard<std::mutex> hold(mutex_);
    clock_ += static_cast<std::uint64_t>(milliseconds) * 10000u;
}

platform::FileTime MemoryEnv::CurrentTime() {
    std::lock_guard<std::mutex> hold(mutex_);
    return TimeOf(Tick());
}

}  // namespace testing_support
}  // namespace tarnwick
