// The position file's life and its reading and writing: the handle's
// opening and closing, Load with its change detection and retries, Save
// with its whole-file replace.
#include "store/position_file.h"

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "store/file_text.h"
#include "store/foreign_file.h"
#include "store/item_rules.h"
#include "store/pending_changes.h"
#include "store/position_file_state.h"
#include "store/position_merge.h"
#include "store/replace_file.h"
#include "store/update_lock.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupNode;

namespace {

platform::FileTime ZeroTime() { return platform::FileTime{0, 0}; }

enum class ReadOutcome {
    Read,         // the text is in the snapshot
    Absent,       // no such file: it counts as empty
    Unchanged,    // same path, time and size as at the last read: nothing read
    Unavailable,  // there, but could not be read now
};

struct Snapshot {
    char* Text;  // owned; null for an absent file
    std::uint32_t Length;
    platform::FileTime Time;
    std::uint64_t Size;
    std::uint64_t Identity;  // 0 when the file system does not tell
    bool Known;  // time and size could both be read
};

// Reads the file whole, unless it is the one `current` last read and its
// time and size are still the same.
ReadOutcome ReadSnapshot(const char* fileName, const PositionFile& current, Snapshot* snapshot) {
    platform::Env* env = current.Env;
    snapshot->Text = nullptr;
    snapshot->Length = 0;
    snapshot->Time = ZeroTime();
    snapshot->Size = 0;
    snapshot->Identity = 0;
    snapshot->Known = false;

    platform::File* handle = nullptr;
    platform::Status status = OpenForReadWithRetry(env, fileName, &handle);
    if (status == platform::Status::NotFound) return ReadOutcome::Absent;
    if (status != platform::Status::Ok) return ReadOutcome::Unavailable;

    bool timeKnown = env->GetFileTime(handle, &snapshot->Time);
    bool sizeKnown = env->GetFileSize(handle, &snapshot->Size);
    snapshot->Known = timeKnown && sizeKnown;
    if (!timeKnown) snapshot->Time = ZeroTime();
    // Every save replaces the file with a new one, so a new identity shows a
    // write that time and size alone can miss (two saves of one size within
    // one tick of a coarse file clock).
    if (!env->GetFileIdentity(handle, &snapshot->Identity)) snapshot->Identity = 0;

    if (snapshot->Known && current.Document != nullptr && current.LoadedPath[0] != '\0' &&
        current.Comparison->Equal(current.LoadedPath, fileName) && platform::TimesEqual(snapshot->Time, current.LoadedTime) &&
        snapshot->Size == current.LoadedSize && snapshot->Identity == current.LoadedIdentity) {
        env->CloseFile(handle);
        return ReadOutcome::Unchanged;
    }

    // Without a size the file cannot be read whole; taking it as empty would
    // drop every item, so it counts as unreadable for now. A file larger
    // than the plug-in may hold is not read at all.
    if (!sizeKnown || snapshot->Size > static_cast<std::uint64_t>(markup::kMaxTextSize) ||
        snapshot->Size > current.MemoryLimit) {
        env->CloseFile(handle);
        return ReadOutcome::Unavailable;
    }

    std::uint32_t total = 0;
    char* text = ReadOpenFile(env, handle, static_cast<std::uint32_t>(snapshot->Size), &total);
    env->CloseFile(handle);
    if (text == nullptr) return ReadOutcome::Unavailable;
    snapshot->Text = text;
    snapshot->Length = total;
    return ReadOutcome::Read;
}

// A document parsed from the snapshot's text; null when memory runs out
// anywhere in the parse (never a document that lacks part of the text).
// `*foreign` tells whether the text held anything the reader could not keep.
MarkupNode* BuildDocument(const PositionFile& file, const Snapshot& snapshot, bool* foreign) {
    *foreign = false;
    MarkupNode* document = markup::NewMarkupNode(file.Env);
    if (document == nullptr) return nullptr;
    bool parsed = snapshot.Text == nullptr || markup::Parse(document, snapshot.Text, static_cast<int>(snapshot.Length),
                                                            *file.Comparison, file.MemoryLimit, foreign);
    if (!parsed) markup::ReleaseDocument(&document);
    return document;
}

// Remembers what the document now reflects. A file whose time or size could
// not be read is left unrecorded, so the next Load reads it again.
void RecordSnapshot(PositionFile& file, const char* fileName, ReadOutcome outcome, const Snapshot& snapshot) {
    if (outcome == ReadOutcome::Read && snapshot.Known) {
        CopyBounded(file.LoadedPath, fileName, kPathSize);
        file.LoadedTime = snapshot.Time;
        file.LoadedSize = snapshot.Size;
        file.LoadedIdentity = snapshot.Identity;
    } else {
        file.LoadedPath[0] = '\0';
        file.LoadedTime = ZeroTime();
        file.LoadedSize = 0;
        file.LoadedIdentity = 0;
    }
}

// Keeps a copy of a file the plug-in did not write before a save replaces
// it (see store/foreign_file.h). False when the file needs one and it
// could not be made: it must not be replaced then.
bool ProtectForeignFile(const PositionFile& file, const char* fileName) {
    platform::Env* env = file.Env;
    bool foreign = file.LoadedForeign;
    // What was read is known only for the path it was read from.
    if (file.LoadedPath[0] == '\0' || !file.Comparison->Equal(file.LoadedPath, fileName)) {
        foreign = InspectFileAt(env, *file.Comparison, fileName) == FileKind::Foreign;
    }
    return !foreign || KeepBackupCopy(env, fileName);
}

// After a save: the file on disk is the document as written, so the next
// Load of that file finds it unchanged and reads nothing, while a file that
// another host put there since has another identity (every save makes a
// new file), time or size, and is read. Without the written file's stamp
// the file is left unrecorded and the next Load reads it again.
void RecordOwnWrite(PositionFile& file, const char* fileName, const WrittenFile& written) {
    if (!written.Known || !FitsIn(fileName, kPathSize)) {
        file.LoadedPath[0] = '\0';
        file.LoadedTime = ZeroTime();
        file.LoadedSize = 0;
        file.LoadedIdentity = 0;
        return;
    }
    CopyBounded(file.LoadedPath, fileName, kPathSize);
    file.LoadedTime = written.Time;
    file.LoadedSize = written.Size;
    file.LoadedIdentity = written.Identity;
}

// The document's text in a buffer of the environment's heap (the caller
// releases it), its length in `*length`; null when it cannot be made. Most
// saves follow a Load or a save of nearly the same text, so the text is
// written straight into a buffer a little larger than that file, in one
// pass; only a text that does not fit it is measured and written again
// into a buffer of its exact size.
char* WriteDocumentText(const PositionFile& file, std::int64_t* length) {
    platform::Env* env = file.Env;
    std::uint64_t known = file.LoadedPath[0] != '\0' ? file.LoadedSize : 0;
    if (known < static_cast<std::uint64_t>(markup::kMaxTextSize) / 2) {
        std::int64_t capacity = static_cast<std::int64_t>(known + known / 8 + 4096);
        char* text = static_cast<char*>(env->Alloc(static_cast<std::size_t>(capacity)));
        if (text != nullptr) {
            *length = markup::WriteText(file.Document, text, capacity, 0, *file.Comparison);
            if (*length >= 0) return text;
            env->Release(text);
        }
    }
    *length = markup::MeasureText(file.Document, 0, *file.Comparison);
    if (*length < 0) return nullptr;
    char* text = static_cast<char*>(env->Alloc(static_cast<std::size_t>(*length) + 1u));
    if (text == nullptr) return nullptr;
    if (markup::WriteText(file.Document, text, *length + 1, 0, *file.Comparison) != *length) {
        env->Release(text);
        return nullptr;
    }
    return text;
}

// Destroys the document and forgets what was loaded and the pending
// changes; a held update lock is let go.
void Unload(PositionFile& file) {
    ReleaseUpdateLock(file);
    ClearPending(file);
    DestroyDocumentIndex(file.Index);
    markup::ReleaseDocument(&file.Document);
}

}  // namespace

static_assert(kDefaultMemoryLimit == markup::kDocumentMemoryLimit, "the store's default is the parser's");

PositionFile* OpenPositionFile(const PositionFileSetup& setup) {
    if (setup.Env == nullptr || setup.Comparison == nullptr) return nullptr;
    PositionFile* file = NewZeroed<PositionFile>(setup.Env);
    if (file == nullptr) return nullptr;
    file->Env = setup.Env;
    file->Comparison = setup.Comparison;
    file->Open = setup.Open;
    file->MemoryLimit = setup.MemoryLimit != 0 ? setup.MemoryLimit : kDefaultMemoryLimit;
    file->Index.Heap = setup.Env;
    file->Index.Comparison = setup.Comparison;
    return file;
}

void ClosePositionFile(PositionFile* file) {
    if (file == nullptr) return;
    Unload(*file);
    DeleteZeroed(file->Env, file);
}

bool Load(PositionFile* handle, const char* fileName) {
    if (handle == nullptr || !FitsIn(fileName, kPathSize)) return false;
    PositionFile& file = *handle;

    Snapshot snapshot;
    ReadOutcome outcome = ReadSnapshot(fileName, file, &snapshot);
    if (outcome == ReadOutcome::Unavailable) return false;
    if (outcome == ReadOutcome::Unchanged) return true;

    bool foreign = false;
    MarkupNode* incoming = BuildDocument(file, snapshot, &foreign);
    file.Env->Release(snapshot.Text);
    if (incoming == nullptr) return false;

    if (file.Document == nullptr) {
        file.Document = incoming;
    } else {
        // The merge keeps the document's index in step; a failed merge
        // changes nothing.
        bool merged = MergeDocument(file, incoming);
        markup::ReleaseDocument(&incoming);
        if (!merged) return false;
    }
    // Without memory for the index, lookups walk the document instead, and
    // the next Load tries again to build it.
    if (!IndexesDocument(file.Index, file.Document)) {
        BuildDocumentIndex(file.Index, file.Document, file.Env, *file.Comparison);
    }
    // What this host changed but could not save yet wins over the file. A
    // change that could not be made again fails the Load, which records
    // nothing, so that no save writes the document without it and the next
    // Load tries again.
    if (!ReapplyPending(file)) return false;
    RecordSnapshot(file, fileName, outcome, snapshot);
    file.LoadedForeign = foreign;
    return true;
}

bool Save(PositionFile* handle, const char* fileName, bool reloadFirst) {
    if (handle == nullptr || handle->Document == nullptr || fileName == nullptr) return false;
    PositionFile& file = *handle;
    if (reloadFirst && !Load(handle, fileName)) return false;
    if (file.Document == nullptr) return false;

    platform::Env* env = file.Env;
    std::int64_t length = -1;
    char* text = WriteDocumentText(file, &length);
    if (text == nullptr) return false;
    bool saved = false;
    if (ProtectForeignFile(file, fileName)) {
        WrittenFile written;
        saved = ReplaceFileContent(env, fileName, text, static_cast<std::uint32_t>(length), &written) ==
                platform::Status::Ok;
        if (saved) RecordOwnWrite(file, fileName, written);
    }
    env->Release(text);
    if (saved) {
        ClearPending(file);
        // The file on disk is now the plug-in's own text.
        file.LoadedForeign = false;
    }
    return saved;
}

FileKind InspectFile(const PositionFile* file, const char* path) {
    if (file == nullptr) return FileKind::Unreadable;
    return InspectFileAt(file->Env, *file->Comparison, path);
}

}  // namespace store
}  // namespace tarnwick
