// The position file at 100,000 items: a fresh load, a merge of a changed
// file into a loaded document, a save, and the slowest single lookup.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/counting_env.h"
#include "common/open_paths.h"
#include "platform/env.h"
#include "store/position_file.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::store;

constexpr int kItems = 100000;

// A handle without a host on `env`.
PositionFile* OpenFile(platform::Env* env = platform::Env::Default(), const OpenFiles* open = nullptr) {
    return OpenPositionFile({env, &AsciiComparison(), open, 0});
}

std::string ItemPath(int n) { return "C:\\Users\\someone\\Documents\\Projects\\p" + std::to_string(n) + "\\notes.txt"; }

std::string ItemLine(int n, int line) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "\" line=\"%d\" column=\"%d\" top=\"%d\" left=\"0\" overtype=\"0\">\r\n", line,
                  n % 80, line > 10 ? line - 10 : 0);
    return "<item type=\"editor\" path=\"" + ItemPath(n) + numbers;
}

// A temporary folder with the files the benchmarks read:
// base.cfg: items 0 .. kItems-1;
// copy.cfg: the same content under another name (as after this host's
// own save, which the next Load merges);
// changed.cfg: the same minus every tenth item, every fifth with another
// line, and kItems/10 new items at the end (as another host leaves it).
class Files {
public:
    Files() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarnwick-bench-" + std::to_string(std::filesystem::file_time_type::clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(folder_);
        std::ofstream base(Base(), std::ios::binary);
        std::ofstream changed(Changed(), std::ios::binary);
        for (int n = 0; n < kItems; ++n) {
            base << ItemLine(n, n % 5000);
            if (n % 10 == 3) continue;
            changed << ItemLine(n, n % 5 == 0 ? n % 5000 + 1 : n % 5000);
        }
        for (int n = kItems; n < kItems + kItems / 10; ++n) changed << ItemLine(n, 7);
        base.close();
        std::filesystem::copy_file(Base(), Copy());
    }
    ~Files() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string Base() const { return (folder_ / "base.cfg").string(); }
    std::string Copy() const { return (folder_ / "copy.cfg").string(); }
    std::string Changed() const { return (folder_ / "changed.cfg").string(); }
    std::string Output() const { return (folder_ / "out.cfg").string(); }

private:
    std::filesystem::path folder_;
};

const Files& BenchFiles() {
    static Files files;
    return files;
}

void BM_LoadFresh(benchmark::State& state) {
    const std::string base = BenchFiles().Base();
    for (auto _ : state) {
        PositionFile* file = OpenFile();
        bool loaded = Load(file, base.c_str());
        benchmark::DoNotOptimize(loaded);
        ClosePositionFile(file);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_LoadFresh)->Unit(benchmark::kMillisecond);

// The baseline of a fresh Load: open the file, take its time and size,
// read its bytes into one buffer, close it.
void BM_ReadFileBytes(benchmark::State& state) {
    const std::string base = BenchFiles().Base();
    platform::Env* env = platform::Env::Default();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        platform::File* handle = nullptr;
        if (env->OpenForRead(base.c_str(), &handle) != platform::Status::Ok) break;
        platform::FileTime time;
        std::uint64_t size = 0;
        env->GetFileTime(handle, &time);
        env->GetFileSize(handle, &size);
        char* text = static_cast<char*>(env->AllocZeroed(static_cast<std::size_t>(size) + 1));
        std::uint32_t total = 0;
        std::uint32_t got = 0;
        while (total < size && env->ReadFile(handle, text + total, static_cast<std::uint32_t>(size) - total, &got) &&
               got > 0) {
            total += got;
        }
        benchmark::DoNotOptimize(text[total / 2]);
        env->Release(text);
        env->CloseFile(handle);
        bytes = static_cast<std::int64_t>(size);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

// One fresh Load through a counting environment: its heap allocations, the
// most bytes live during it and the bytes the loaded document keeps (the
// handle's own record, made before the load, not counted).
void BM_LoadFreshMemory(benchmark::State& state) {
    const std::string base = BenchFiles().Base();
    testing_support::CountingEnv env(platform::Env::Default());
    for (auto _ : state) {
        PositionFile* file = OpenFile(&env);
        const std::uint64_t handle = env.Live();
        env.ResetCounts();
        bool loaded = Load(file, base.c_str());
        benchmark::DoNotOptimize(loaded);
        state.counters["allocations"] = static_cast<double>(env.Allocations());
        state.counters["peak_bytes"] = static_cast<double>(env.Peak() - handle);
        state.counters["doc_bytes"] = static_cast<double>(env.Live() - handle);
        ClosePositionFile(file);
    }
}
BENCHMARK(BM_LoadFreshMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void Merge(benchmark::State& state, const std::string& second) {
    const std::string base = BenchFiles().Base();
    // Twenty files open here, as the merge meets them.
    testing_support::OpenPaths open;
    for (int id = 0; id < 20; ++id) open.Open(ItemPath(id * 997));
    for (auto _ : state) {
        state.PauseTiming();
        PositionFile* file = OpenFile(platform::Env::Default(), open.Files());
        Load(file, base.c_str());
        state.ResumeTiming();
        bool merged = Load(file, second.c_str());  // another path: read and merged
        benchmark::DoNotOptimize(merged);
        state.PauseTiming();
        ClosePositionFile(file);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_MergeChangedFile(benchmark::State& state) { Merge(state, BenchFiles().Changed()); }
BENCHMARK(BM_MergeChangedFile)->Unit(benchmark::kMillisecond);

void BM_MergeSameContent(benchmark::State& state) { Merge(state, BenchFiles().Copy()); }
BENCHMARK(BM_MergeSameContent)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    PositionFile* file = OpenFile();
    Load(file, BenchFiles().Base().c_str());
    const std::string output = BenchFiles().Output();
    for (auto _ : state) {
        bool saved = Save(file, output.c_str(), false);
        benchmark::DoNotOptimize(saved);
    }
    ClosePositionFile(file);
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_FindItemWorstCase(benchmark::State& state) {
    PositionFile* file = OpenFile();
    Load(file, BenchFiles().Base().c_str());
    const std::string absent = ItemPath(kItems + 1);  // walks every item when the index is missing
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadItem(file, ItemKind::Editor, absent.c_str(), nullptr));
    }
    ClosePositionFile(file);
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_FindItemWorstCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
