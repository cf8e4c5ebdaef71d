// Fuzz target: two arbitrary position files, the first loaded, the second
// merged into it (with an editor table holding some of its paths, and
// perhaps with one allocation of that merge failing), then item additions,
// updates and removals, and a save. A fresh load of the saved file holds
// exactly what memory held.
//
// Input: <first file> 0x01 <second file> 0x01 <operations>. The operation
// bytes pick the editors, the allocation to fail and the item changes.
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
#include <string>
#include <vector>

#include "common/fault_env.h"
#include "common/memory_env.h"
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "store/editor_table.h"
#include "store/item_update.h"
#include "store/position_file.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::store;
using testing_support::FaultEnv;
using testing_support::MemoryEnv;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

std::string TextOf(const markup::MarkupNode* document) {
    std::int64_t length = markup::MeasureText(document, 0);
    Check(length >= 0, "measure");
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    Check(markup::WriteText(document, &text[0], length + 1, 0) == length, "write text");
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The text the writer makes of `text`.
std::string Canonical(const std::string& text) {
    markup::MarkupNode* document = markup::NewMarkupNode(platform::Env::Default());
    Check(document != nullptr, "document");
    markup::Parse(document, text.c_str(), static_cast<int>(text.size()));
    std::string written = TextOf(document);
    markup::Destroy(document);
    return written;
}

struct Item {
    std::string Path;
    EditorSetPosition Position;
};

// The editor items of the document, front to back.
std::vector<Item> ItemsOf(const PositionFile& file) {
    std::vector<Item> items;
    for (markup::MarkupNode* e = Document(file) != nullptr ? Document(file)->GetNext() : nullptr; e != nullptr;
         e = e->GetNext()) {
        if (!IsItemOfType(e, kItemTypeEditor)) continue;
        Item item{markup::GetAttribute(e, "path"), EditorSetPosition{}};
        ReadItemElement(e, kItemTypeEditor, &item.Position);
        items.push_back(item);
    }
    return items;
}

// The paths of the editor items, front to back: what ItemsOf gives without
// reading the positions, for picking an item to change.
std::vector<std::string> PathsOf(const PositionFile& file) {
    std::vector<std::string> paths;
    for (markup::MarkupNode* e = Document(file) != nullptr ? Document(file)->GetNext() : nullptr; e != nullptr;
         e = e->GetNext()) {
        if (IsItemOfType(e, kItemTypeEditor)) paths.emplace_back(markup::GetAttribute(e, "path"));
    }
    return paths;
}

bool SameItems(const std::vector<Item>& a, const std::vector<Item>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const EditorSetPosition& p = a[i].Position;
        const EditorSetPosition& q = b[i].Position;
        if (a[i].Path != b[i].Path || p.CurLine != q.CurLine || p.CurPos != q.CurPos ||
            p.TopScreenLine != q.TopScreenLine || p.LeftPos != q.LeftPos || p.Overtype != q.Overtype) {
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
};

void Run(const std::string& first, const std::string& second, const std::uint8_t* ops, std::size_t opsSize,
         bool strict) {
    const std::string path = "/fuzz/positions.cfg";
    // The files live in memory, new for every run; the heap is the real one.
    MemoryEnv files(platform::Env::Default());
    FaultEnv env(&files);
    env.SkipFlushes(true);
    Bytes bytes{ops, opsSize, 0};

    PositionFile file{};
    file.Env = &env;
    EditorTable table{nullptr, &env};

    // Each file is put in place as another host's save does: a new file.
    Check(files.PutFile(path, first), "first file");
    bool loaded = Load(file, path.c_str(), &table);
    Check(loaded, "first load");

    // Editors of this process on some of the second file's paths.
    {
        PositionFile peek{};
        peek.Env = &files;
        Check(files.PutFile(path, second), "second file");
        Load(peek, path.c_str(), nullptr);
        std::vector<Item> theirs = ItemsOf(peek);
        UnloadDocument(peek);
        std::uint8_t mask = bytes.Next();
        for (std::size_t i = 0; i < theirs.size() && i < 8; ++i) {
            if ((mask & (1u << i)) == 0) continue;
            EditorRecord record = PathKey(theirs[i].Path.c_str());
            record.EditorID = static_cast<std::int32_t>(i) + 1;
            Check(InsertRecord(table, record), "editor record");
        }
    }

    // The merge, perhaps with one of its allocations failing: then it is
    // refused and memory stays as it was.
    std::uint8_t failAt = bytes.Next();
    if (failAt != 0) {
        const std::string before = TextOf(Document(file));
        env.FailAt(FaultEnv::Op::Alloc, failAt, FaultEnv::Fault::Fail);
        bool merged = Load(file, path.c_str(), &table);
        env.ClearFaults();
        if (!merged) Check(TextOf(Document(file)) == before, "a failed merge left memory as it was");
    }
    Check(Load(file, path.c_str(), &table), "merge");

    // Item changes. The paths to pick from are those of the merged items
    // and of the new ones added since (a removed item's path may still be
    // picked: a change to an item that is gone is a case as well).
    std::vector<std::string> paths = PathsOf(file);
    for (int count = 0; bytes.More() && count < 64; ++count) {
        std::uint8_t op = bytes.Next();
        // A new path, or (when there is one) the path of an item there.
        const bool fresh = (op & 0x10) != 0 || paths.empty();
        std::string itemPath = fresh ? "f" + std::to_string(op >> 5) + ".txt" : paths[bytes.Next() % paths.size()];
        if (fresh && (op & 3) != 2) paths.push_back(itemPath);
        EditorSetPosition position{};
        position.CurLine = bytes.Number();
        position.CurPos = bytes.Number();
        position.TopScreenLine = bytes.Number();
        position.LeftPos = bytes.Number();
        position.Overtype = bytes.Next() & 1;
        switch (op & 3) {
        case 0:
            AddItem(file, kItemTypeEditor, itemPath.c_str(), position);
            break;
        case 1:
            UpdateWholeItem(file, kItemTypeEditor, itemPath.c_str(), position);
            break;
        case 2:
            RemoveItem(file, kItemTypeEditor, itemPath.c_str());
            break;
        default:
            StoreWholeItem(file, kItemTypeEditor, itemPath.c_str(), position);
            break;
        }
    }

    const std::vector<Item> held = ItemsOf(file);
    const std::string heldText = TextOf(Document(file));
    if (Save(file, path.c_str(), &table, false)) {
        PositionFile fresh{};
        fresh.Env = &files;
        Check(Load(fresh, path.c_str(), nullptr), "fresh load");
        if (strict) {
            Check(SameItems(ItemsOf(fresh), held), "the saved file holds the items memory held");
            Check(TextOf(Document(fresh)) == heldText, "the saved file reads back to the same text");
        }
        UnloadDocument(fresh);
    } else {
        Check(!strict, "save");
    }

    UnloadDocument(file);
    DestroyAllRecords(table);
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
