#include "store/foreign_file.h"

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "store/file_text.h"
#include "store/replace_file.h"
#include "support/path_size.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

enum class ReadResult { Read, Absent, Unreadable };

// The whole file in a block from the heap of `env`.
ReadResult ReadWhole(platform::Env* env, const char* path, char** text, std::uint32_t* length) {
    *text = nullptr;
    *length = 0;
    platform::File* handle = nullptr;
    platform::Status status = OpenForReadWithRetry(env, path, &handle);
    if (status == platform::Status::NotFound) return ReadResult::Absent;
    if (status != platform::Status::Ok) return ReadResult::Unreadable;
    std::uint64_t size = 0;
    if (!env->GetFileSize(handle, &size) || size > static_cast<std::uint64_t>(markup::kMaxTextSize) ||
        size > markup::kDocumentMemoryLimit) {
        env->CloseFile(handle);
        return ReadResult::Unreadable;
    }
    *text = ReadOpenFile(env, handle, static_cast<std::uint32_t>(size), length);
    env->CloseFile(handle);
    return *text != nullptr ? ReadResult::Read : ReadResult::Unreadable;
}

}  // namespace

FileKind InspectFileAt(platform::Env* env, const CaseComparison& comparison, const char* path) {
    char* text = nullptr;
    std::uint32_t length = 0;
    ReadResult read = ReadWhole(env, path, &text, &length);
    if (read == ReadResult::Absent) return FileKind::Absent;
    if (read == ReadResult::Unreadable) return FileKind::Unreadable;

    FileKind kind = FileKind::Unreadable;
    MarkupNode* document = markup::NewMarkupNode(env);
    bool passedOver = false;
    if (document != nullptr && markup::Parse(document, text, static_cast<int>(length), comparison, markup::kDocumentMemoryLimit,
                                             &passedOver)) {
        kind = passedOver ? FileKind::Foreign : FileKind::PositionFile;
    }
    markup::ReleaseDocument(&document);
    env->Release(text);
    return kind;
}

bool BackupPath(const char* path, char* buffer, std::size_t size) {
    if (path == nullptr || !CopyBounded(buffer, path, size) || !AppendBounded(buffer, ".bak", size)) {
        if (size > 0) buffer[0] = '\0';
        return false;
    }
    return true;
}

bool KeepBackupCopy(platform::Env* env, const char* path) {
    char backup[kPathSize];
    if (!BackupPath(path, backup, sizeof backup)) return false;
    // Only a file that is surely not there is made; a backup whose
    // existence cannot be told is not overwritten either.
    platform::Status existing = env->ProbePath(backup);
    if (existing == platform::Status::Exists) return true;
    if (existing != platform::Status::NotFound) return false;

    char* text = nullptr;
    std::uint32_t length = 0;
    ReadResult read = ReadWhole(env, path, &text, &length);
    if (read == ReadResult::Absent) return true;
    if (read == ReadResult::Unreadable) return false;
    bool kept = ReplaceFileContent(env, backup, text, length) == platform::Status::Ok;
    env->Release(text);
    return kept;
}

}  // namespace store
}  // namespace tarnwick
