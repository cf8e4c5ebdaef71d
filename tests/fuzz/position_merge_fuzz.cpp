// Fuzz target: two arbitrary position files, the first loaded, the second
// merged into it (with some of its paths open here, and perhaps with one
// allocation of that merge failing), then item additions, updates and
// removals, and a save. A fresh load of the saved file holds exactly what
// memory held.
//
// Input: <first file> 0x01 <second file> 0x01 <operations>. The operation
// bytes pick the open paths, the allocation to fail and the item changes.
//
// Each input runs twice: once on the files as they are (no crash, leak or
// undefined behaviour), and once on the text the writer makes of each of
// them, which the text form can express whole, so that the save must lose
// nothing at all.
//
// The files live in a memory environment made new for every run, so that a
// run costs no disk and no input depends on what an earlier one left.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/fault_env.h"
#include "common/memory_env.h"
#include "common/open_paths.h"
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "store/position_file.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::store;
using testing_support::FaultEnv;
using testing_support::MemoryEnv;
using testing_support::OpenPaths;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

// The text the writer makes of `text`.
std::string Canonical(const std::string& text) {
    const CaseComparison& ascii = AsciiComparison();
    markup::MarkupNode* document = markup::NewMarkupNode(platform::Env::Default());
    Check(document != nullptr, "document");
    markup::Parse(document, text.c_str(), static_cast<int>(text.size()), ascii);
    std::int64_t length = markup::MeasureText(document, 0, ascii);
    Check(length >= 0, "measure");
    std::string written(static_cast<std::size_t>(length) + 1, '\0');
    Check(markup::WriteText(document, &written[0], length + 1, 0, ascii) == length, "write text");
    written.resize(static_cast<std::size_t>(length));
    markup::Destroy(document);
    return written;
}

PositionFile* Open(platform::Env* env, const OpenFiles* open) {
    PositionFile* file = OpenPositionFile({env, &AsciiComparison(), open, 0});
    Check(file != nullptr, "open");
    return file;
}

struct Item {
    ItemKind Kind;
    std::string Path;
    StoredPlace Place;
};

struct Visit {
    std::vector<Item>* Items;
    ItemKind Kind;
};

bool AddItemOf(void* context, const char* path, const StoredPlace& place) {
    Visit* visit = static_cast<Visit*>(context);
    visit->Items->push_back(Item{visit->Kind, path, place});
    return true;
}

// The editor items, front to back, then the viewer items.
std::vector<Item> ItemsOf(const PositionFile* file) {
    std::vector<Item> items;
    for (ItemKind kind : {ItemKind::Editor, ItemKind::Viewer}) {
        const std::size_t before = items.size();
        Visit visit{&items, kind};
        VisitItems(file, kind, AddItemOf, &visit);
        Check(static_cast<std::size_t>(CountItems(file, kind)) == items.size() - before,
              "the count of a kind is the number of its items");
    }
    return items;
}

bool SameTable(const CharTableChoice& a, const CharTableChoice& b) {
    if (a.Kind != b.Kind || a.Number != b.Number) return false;
    return std::strncmp(a.Name, b.Name, kTableNameSize) == 0;
}

// The fingerprints as they belong to their places: both none, or equal.
bool SamePrint(const EditorPlace& a, const EditorPlace& b) {
    const TextFingerprint* p = PrintOf(a);
    const TextFingerprint* q = PrintOf(b);
    if (p == nullptr || q == nullptr) return p == q;
    for (int i = 0; i < kPrintLines; ++i) {
        if (p->Hashes[i] != q->Hashes[i]) return false;
    }
    return HasStamp(*p) == HasStamp(*q) && (!HasStamp(*p) || (p->Size == q->Size && p->Time == q->Time));
}

bool SamePlace(ItemKind kind, const StoredPlace& a, const StoredPlace& b) {
    if (kind == ItemKind::Viewer) {
        const ViewerPlace& p = a.Viewer;
        const ViewerPlace& q = b.Viewer;
        return p.Offset == q.Offset && p.Left == q.Left && p.Hex == q.Hex && p.Wrap == q.Wrap &&
               SameTable(p.Table, q.Table);
    }
    const EditorPlace& p = a.Editor;
    const EditorPlace& q = b.Editor;
    return p.Line == q.Line && p.Column == q.Column && p.Top == q.Top && p.Left == q.Left &&
           p.Overtype == q.Overtype && SameBookmarks(p.Marks, q.Marks) && SameTable(p.Table, q.Table) && SamePrint(p, q);
}

bool SameItems(const std::vector<Item>& a, const std::vector<Item>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Kind != b[i].Kind || a[i].Path != b[i].Path || !SamePlace(a[i].Kind, a[i].Place, b[i].Place)) {
            return false;
        }
    }
    return true;
}

struct Bytes {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t At;
    std::uint8_t Next() { return At < Size ? Data[At++] : 0; }
    bool More() const { return At < Size; }
    std::int32_t Number() {
        // Small numbers mostly, now and then the extremes.
        std::uint8_t b = Next();
        if (b == 0xFF) return INT32_MIN;
        if (b == 0xFE) return INT32_MAX;
        return static_cast<std::int32_t>(b) - 64;
    }
    std::int64_t Offset() {
        // Small ones, ones beyond 32 bits, and the extremes.
        std::uint8_t b = Next();
        if (b == 0xFF) return INT64_MIN;
        if (b == 0xFE) return INT64_MAX;
        return (static_cast<std::int64_t>(b) - 64) * 4294967311LL;
    }
};

// Some of the second file's paths (the mask's bits, of its first eight
// items of either kind) are open here, in a window of the item's kind.
void OpenSomeOf(MemoryEnv& files, const std::string& path, const std::string& second, std::uint8_t mask,
                OpenPaths& open) {
    Check(files.PutFile(path, second), "second file");
    PositionFile* peek = Open(&files, nullptr);
    Load(peek, path.c_str());
    std::vector<Item> theirs = ItemsOf(peek);
    ClosePositionFile(peek);
    for (std::size_t i = 0; i < theirs.size() && i < 8; ++i) {
        if ((mask & (1u << i)) != 0) open.Open(theirs[i].Path, theirs[i].Kind);
    }
}

// A table picked by the next byte: none, a keyword, or a code table whose
// name may hold spaces, a quote (not stored) or nothing.
CharTableChoice TableFrom(Bytes& bytes) {
    static const char* const kNames[] = {"KOI8 R", "a \"q\"", "", " spaced  name "};
    CharTableChoice table{};
    std::uint8_t b = bytes.Next();
    table.Kind = static_cast<TableKind>(b % 5);
    table.Number = table.Kind == TableKind::Code ? static_cast<std::int32_t>(b >> 3) - 4 : -1;
    if (table.Kind == TableKind::Code) std::strncpy(table.Name, kNames[(b >> 3) % 4], kTableNameSize - 1);
    return table;
}

// A place of both kinds from the next bytes: the numbers, some bookmarks
// (a byte's bits pick the slots), the tables and a 64-bit offset.
StoredPlace PlaceFrom(Bytes& bytes) {
    StoredPlace place = EmptyPlace();
    place.Editor.Line = bytes.Number();
    place.Editor.Column = bytes.Number();
    place.Editor.Top = bytes.Number();
    place.Editor.Left = bytes.Number();
    place.Editor.Overtype = bytes.Next() & 1;
    std::uint8_t slots = bytes.Next();
    for (int i = 0; i < 8; ++i) {
        if ((slots & (1u << i)) == 0) continue;
        const int slot = (i * 3 + slots) % kBookmarkCount;
        place.Editor.Marks.Slot[slot] = Bookmark{bytes.Number(), bytes.Number(), bytes.Number(), bytes.Number()};
    }
    place.Editor.Table = TableFrom(bytes);
    // A fingerprint, of the place's line or of another (a place an older
    // version moved), with or without the file's stamp.
    const std::uint8_t print = bytes.Next();
    if ((print & 1) != 0) {
        TextFingerprint& fingerprint = place.Editor.Print;
        fingerprint.Line = (print & 2) != 0 ? place.Editor.Line : bytes.Number();
        for (int i = 0; i < kPrintLines; ++i) {
            const std::uint32_t hash = static_cast<std::uint32_t>(bytes.Number());
            fingerprint.Hashes[i] = i == kNearLines ? hash : hash & 0xFFFF;
        }
        if ((print & 4) != 0) {
            fingerprint.Size = bytes.Offset();
            fingerprint.Time = bytes.Offset();
        }
    }
    place.Viewer.Offset = bytes.Offset();
    place.Viewer.Left = bytes.Number();
    place.Viewer.Hex = bytes.Next() & 1;
    place.Viewer.Wrap = bytes.Next() % 3;
    place.Viewer.Table = TableFrom(bytes);
    return place;
}

// Adds, updates, puts and removals of items of both kinds. The paths to pick from are
// those of the merged items and of the new ones added since (a removed
// item's path may still be picked: a change to an item that is gone is a
// case as well).
void ChangeItems(PositionFile* file, Bytes& bytes) {
    std::vector<std::string> paths;
    for (const Item& item : ItemsOf(file)) paths.push_back(item.Path);
    for (int count = 0; bytes.More() && count < 64; ++count) {
        std::uint8_t op = bytes.Next();
        // A new path, or (when there is one) the path of an item there.
        const bool fresh = (op & 0x10) != 0 || paths.empty();
        std::string itemPath = fresh ? "f" + std::to_string(op >> 5) + ".txt" : paths[bytes.Next() % paths.size()];
        if (fresh && (op & 3) != 2) paths.push_back(itemPath);
        const ItemKind kind = (op & 0x08) != 0 ? ItemKind::Viewer : ItemKind::Editor;
        const StoredPlace place = PlaceFrom(bytes);
        switch (op & 3) {
        case 0:
            AddItem(file, kind, itemPath.c_str(), place);
            break;
        case 1:
            WriteItem(file, kind, itemPath.c_str(), place);
            break;
        case 2:
            RemoveItem(file, kind, itemPath.c_str());
            break;
        default:
            if (ReadItem(file, kind, itemPath.c_str(), nullptr)) {
                WriteItem(file, kind, itemPath.c_str(), place);
            } else {
                AddItem(file, kind, itemPath.c_str(), place);
            }
            break;
        }
    }
}

void Run(const std::string& first, const std::string& second, const std::uint8_t* ops, std::size_t opsSize,
         bool strict) {
    const std::string path = "/fuzz/positions.cfg";
    const std::string again = "/fuzz/again.cfg";
    // The files live in memory, new for every run; the heap is the real one.
    MemoryEnv files(platform::Env::Default());
    FaultEnv env(&files);
    env.SkipFlushes(true);
    Bytes bytes{ops, opsSize, 0};
    OpenPaths open;
    PositionFile* file = Open(&env, open.Files());

    // Each file is put in place as another host's save does: a new file.
    Check(files.PutFile(path, first), "first file");
    Check(Load(file, path.c_str()), "first load");
    OpenSomeOf(files, path, second, bytes.Next(), open);

    // The merge, perhaps with one of its allocations failing: then it is
    // refused and memory stays as it was.
    std::uint8_t failAt = bytes.Next();
    if (failAt != 0) {
        const std::vector<Item> before = ItemsOf(file);
        env.FailAt(FaultEnv::Op::Alloc, failAt, FaultEnv::Fault::Fail);
        bool merged = Load(file, path.c_str());
        env.ClearFaults();
        if (!merged) Check(SameItems(ItemsOf(file), before), "a failed merge left memory as it was");
    }
    Check(Load(file, path.c_str()), "merge");

    ChangeItems(file, bytes);

    const std::vector<Item> held = ItemsOf(file);
    if (Save(file, path.c_str(), false)) {
        std::string saved;
        Check(files.GetFile(path, &saved), "saved file");
        PositionFile* fresh = Open(&files, nullptr);
        Check(Load(fresh, path.c_str()), "fresh load");
        if (strict) {
            Check(SameItems(ItemsOf(fresh), held), "the saved file holds the items memory held");
            // What memory held is what was saved; the fresh load, saved in
            // turn, gives the same text back.
            std::string resaved;
            Check(Save(fresh, again.c_str(), false) && files.GetFile(again, &resaved), "save again");
            Check(resaved == saved, "the saved file reads back to the same text");
        }
        ClosePositionFile(fresh);
    } else {
        Check(!strict, "save");
    }

    ClosePositionFile(file);
    Check(env.Live() == 0, "every block released");
    Check(files.OpenHandles() == 0, "every file closed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 16)) return 0;
    std::size_t firstEnd = 0;
    while (firstEnd < size && data[firstEnd] != 0x01) ++firstEnd;
    std::size_t secondEnd = firstEnd + 1;
    while (secondEnd < size && data[secondEnd] != 0x01) ++secondEnd;
    if (secondEnd > size) secondEnd = size;
    std::string first(reinterpret_cast<const char*>(data), firstEnd);
    std::string second = firstEnd < size ? std::string(reinterpret_cast<const char*>(data) + firstEnd + 1,
                                                       secondEnd - firstEnd - 1)
                                         : std::string();
    const std::uint8_t* ops = secondEnd < size ? data + secondEnd + 1 : data + size;
    std::size_t opsSize = static_cast<std::size_t>(data + size - ops);

    Run(first, second, ops, opsSize, false);
    Run(Canonical(first), Canonical(second), ops, opsSize, true);
    return 0;
}
