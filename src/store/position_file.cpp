#include "store/position_file.h"

#include <cstring>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "store/item_index.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {

const char* const ITEM_TYPE_EDITOR = "editor";

namespace {

// The fragment a new item is made from; its attributes then stand in the
// order type, path, line, column, top, left, overtype.
const char NEW_ITEM_FRAGMENT[] = "<item type=\"\">";
constexpr int NEW_ITEM_FRAGMENT_LENGTH = 14;

// A file held by another host (a writer replacing it, say) is retried for
// about OPEN_ATTEMPTS * OPEN_RETRY_MS before Load gives up.
constexpr int OPEN_ATTEMPTS = 10;
constexpr unsigned OPEN_RETRY_MS = 20;

// True when `text` is present and holds fewer than `size` characters, so it
// fits a buffer of `size` bytes with its terminator. Looks at no more than
// `size` characters.
bool FitsIn(const char* text, int size) {
    if (text == nullptr) return false;
    for (int i = 0; i < size; ++i) {
        if (text[i] == '\0') return true;
    }
    return false;
}

bool IsEditorType(const char* type) {
    return type != nullptr && CompareNoCase(type, ITEM_TYPE_EDITOR) == 0;
}

// The position a merge starts from for each item before reading it.
EditorSetPosition BlankPosition() {
    EditorSetPosition position{};
    position.CurTabPos = -1;
    return position;
}

// The editor items of a chain: qualifying items of type "editor".
bool IsEditorItem(const MarkupNode* element) { return IsItemOfType(element, ITEM_TYPE_EDITOR); }

// The first element of a document's top-level chain.
MarkupNode* FirstElement(MarkupNode* document) { return document != nullptr ? document->GetNext() : nullptr; }

platform::FileTime ZeroTime() { return platform::FileTime{0, 0}; }

// Opens the file for reading. A file that is there but held by another host
// or refused for the moment is tried again a few times before giving up.
platform::OpenStatus OpenWithRetry(const char* path, platform::File** handle) {
    for (int attempt = 1;; ++attempt) {
        platform::OpenStatus status = platform::OpenForRead(path, handle);
        if (status != platform::OpenStatus::Busy && status != platform::OpenStatus::Denied) return status;
        if (attempt >= OPEN_ATTEMPTS) return status;
        platform::SleepMilliseconds(OPEN_RETRY_MS);
    }
}

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
    snapshot->Text = nullptr;
    snapshot->Length = 0;
    snapshot->Time = ZeroTime();
    snapshot->Size = 0;
    snapshot->Identity = 0;
    snapshot->Known = false;

    platform::File* handle = nullptr;
    platform::OpenStatus status = OpenWithRetry(fileName, &handle);
    if (status == platform::OpenStatus::NotFound) return ReadOutcome::Absent;
    if (status != platform::OpenStatus::Ok) return ReadOutcome::Unavailable;

    bool timeKnown = platform::GetFileTime(handle, &snapshot->Time);
    bool sizeKnown = platform::GetFileSize(handle, &snapshot->Size);
    snapshot->Known = timeKnown && sizeKnown;
    if (!timeKnown) snapshot->Time = ZeroTime();
    // Every save replaces the file with a new one, so a new identity shows a
    // write that time and size alone can miss (two saves of one size within
    // one tick of a coarse file clock).
    if (!platform::GetFileIdentity(handle, &snapshot->Identity)) snapshot->Identity = 0;

    if (snapshot->Known && current.Document != nullptr && current.LoadedPath[0] != '\0' &&
        CompareNoCase(current.LoadedPath, fileName) == 0 && platform::TimesEqual(snapshot->Time, current.LoadedTime) &&
        snapshot->Size == current.LoadedSize && snapshot->Identity == current.LoadedIdentity) {
        platform::CloseFile(handle);
        return ReadOutcome::Unchanged;
    }

    // Without a size the file cannot be read whole; taking it as empty would
    // drop every item, so it counts as unreadable for now.
    if (!sizeKnown || snapshot->Size > static_cast<std::uint64_t>(MAX_TEXT_SIZE)) {
        platform::CloseFile(handle);
        return ReadOutcome::Unavailable;
    }

    std::uint32_t size = static_cast<std::uint32_t>(snapshot->Size);
    char* text = static_cast<char*>(AllocZeroed(static_cast<std::size_t>(size) + 1u));
    if (text == nullptr) {
        platform::CloseFile(handle);
        return ReadOutcome::Unavailable;
    }
    std::uint32_t total = 0;
    while (total < size) {
        std::uint32_t got = 0;
        if (!platform::ReadFile(handle, text + total, size - total, &got)) {
            platform::CloseFile(handle);
            Release(text);
            return ReadOutcome::Unavailable;
        }
        if (got == 0) break;  // the file ended early: what was read is the text
        total += got;
    }
    platform::CloseFile(handle);
    text[total] = '\0';
    snapshot->Text = text;
    snapshot->Length = total;
    return ReadOutcome::Read;
}

// A document parsed from the snapshot's text; null when memory runs out.
MarkupNode* BuildDocument(const Snapshot& snapshot) {
    MarkupNode* document = NewMarkupNode();
    if (document == nullptr) return nullptr;
    if (snapshot.Text != nullptr) {
        Parse(document, snapshot.Text, static_cast<int>(snapshot.Length));
    } else {
        Parse(document, "", 0);
    }
    return document;
}

// Remembers what the document now reflects. A file whose time or size could
// not be read is left unrecorded, so the next Load reads it again.
void RecordSnapshot(PositionFile& file, const char* fileName, ReadOutcome outcome, const Snapshot& snapshot) {
    if (outcome == ReadOutcome::Read && snapshot.Known) {
        CopyBounded(file.LoadedPath, fileName, PATH_SIZE);
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

// Adds a new item in front of all others and fills it; the new element, or
// null when it could not be made or filled (nothing is added then).
MarkupNode* AddItemElement(PositionFile& file, const char* type, const char* path,
                           const EditorSetPosition& position) {
    if (file.Document == nullptr || !FitsIn(type, TYPE_SIZE) || !FitsIn(path, PATH_SIZE)) return nullptr;
    MarkupNode* element = InsertFragment(file.Document, NEW_ITEM_FRAGMENT, NEW_ITEM_FRAGMENT_LENGTH);
    if (element == nullptr) return nullptr;
    if (!WriteItemElement(element, type, path, position)) {
        Destroy(element);
        return nullptr;
    }
    return element;
}

// True when the first attribute named `name` (ignoring case) has exactly
// that name and value, so that setting it would change nothing.
bool HoldsExactly(const MarkupNode* element, const char* name, const char* value) {
    for (std::int32_t i = 0; i < element->AttributeCount; ++i) {
        const MarkupAttribute& attribute = element->Attributes[i];
        if (CompareNoCase(attribute.Name, name) != 0) continue;
        return std::strcmp(attribute.Name, name) == 0 && std::strcmp(attribute.Value, value) == 0;
    }
    return false;
}

bool HoldsExactly(const MarkupNode* element, const char* name, std::int32_t value) {
    char text[12];
    FormatInt(value, text);
    return HoldsExactly(element, name, text);
}

// True when WriteItemElement(element, "editor", path, position) would leave
// the element as it is. Most items of a merge are like that: the file holds
// what this host saved.
bool ItemHolds(const MarkupNode* element, const char* path, const EditorSetPosition& position) {
    return HoldsExactly(element, "type", ITEM_TYPE_EDITOR) && HoldsExactly(element, "path", path) &&
           HoldsExactly(element, "line", position.CurLine) && HoldsExactly(element, "column", position.CurPos) &&
           HoldsExactly(element, "top", position.TopScreenLine) && HoldsExactly(element, "left", position.LeftPos) &&
           HoldsExactly(element, "overtype", position.Overtype);
}

// Drops every record of this process's editors that has `path` open.
void DropRecordsOfPath(EditorTable& table, const char* path) {
    EditorRecord key = PathKey(path);
    while (FetchByPath(table, &key)) Remove(table, key);
}

bool IsOpenHere(const EditorTable* table, const char* path) {
    return table != nullptr && ContainsPath(*table, PathKey(path));
}

// The paths of this process's open editors as a set of hash bits: a path
// whose bit is clear is certainly not open here, which spares the walk of
// the table for nearly every item of a merge.
struct OpenPathFilter {
    std::uint32_t Bits[256];  // 8192 bits
};

void MarkOpenPath(const EditorRecord& record, void* context) {
    if (record.Kind != KIND_EDITOR) return;
    OpenPathFilter* filter = static_cast<OpenPathFilter*>(context);
    std::uint32_t bit = FoldedHash(record.Path) & 8191u;
    filter->Bits[bit >> 5] |= 1u << (bit & 31u);
}

bool MayBeOpen(const OpenPathFilter& filter, const char* path) {
    std::uint32_t bit = FoldedHash(path) & 8191u;
    return (filter.Bits[bit >> 5] & (1u << (bit & 31u))) != 0;
}

int CountEditorItems(MarkupNode* document) {
    int count = 0;
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->GetNext()) {
        if (IsEditorItem(element)) ++count;
    }
    return count;
}

// Indexes the editor items of `document` by path, first occurrence only.
void IndexEditorItems(ItemIndex& index, MarkupNode* document) {
    for (MarkupNode* element = FirstElement(document); element != nullptr; element = element->GetNext()) {
        if (IsEditorItem(element)) AddIndexedItem(index, element, GetAttribute(element, "path"));
    }
}

// Reconciles the document in memory with `incoming`, the file's current
// content, for the editor items only:
// - an item only in memory goes, with the records of editors on its path;
// - an item in both takes the file's values, unless an editor of this
//   process has that file open (memory's values stay);
// - an item only in the file is added in front, so items taken over end up
//   before all older ones and in the reverse of their order in the file.
// Other elements on either side are left alone. Both documents are indexed
// by path first, so the whole merge is linear in their items. False, with
// nothing changed, when the indexes cannot be had.
bool MergeDocument(PositionFile& file, MarkupNode* incoming, EditorTable* table) {
    int localCount = CountEditorItems(file.Document);
    int incomingCount = CountEditorItems(incoming);

    ItemIndex incomingIndex;
    ItemIndex localIndex;
    bool indexed = CreateItemIndex(incomingIndex, incomingCount);
    indexed = CreateItemIndex(localIndex, localCount + incomingCount) && indexed;
    if (!indexed) {
        DestroyItemIndex(incomingIndex);
        DestroyItemIndex(localIndex);
        return false;
    }
    IndexEditorItems(incomingIndex, incoming);
    IndexEditorItems(localIndex, file.Document);

    OpenPathFilter open{};
    if (table != nullptr) VisitRecords(*table, MarkOpenPath, &open);

    EditorSetPosition position;
    char path[PATH_SIZE];

    // Memory's items: drop, keep or update from the file.
    MarkupNode* element = FirstElement(file.Document);
    while (element != nullptr) {
        if (!IsEditorItem(element)) {
            element = element->GetNext();
            continue;
        }
        CopyBounded(path, GetAttribute(element, "path"), PATH_SIZE);
        MarkupNode* theirs = FindIndexedItem(incomingIndex, path);
        if (theirs == nullptr) {
            if (table != nullptr) DropRecordsOfPath(*table, path);
            // Every item of memory with this path goes the same way, so the
            // one at hand is the first of them left.
            MarkupNode* previous = element->GetPrev();
            ForgetIndexedItem(localIndex, element, path);
            Remove(element);
            element = previous->GetNext();
            continue;
        }
        if (!(MayBeOpen(open, path) && IsOpenHere(table, path))) {
            // The file's values go into memory's first item of that path,
            // over that item's own values where the file lacks one.
            MarkupNode* ours = FindIndexedItem(localIndex, path);
            if (ours == nullptr) ours = element;
            position = BlankPosition();
            ReadItemElement(ours, ITEM_TYPE_EDITOR, &position);
            ReadItemElement(theirs, ITEM_TYPE_EDITOR, &position);
            CopyBounded(path, GetAttribute(theirs, "path"), PATH_SIZE);
            if (!ItemHolds(ours, path, position)) WriteItemElement(ours, ITEM_TYPE_EDITOR, path, position);
        }
        element = element->GetNext();
    }

    // The file's items that memory lacks: taken over, once per path.
    for (MarkupNode* theirs = FirstElement(incoming); theirs != nullptr; theirs = theirs->GetNext()) {
        if (!IsEditorItem(theirs)) continue;
        CopyBounded(path, GetAttribute(theirs, "path"), PATH_SIZE);
        if (FindIndexedItem(localIndex, path) != nullptr) continue;
        position = BlankPosition();
        ReadItemElement(theirs, ITEM_TYPE_EDITOR, &position);
        MarkupNode* added = AddItemElement(file, ITEM_TYPE_EDITOR, path, position);
        if (added != nullptr) AddIndexedItem(localIndex, added, path);
    }

    DestroyItemIndex(incomingIndex);
    DestroyItemIndex(localIndex);
    return true;
}

}  // namespace

bool IsItemOfType(const MarkupNode* element, const char* type) {
    if (element == nullptr || type == nullptr) return false;
    const char* name = GetName(element);
    if (name == nullptr || CompareNoCase(name, "item") != 0) return false;
    const char* itemType = GetAttribute(element, "type");
    const char* itemPath = GetAttribute(element, "path");
    if (!FitsIn(itemType, TYPE_SIZE) || !FitsIn(itemPath, PATH_SIZE)) return false;
    return CompareNoCase(itemType, type) == 0;
}

bool Load(PositionFile& file, const char* fileName, EditorTable* table) {
    if (!FitsIn(fileName, PATH_SIZE)) return false;

    Snapshot snapshot;
    ReadOutcome outcome = ReadSnapshot(fileName, file, &snapshot);
    if (outcome == ReadOutcome::Unavailable) return false;
    if (outcome == ReadOutcome::Unchanged) return true;

    MarkupNode* incoming = BuildDocument(snapshot);
    Release(snapshot.Text);
    if (incoming == nullptr) return false;

    if (file.Document == nullptr) {
        file.Document = incoming;
    } else {
        bool merged = MergeDocument(file, incoming, table);
        ReleaseDocument(&incoming);
        if (!merged) return false;
    }
    RecordSnapshot(file, fileName, outcome, snapshot);
    return true;
}

bool Save(PositionFile& file, const char* fileName, EditorTable* table, bool reloadFirst) {
    if (file.Document == nullptr || fileName == nullptr) return false;
    if (reloadFirst && !Load(file, fileName, table)) return false;
    if (file.Document == nullptr) return false;

    std::int64_t length = MeasureText(file.Document, 0);
    if (length < 0) return false;
    char* text = static_cast<char*>(AllocZeroed(static_cast<std::size_t>(length) + 1u));
    if (text == nullptr) return false;
    bool saved = false;
    if (WriteText(file.Document, text, length + 1, 0) == length) {
        saved = platform::ReplaceFileContent(fileName, text, static_cast<std::uint32_t>(length)) ==
                platform::WriteStatus::Ok;
    }
    Release(text);
    return saved;
}

MarkupNode* FindItem(const PositionFile& file, const char* type, const char* path) {
    if (file.Document == nullptr || type == nullptr || path == nullptr) return nullptr;
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        if (IsItemOfType(element, type) && CompareNoCase(GetAttribute(element, "path"), path) == 0) return element;
    }
    return nullptr;
}

bool ItemExists(const PositionFile& file, const char* type, const char* path) {
    return FindItem(file, type, path) != nullptr;
}

bool ReadItemElement(const MarkupNode* element, const char* type, EditorSetPosition* position) {
    if (element == nullptr || position == nullptr) return false;
    if (!IsEditorType(type)) return true;
    GetIntAttribute(element, "line", &position->CurLine);
    GetIntAttribute(element, "column", &position->CurPos);
    GetIntAttribute(element, "top", &position->TopScreenLine);
    GetIntAttribute(element, "left", &position->LeftPos);
    GetIntAttribute(element, "overtype", &position->Overtype);
    position->CurTabPos = -1;
    return true;
}

bool ReadItem(const PositionFile& file, const char* type, const char* path, EditorSetPosition* position) {
    return ReadItemElement(FindItem(file, type, path), type, position);
}

bool WriteItemElement(MarkupNode* element, const char* type, const char* path, const EditorSetPosition& position) {
    if (element == nullptr) return false;
    if (!IsEditorType(type)) return true;
    // A path that would not fit a path buffer is refused rather than cut.
    if (!FitsIn(type, TYPE_SIZE) || !FitsIn(path, PATH_SIZE)) return false;
    bool written = true;
    written = SetAttribute(element, "type", type) && written;
    written = SetAttribute(element, "path", path) && written;
    written = SetIntAttribute(element, "line", position.CurLine) && written;
    written = SetIntAttribute(element, "column", position.CurPos) && written;
    written = SetIntAttribute(element, "top", position.TopScreenLine) && written;
    written = SetIntAttribute(element, "left", position.LeftPos) && written;
    written = SetIntAttribute(element, "overtype", position.Overtype) && written;
    return written;
}

bool WriteItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    return WriteItemElement(FindItem(file, type, path), type, path, position);
}

bool AddItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    return AddItemElement(file, type, path, position) != nullptr;
}

void RemoveItem(PositionFile& file, const char* type, const char* path) {
    MarkupNode* element = FindItem(file, type, path);
    if (element != nullptr) Remove(element);
}

int CountItems(const PositionFile& file, const char* type) {
    if (file.Document == nullptr || type == nullptr) return 0;
    int count = 0;
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        if (IsItemOfType(element, type)) ++count;
    }
    return count;
}

int PurgeMissing(PositionFile& file, EditorTable* table, const char* fileName) {
    if (file.Document == nullptr) return 0;
    // Purging a stale copy and saving it would overwrite what another host
    // wrote meanwhile; without a current document nothing is purged.
    if (!Load(file, fileName, table) || file.Document == nullptr) return 0;

    int removed = 0;
    char type[TYPE_SIZE];
    char path[PATH_SIZE];
    MarkupNode* element = FirstElement(file.Document);
    while (element != nullptr) {
        MarkupNode* next = element->GetNext();
        const char* itemType = GetAttribute(element, "type");
        if (itemType != nullptr && IsItemOfType(element, itemType)) {
            CopyBounded(type, itemType, TYPE_SIZE);
            CopyBounded(path, GetAttribute(element, "path"), PATH_SIZE);
            // Only a file known to be gone is purged: one on a drive or share
            // that cannot be reached now, or whose lookup failed otherwise,
            // keeps its item.
            if (platform::ProbePath(path) == platform::PathStatus::Missing) {
                bool keep = false;
                if (table != nullptr) keep = !IsEditorType(type) || IsOpenHere(table, path);
                if (!keep) {
                    Remove(element);
                    ++removed;
                }
            }
        }
        element = next;
    }
    Save(file, fileName, table, false);
    return removed;
}

MarkupNode* Document(const PositionFile& file) { return file.Document; }

void ReleaseDocument(PositionFile& file) {
    ReleaseDocument(&file.Document);
    // Without a document nothing is loaded: the next Load reads afresh.
    file.LoadedPath[0] = '\0';
    file.LoadedTime = ZeroTime();
    file.LoadedSize = 0;
    file.LoadedIdentity = 0;
}

}  // namespace tarnwick
