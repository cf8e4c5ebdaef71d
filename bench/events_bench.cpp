// The plug-in's editor and viewer events through its exports, with a null host, at
// 100, 10,000 and 100,000 stored files; beside them the disk work they
// cannot avoid (the baselines), the document's memory and the parser's
// crafted worst case. scripts/bench-table.py turns a run into the table of
// doc/performance.md.
//
// The baseline of the document's text and the memory figures measure the
// loaded document itself, so this program alone reaches into the position
// file's record (store/position_file_state.h); everything else goes
// through the verbs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "common/open_paths.h"
#include "common/system_tools.h"
#include "common/counting_env.h"
#include "markup/markup_block.h"
#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "changed_files.h"
#include "null_host.h"
#include "plugin/host_abi.h"
#include "plugin/host.h"
#include "plugin/module.h"
#include "plugin/text_place.h"
#include "store/position_file.h"
#include "store/position_file_state.h"
#include "store/replace_file.h"
#include "support/case_comparison.h"
#include "support/text.h"

namespace {

using benchfiles::ChangeFile;
using benchfiles::FileText;

using namespace tarnwick;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

std::string ItemPath(int n) {
    return "C:\\Users\\someone\\Documents\\Projects\\p" + std::to_string(n) + "\\notes.txt";
}

std::string ItemLine(int n, int line) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "\" line=\"%d\" column=\"%d\" top=\"%d\" left=\"0\" overtype=\"0\">\r\n",
                  line, n % 80, line > 10 ? line - 10 : 0);
    return "<item type=\"editor\" path=\"" + ItemPath(n) + numbers;
}

// The position file of `items` items, and the same file as another host
// leaves it: a tenth of the items with another line, a tenth removed, a
// tenth new ones added.
std::string BaseText(int items) {
    std::string text;
    for (int n = 0; n < items; ++n) text += ItemLine(n, n % 5000);
    return text;
}

std::string ChangedText(int items) {
    std::string text;
    for (int n = 0; n < items; ++n) {
        if (n % 10 == 3) continue;
        text += ItemLine(n, n % 10 == 5 ? n % 5000 + 1 : n % 5000);
    }
    for (int n = items; n < items + items / 10; ++n) text += ItemLine(n, 7);
    return text;
}

// The run's private folder below the system's temporary folder, with a
// folder for the registry substitute (POSIX) in it.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string path = ts::MakeTempFolder("tarnwick-bench");
        ts::MakeFolder(path + ts::PathSeparator() + "registry");
        return path;
    }();
    return folder;
}

std::string PathIn(const std::string& name) { return Folder() + ts::PathSeparator() + name; }

// Removes the folder at exit; made after the folder, so destroyed before it.
struct Cleanup {
    std::string Path;
    ~Cleanup() { ts::RemoveFolderTree(Path); }
};
Cleanup g_cleanup{Folder()};

// The texts of each size, made once.
struct Texts {
    std::string Base;
    std::string Changed;
};

const Texts& TextsOf(int items) {
    static std::map<int, Texts> texts;
    auto found = texts.find(items);
    if (found == texts.end()) found = texts.emplace(items, Texts{BaseText(items), ChangedText(items)}).first;
    return found->second;
}

void PutFile(const std::string& path, const std::string& text) {
    ReplaceFileContent(platform::Env::Default(), path.c_str(), text.data(), static_cast<std::uint32_t>(text.size()));
}

// A position file without a host (or with the files `open` has open).
PositionFile* OpenFile(platform::Env* env = platform::Env::Default(), const OpenFiles* open = nullptr) {
    return OpenPositionFile({env, &AsciiComparison(), open, 0});
}

// The plug-in, started once with the null host; each benchmark then points
// it at a fresh position file of `items` items and forgets every editor.
plugin::Module& FreshModule(int items) {
    static bool started = false;
    if (!started) {
        // The settings go to the run's own folder (POSIX) or to a key of
        // their own in the real registry (Windows).
        static ts::RegistryRootOverride registry(PathIn("registry"));
        benchhost::StartPlugin(PathIn("Tarnwick.dll"), "Software\\TarnwickBench");
        started = true;
    }
    plugin::Module& m = plugin::LoadedModule();
    plugin::ReleaseStores(m);
    const std::string file = PathIn("positions-" + std::to_string(items) + ".cfg");
    PutFile(file, TextsOf(items).Base);
    CopyBounded(m.CurrentSettings.CfgFile, file.c_str(), sizeof m.CurrentSettings.CfgFile);
    m.CurrentSettings.Automatic = 1;
    m.CurrentSettings.CheckMask = 0;
    return m;
}

void SetEditor(int id, const std::string& path, int line) {
    benchhost::CurrentEditor& editor = benchhost::Editor();
    editor.EditorID = id;
    editor.FileName = path;
    editor.CurLine = line;
    editor.CurPos = 3;
    editor.TopScreenLine = line > 10 ? line - 10 : 0;
    editor.LeftPos = 0;
    editor.Overtype = 0;
    editor.CurState = 0;
}

void Event(int event, void* param = nullptr) { ProcessEditorEvent(event, param); }

int Items(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// ---- The events -------------------------------------------------------

// The cursor on another line at every redraw of a clean editor, so that
// every redraw also takes the fingerprint of the lines around it.
void BM_Redraw(benchmark::State& state) {
    FreshModule(Items(state));
    std::string text;
    for (int line = 0; line < 2000; ++line) text += "    int value" + std::to_string(line) + " = compute(" + std::to_string(line) + ");\r\n";
    benchhost::SetEditorText(text);
    SetEditor(1, ItemPath(Items(state) / 2), 10);
    Event(EE_READ);
    int line = 0;
    for (auto _ : state) {
        benchhost::Editor().CurLine = ++line & 1023;
        Event(EE_REDRAW);
    }
}

void Read(benchmark::State& state, const std::string& path) {
    FreshModule(Items(state));
    SetEditor(1, path, 10);
    Event(EE_READ);
    for (auto _ : state) Event(EE_READ);
}
void BM_ReadWithItem(benchmark::State& state) { Read(state, ItemPath(Items(state) / 2)); }
void BM_ReadWithoutItem(benchmark::State& state) { Read(state, "C:\\elsewhere\\never-stored.txt"); }

// Each timed save follows one of this host's own saves, as every save but
// the first of a session does.
void BM_Save(benchmark::State& state) {
    FreshModule(Items(state));
    SetEditor(1, ItemPath(Items(state) / 2), 10);
    Event(EE_READ);
    Event(EE_SAVE);
    int line = 0;
    for (auto _ : state) {
        benchhost::Editor().CurLine = ++line & 1023;
        Event(EE_SAVE);
    }
}

// The editor is opened (and the file saved by this host) before each timed
// close, which then follows that save of this host.
void BM_Close(benchmark::State& state) {
    FreshModule(Items(state));
    int line = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SetEditor(1, ItemPath(Items(state) / 2), 10);
        Event(EE_READ);
        benchhost::Editor().CurLine = ++line & 1023;
        Event(EE_SAVE);
        int id = 1;
        state.ResumeTiming();
        Event(EE_CLOSE, &id);
    }
}

void BM_MenuStore(benchmark::State& state) {
    FreshModule(Items(state));
    SetEditor(1, ItemPath(Items(state) / 2), 10);
    Event(EE_READ);
    benchhost::SetMenuAnswer(0);
    OpenPlugin(OPEN_EDITOR, 0);  // as BM_Save: after a save of this host
    int line = 0;
    for (auto _ : state) {
        benchhost::Editor().CurLine = ++line & 1023;
        OpenPlugin(OPEN_EDITOR, 0);
    }
}

// ---- The viewer, and a restore with bookmarks and a table --------------

std::string ViewerLine(const std::string& path, long long offset) {
    return "<item type=\"viewer\" path=\"" + path + "\" offset=\"" + std::to_string(offset) +
           "\" left=\"0\" hex=\"0\" wrap=\"0\">\r\n";
}

// The module on the items of `items` with `first` in front of them.
plugin::Module& ModuleWith(int items, const std::string& first) {
    plugin::Module& m = FreshModule(items);
    PutFile(m.CurrentSettings.CfgFile, first + TextsOf(items).Base);
    return m;
}

// A viewer of a 64 KB file of 64-byte lines, at its start.
void SetViewer(int id, const std::string& path) {
    hostkit::OneViewer& viewer = benchhost::Viewer();
    viewer.ViewerID = id;
    viewer.FileName = path;
    if (viewer.Text.empty()) {
        for (int line = 0; line < 1024; ++line) viewer.Text += std::string(63, 'x') + "\n";
    }
    viewer.FilePos = 0;
    viewer.Hex = viewer.Wrap = viewer.WordWrap = 0;
}

void ViewerEvent(int event, int id) { ProcessViewerEvent(event, &id); }

// The viewer reads a file with an item (as Gray+ does: the same viewer,
// which was not moved on the file before).
void BM_ViewerRead(benchmark::State& state) {
    const std::string path = ItemPath(Items(state) / 2);
    ModuleWith(Items(state), ViewerLine(path, 6400));
    SetViewer(1, path);
    ProcessViewerEvent(VE_READ, nullptr);
    for (auto _ : state) ProcessViewerEvent(VE_READ, nullptr);
}

// The viewer was moved on its file: the close writes the file's item.
void BM_ViewerClose(benchmark::State& state) {
    const std::string path = ItemPath(Items(state) / 2);
    ModuleWith(Items(state), ViewerLine(path, 6400));
    int line = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SetViewer(1, path);
        ProcessViewerEvent(VE_READ, nullptr);
        benchhost::Viewer().FilePos = 64 * (++line & 1023);
        state.ResumeTiming();
        ViewerEvent(VE_CLOSE, 1);
    }
}

// EE_READ of a file whose item holds ten bookmarks and a code table the
// editor does not show: the table is switched and every bookmark set.
void BM_ReadRestoringMarks(benchmark::State& state) {
    const std::string path = ItemPath(Items(state) / 2);
    std::string marks;
    for (int slot = 0; slot < 10; ++slot) {
        marks += (slot > 0 ? " " : "") + std::to_string(slot) + ":" + std::to_string(100 * slot) + ",4,10,0";
    }
    std::string item = ItemLine(Items(state) / 2, 10);
    item = item.substr(0, item.size() - 3) + " bookmarks=\"" + marks + "\" table=\"1 KOI8-U\">\r\n";
    ModuleWith(Items(state), item);
    benchhost::Tables() = {"KOI8-R", "KOI8-U"};
    benchhost::CurrentEditor& editor = benchhost::Editor();
    for (auto _ : state) {
        state.PauseTiming();
        SetEditor(1, path, 0);
        editor.TotalLines = 5000;
        editor.TableNum = -1;
        for (auto& mark : editor.Marks) mark = {};
        state.ResumeTiming();
        Event(EE_READ);
    }
    if (editor.TableNum != 1 || editor.Marks[9].Line != 900) state.SkipWithError("the restore did not happen");
}

// ---- A file changed outside the editor ----------------------------------

constexpr int kTextLines = 100000;
constexpr int kStoredLine = 100;  // the place stored, near the file's start

// A source-like text of `lines` lines, every line different.
std::string TextOfLines(int lines) {
    std::string text;
    for (int k = 0; k < lines; ++k) {
        text += "    total_" + std::to_string(k) + " = compute(" + std::to_string(k * 7919 % 1000) +
                ", \"a few words of text\");\r\n";
    }
    return text;
}

// The same text with the stored line and its two neighbours on each side
// moved to the far end, as a merge or a reordering leaves it: the same
// size, another time.
std::string MovedFarText(int lines) {
    std::istringstream in(TextOfLines(lines));
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);) all.push_back(line + "\n");
    std::vector<std::string> block(all.begin() + kStoredLine - 2, all.begin() + kStoredLine + 3);
    all.erase(all.begin() + kStoredLine - 2, all.begin() + kStoredLine + 3);
    all.insert(all.end(), block.begin(), block.end());
    std::string text;
    for (const std::string& line : all) text += line;
    return text;
}

// The module with the place at kStoredLine of a file of kTextLines lines
// stored from the menu, the editor closed; the text the editor has next.
struct StoredText {
    std::string Path;
    std::string Cfg;  // the position file just after the store and close
    std::filesystem::file_time_type CfgTime;
};

// Whether the position file is still the one `stored` holds, from its time
// and size only: reading it would evict the caches the timed open uses.
bool CfgAsStored(const std::string& path, const StoredText& stored) {
    return std::filesystem::last_write_time(path) == stored.CfgTime &&
           std::filesystem::file_size(path) == stored.Cfg.size();
}

StoredText StoreInText(int items, const std::string& name) {
    plugin::Module& m = FreshModule(items);
    StoredText stored{PathIn(name), "", {}};
    ChangeFile(stored.Path, TextOfLines(kTextLines));
    SetEditor(1, stored.Path, 0);
    benchhost::SetEditorText(TextOfLines(kTextLines));
    Event(EE_READ);
    SetEditor(1, stored.Path, kStoredLine);
    Event(EE_REDRAW);
    benchhost::SetMenuAnswer(0);
    OpenPlugin(OPEN_EDITOR, 0);
    int id = 1;
    Event(EE_CLOSE, &id);
    stored.Cfg = FileText(m.CurrentSettings.CfgFile);
    stored.CfgTime = std::filesystem::last_write_time(m.CurrentSettings.CfgFile);
    return stored;
}

// Opens the file again from the first line; the lines read and the steps
// walked for it are the benchmark's counters. Should an open have changed
// the position file, it is put back and loaded (through an editor without
// an item) before the next timed open.
void Reopen(benchmark::State& state, StoredText stored, int expectedLine) {
    plugin::Module& m = plugin::LoadedModule();
    long long reads = 0;
    long long steps = 0;
    long long putBack = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!CfgAsStored(m.CurrentSettings.CfgFile, stored)) {
            ++putBack;
            ChangeFile(m.CurrentSettings.CfgFile, stored.Cfg);
            stored.CfgTime = std::filesystem::last_write_time(m.CurrentSettings.CfgFile);
            SetEditor(2, "C:\\elsewhere\\never-stored.txt", 0);
            Event(EE_READ);
        }
        SetEditor(1, stored.Path, 0);
        benchhost::ResetWalkCounters();
        state.ResumeTiming();
        Event(EE_READ);
        state.PauseTiming();
        reads += benchhost::LinesRead();
        steps += benchhost::Editor().WalkSteps;
        const int line = benchhost::Editor().CurLine;
        state.ResumeTiming();
        if (line != expectedLine) {
            state.SkipWithError(("the cursor came back on line " + std::to_string(line) + ", not " +
                                 std::to_string(expectedLine)).c_str());
            break;
        }
    }
    const double runs = static_cast<double>(state.iterations() > 0 ? state.iterations() : 1);
    state.counters["reads"] = static_cast<double>(reads) / runs;
    state.counters["steps"] = static_cast<double>(steps) / runs;
    state.counters["putback"] = static_cast<double>(putBack) / runs;
}

// The file changed outside: the stored line and its neighbours now stand
// at the far end of 100,000 lines.
void BM_ReadMovedFar(benchmark::State& state) {
    const StoredText stored = StoreInText(Items(state), "moved.txt");
    const std::string moved = MovedFarText(kTextLines);
    ChangeFile(stored.Path, moved);
    benchhost::SetEditorText(moved);
    Reopen(state, stored, kTextLines - 3);
}

// The file as it was stored: size and time say so, and no line is read.
void BM_ReadUnchangedText(benchmark::State& state) {
    const StoredText stored = StoreInText(Items(state), "unchanged.txt");
    Reopen(state, stored, kStoredLine);
}

// The least the search can cost: the lines read once in order through the
// host's list, each one hashed.
void BM_BaseReadLinesHashed(benchmark::State& state) {
    benchhost::SetEditorText(MovedFarText(kTextLines));
    for (auto _ : state) benchmark::DoNotOptimize(benchhost::HashLinesInOrder());
    state.counters["reads"] = kTextLines;
    state.counters["steps"] = kTextLines;
}

// What the plug-in must pay at least to look at every line: each line read
// once in order through the host's ECTL_GETSTRING, the cursor moved along
// as the search moves it, and hashed.
void BM_BaseReadLinesThroughHost(benchmark::State& state) {
    FreshModule(Items(state));
    benchhost::SetEditorText(MovedFarText(kTextLines));
    SetEditor(1, PathIn("moved.txt"), 0);
    std::uint32_t hash = 0;
    for (auto _ : state) {
        benchhost::Editor().CurLine = 0;
        plugin::EditorLines lines(plugin::LoadedModule(), 0, kTextLines);
        for (int line = 0; line < kTextLines; ++line) {
            plugin::LineText text;
            if (!lines.Read(line, &text)) {
                state.SkipWithError("a line could not be read");
                break;
            }
            hash ^= plugin::HashLine(text);
        }
    }
    benchmark::DoNotOptimize(hash);
    state.counters["reads"] = kTextLines;
}

// ---- Load and purge, on the store ----------------------------------------

// Twenty editors open in this host, as the merge meets them.
void OpenEditors(testing_support::OpenPaths& open, int items) {
    for (int id = 0; id < 20; ++id) open.Open(ItemPath(id * 997 % (items > 0 ? items : 1)));
}

void BM_LoadChanged(benchmark::State& state) {
    const Texts& texts = TextsOf(Items(state));
    const std::string path = PathIn("changed.cfg");
    testing_support::OpenPaths open;
    OpenEditors(open, Items(state));
    PositionFile* file = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        ClosePositionFile(file);
        file = OpenFile(platform::Env::Default(), open.Files());
        PutFile(path, texts.Base);
        Load(file, path.c_str());
        PutFile(path, texts.Changed);  // another host's save
        state.ResumeTiming();
        benchmark::DoNotOptimize(Load(file, path.c_str()));
    }
    ClosePositionFile(file);
}

void BM_LoadFresh(benchmark::State& state) {
    const std::string path = PathIn("fresh.cfg");
    PutFile(path, TextsOf(Items(state)).Changed);
    PositionFile* file = OpenFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Load(file, path.c_str()));
        state.PauseTiming();
        ClosePositionFile(file);
        file = OpenFile();
        state.ResumeTiming();
    }
    ClosePositionFile(file);
}

// Every item names a file that does not exist: each one is probed,
// removed, and the emptied file saved.
void BM_PurgeMissing(benchmark::State& state) {
    const std::string path = PathIn("purge.cfg");
    PositionFile* file = nullptr;
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClosePositionFile(file);
        file = OpenFile();
        PutFile(path, TextsOf(Items(state)).Base);
        Load(file, path.c_str());
        state.ResumeTiming();
        removed = PurgeMissing(file, path.c_str());
    }
    if (removed != Items(state)) state.SkipWithError("not every item was purged");
    ClosePositionFile(file);
}

// ---- The baselines ------------------------------------------------------

void BM_BaseOpenTimeSize(benchmark::State& state) {
    const std::string path = PathIn("base.cfg");
    PutFile(path, TextsOf(Items(state)).Base);
    platform::Env* env = platform::Env::Default();
    for (auto _ : state) {
        platform::File* handle = nullptr;
        env->OpenForRead(path.c_str(), &handle);
        platform::FileTime time;
        std::uint64_t size = 0;
        env->GetFileTime(handle, &time);
        env->GetFileSize(handle, &size);
        env->CloseFile(handle);
        benchmark::DoNotOptimize(size);
    }
}

void BM_BaseReadBytes(benchmark::State& state) {
    const std::string path = PathIn("base.cfg");
    PutFile(path, TextsOf(Items(state)).Base);
    platform::Env* env = platform::Env::Default();
    for (auto _ : state) {
        platform::File* handle = nullptr;
        env->OpenForRead(path.c_str(), &handle);
        std::uint64_t size = 0;
        env->GetFileSize(handle, &size);
        char* text = static_cast<char*>(env->Alloc(size + 1));
        std::uint32_t total = 0;
        std::uint32_t got = 0;
        while (total < size && env->ReadFile(handle, text + total, static_cast<std::uint32_t>(size) - total, &got) &&
               got > 0) {
            total += got;
        }
        env->CloseFile(handle);
        benchmark::DoNotOptimize(text[0]);
        env->Release(text);
    }
}

void BM_BaseWriteBytes(benchmark::State& state) {
    const std::string path = PathIn("written.cfg");
    const std::string& text = TextsOf(Items(state)).Base;
    for (auto _ : state) PutFile(path, text);
}

// What every save does before it writes: the document's text, written in
// one pass into a block a little larger than the file, as Save does (the
// part of EE_SAVE that is not disk work).
void BM_WriteDocumentText(benchmark::State& state) {
    const std::string path = PathIn("text.cfg");
    PutFile(path, TextsOf(Items(state)).Base);
    PositionFile* file = OpenFile();
    Load(file, path.c_str());
    platform::Env* env = platform::Env::Default();
    for (auto _ : state) {
        std::int64_t capacity = static_cast<std::int64_t>(file->LoadedSize + file->LoadedSize / 8 + 4096);
        char* text = static_cast<char*>(env->Alloc(static_cast<std::size_t>(capacity)));
        benchmark::DoNotOptimize(markup::WriteText(file->Document, text, capacity, 0, *file->Comparison));
        env->Release(text);
    }
    ClosePositionFile(file);
}

// ---- Memory and the parser ------------------------------------------------

// The 32-bit build's sizes of what a loaded document holds, from the
// layouts in markup_node.h, markup_block.h and document_index.h with
// 4-byte pointers: the node is a vtable pointer, a 16-byte name, four
// links, the attribute pointer, the heap and block pointers (8 pointers)
// and four 32-bit numbers; an attribute is two pointers; a block's header
// is two pointers, a size and four more pointers; an index entry is a
// pointer and three 32-bit numbers.
constexpr std::size_t kNode32 = 8 * 4 + 16 + 4 * 4;  // 64
constexpr std::size_t kAttribute32 = 2 * 4;
constexpr std::size_t kBlockHeader32 = 7 * 4;
constexpr std::size_t kIndexEntry32 = 4 + 3 * 4;

// What the live heap blocks of a loaded document would take in the 32-bit
// build: the parse's block is made of the same nodes, attribute entries
// and strings at their 32-bit sizes (the strings, and whatever the block
// holds beyond its nodes and entries, at their own size); the document
// node, a heap node with room for all its attributes, and the index's
// entries at theirs; every other block (the index's buckets, strings set
// later) at its own size. Each block counts as on the Windows heap.
std::int64_t Bytes32(std::int64_t liveBytes32, const PositionFile& file) {
    std::int64_t bytes = liveBytes32;
    const markup::MarkupNode* document = file.Document;
    if (document == nullptr) return bytes;
    // The document node.
    const std::size_t documentNode = sizeof(markup::MarkupNode) + sizeof(markup::MarkupAttribute) * markup::kMaxAttributes;
    bytes += ts::CountingEnv::Heap32(kNode32 + kAttribute32 * markup::kMaxAttributes) -
             ts::CountingEnv::Heap32(documentNode);
    // The parse's block, found through any node made in it.
    const markup::MarkupBlock* block = nullptr;
    std::uint64_t nodes = 0;
    std::uint64_t attributes = 0;
    for (const markup::MarkupNode* node = document->Next; node != nullptr;
         node = const_cast<markup::MarkupNode*>(node)->GetNextInOrder()) {
        if (node->Block == nullptr) continue;
        if (block == nullptr) block = node->Block;
        if (node->Block != block) continue;
        ++nodes;
        if (node->Attributes != nullptr && markup::BlockHolds(block, node->Attributes)) {
            attributes += static_cast<std::uint64_t>(node->AttributeCapacity);
        }
    }
    if (block != nullptr) {
        const std::size_t native = static_cast<std::size_t>(block->End - block->Begin);
        const std::size_t header = (sizeof(markup::MarkupBlock) + alignof(markup::MarkupNode) - 1) /
                                   alignof(markup::MarkupNode) * alignof(markup::MarkupNode);
        const std::size_t rest = native - header - nodes * sizeof(markup::MarkupNode) -
                                 attributes * sizeof(markup::MarkupAttribute);
        const std::size_t size32 = kBlockHeader32 + nodes * kNode32 + attributes * kAttribute32 + rest;
        bytes += ts::CountingEnv::Heap32(size32) - ts::CountingEnv::Heap32(native);
    }
    // The index's entries.
    if (file.Index.Entries != nullptr && file.Index.Capacity > 0) {
        const std::size_t capacity = static_cast<std::size_t>(file.Index.Capacity);
        bytes += ts::CountingEnv::Heap32(capacity * kIndexEntry32) -
                 ts::CountingEnv::Heap32(capacity * sizeof(DocumentIndexEntry));
    }
    return bytes;
}

// The live heap bytes of a loaded document, natively and as the 32-bit
// build holds them, beside the file's size: in a 32-bit program each of
// its blocks on the Windows heap (CountingEnv::LiveHeap32), elsewhere as
// Bytes32 computes them.
void BM_DocumentMemory(benchmark::State& state) {
    const std::string path = PathIn("memory.cfg");
    const std::string& text = TextsOf(Items(state)).Base;
    PutFile(path, text);
    ts::CountingEnv env(platform::Env::Default());
    for (auto _ : state) {
        // The handle's own record is not the document's: counted from after it.
        PositionFile* file = OpenFile(&env);
        const std::int64_t handleBytes = env.Live();
        const std::int64_t handleBytes32 = env.LiveHeap32();
        const std::int64_t handleBlocks = env.LiveBlocks();
        Load(file, path.c_str());
        const std::int64_t live32 = env.LiveHeap32() - handleBytes32;
        state.counters["bytes"] = static_cast<double>(env.Live() - handleBytes);
        // A 32-bit program measures its own blocks; elsewhere their 32-bit
        // sizes are computed from the layouts.
        const bool measured = sizeof(void*) == 4;
        state.counters["bytes32"] = static_cast<double>(measured ? live32 : Bytes32(live32, *file));
        state.counters["measured32"] = measured ? 1 : 0;
        state.counters["blocks"] = static_cast<double>(env.LiveBlocks() - handleBlocks);
        state.counters["file"] = static_cast<double>(text.size());
        ClosePositionFile(file);
    }
}

// The same number of bytes as the normal file: items whose attribute
// names differ in case only (so that they collide under any folded
// hash), then as many closing tags as items, each of which matches and
// nests everything after the item it closes.
std::string CraftedText(std::size_t size) {
    std::string item;
    for (const char* name : {"LINE", "Line", "lIne", "liNe", "linE", "line", "LiNe", "lInE"}) {
        item += std::string(" ") + name + "=\"1\"";
    }
    const std::string closing = "</item>\r\n";
    std::string items;
    std::string closings;
    for (int n = 0; items.size() + closings.size() < size; ++n) {
        items += "<item type=\"editor\" path=\"" + ItemPath(n) + "\"" + item + ">\r\n";
        closings += closing;
    }
    std::string text = items + closings;
    text.resize(size);
    return text;
}

void Parse(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        markup::MarkupNode* document = markup::NewMarkupNode(platform::Env::Default());
        markup::Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison());
        benchmark::DoNotOptimize(document->Next);
        state.PauseTiming();
        markup::Destroy(document);
        state.ResumeTiming();
    }
}
void BM_ParseNormal(benchmark::State& state) { Parse(state, TextsOf(Items(state)).Base); }
void BM_ParseCrafted(benchmark::State& state) {
    static std::map<int, std::string> crafted;
    auto found = crafted.find(Items(state));
    if (found == crafted.end()) {
        found = crafted.emplace(Items(state), CraftedText(TextsOf(Items(state)).Base.size())).first;
    }
    Parse(state, found->second);
}

#define SIZES Arg(100)->Arg(10000)->Arg(100000)
BENCHMARK(BM_BaseOpenTimeSize)->SIZES->UseRealTime();
BENCHMARK(BM_BaseReadBytes)->SIZES->UseRealTime();
BENCHMARK(BM_BaseWriteBytes)->SIZES->UseRealTime();
BENCHMARK(BM_Redraw)->SIZES->UseRealTime();
BENCHMARK(BM_ReadWithItem)->SIZES->UseRealTime();
BENCHMARK(BM_ReadWithoutItem)->SIZES->UseRealTime();
BENCHMARK(BM_Save)->SIZES->UseRealTime();
BENCHMARK(BM_Close)->SIZES->UseRealTime();
BENCHMARK(BM_MenuStore)->SIZES->UseRealTime();
BENCHMARK(BM_ViewerRead)->SIZES->UseRealTime();
BENCHMARK(BM_ViewerClose)->SIZES->UseRealTime();
BENCHMARK(BM_ReadRestoringMarks)->SIZES->UseRealTime();
BENCHMARK(BM_ReadMovedFar)->SIZES->UseRealTime();
BENCHMARK(BM_ReadUnchangedText)->SIZES->UseRealTime();
BENCHMARK(BM_BaseReadLinesHashed)->SIZES->UseRealTime();
BENCHMARK(BM_BaseReadLinesThroughHost)->SIZES->UseRealTime();
BENCHMARK(BM_LoadChanged)->SIZES->UseRealTime();
BENCHMARK(BM_LoadFresh)->SIZES->UseRealTime();
BENCHMARK(BM_PurgeMissing)->SIZES->UseRealTime();
BENCHMARK(BM_WriteDocumentText)->SIZES->UseRealTime();
BENCHMARK(BM_DocumentMemory)->Arg(100000)->Iterations(1);
BENCHMARK(BM_ParseNormal)->Arg(100000)->UseRealTime();
BENCHMARK(BM_ParseCrafted)->Arg(100000)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
