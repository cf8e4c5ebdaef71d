// Parsing, writing and destroying a position-file document of 100,000 items;
// the heap a parsed document takes; the parser's crafted worst case beside a
// normal file of the same size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/counting_env.h"

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::markup;

constexpr int kItems = 100000;

std::string ItemsText(int items) {
    std::string text;
    text.reserve(static_cast<std::size_t>(items) * 110);
    for (int i = 0; i < items; ++i) {
        text += "<item type=\"editor\" path=\"C:\\Data\\dir\\file" + std::to_string(10000 + i) +
                ".txt\" line=\"12\" column=\"4\" top=\"3\" left=\"0\" overtype=\"0\">\r\n";
    }
    return text;
}

MarkupNode* ParseString(const std::string& text, platform::Env* env = platform::Env::Default()) {
    MarkupNode* document = NewMarkupNode(env);
    Parse(document, text.c_str(), static_cast<int>(text.size()), AsciiComparison());
    return document;
}

// The node's size in a 32-bit build. A node holds eight pointers (the table
// of virtual operations, four links, its attribute array, its environment
// and its block), four 32-bit numbers and a 16-byte name; natively each
// pointer takes 8 bytes. An attribute entry is two pointers.
constexpr std::size_t kNumbersAndName = 4 * 4 + kNameSize;
constexpr std::size_t kNodePointers = (sizeof(MarkupNode) - kNumbersAndName) / sizeof(void*);
constexpr std::size_t kNodeSize32 = kNodePointers * 4 + kNumbersAndName;
static_assert(kNodePointers == 8, "the 32-bit estimate counts the node's pointers");

struct Shape {
    std::int64_t Nodes = 0;
    std::int64_t Attributes = 0;
};

Shape CountShape(MarkupNode* document) {
    Shape shape;
    for (MarkupNode* node = document->GetNextInOrder(); node != nullptr; node = node->GetNextInOrder()) {
        shape.Nodes += 1;
        shape.Attributes += node->AttributeCount;
    }
    return shape;
}

// The heap of one parse of the 100,000 items, counted: allocations, bytes
// natively, and the bytes of a 32-bit build: the same blocks with 4-byte
// pointers in every node and attribute entry (a parsed node's entries are
// in its block), each block with the 8-byte header of the Windows heap and
// rounded up to 8 bytes (counted as 4 on average).
void BM_ParseMemory(benchmark::State& state) {
    const std::string text = ItemsText(kItems);
    testing_support::CountingEnv env(platform::Env::Default());
    for (auto _ : state) {
        env.ResetCounts();
        std::uint64_t before = env.Live();
        MarkupNode* document = ParseString(text, &env);
        std::uint64_t live = env.Live() - before;
        std::uint64_t allocations = env.Allocations();
        Shape shape = CountShape(document);
        double native = static_cast<double>(live);
        double bits32 = native -
                        static_cast<double>(shape.Nodes) * static_cast<double>(sizeof(MarkupNode) - kNodeSize32) -
                        static_cast<double>(shape.Attributes) * static_cast<double>(sizeof(MarkupAttribute) / 2) +
                        12.0 * static_cast<double>(allocations);
        state.counters["allocations"] = static_cast<double>(allocations);
        state.counters["peak_bytes"] = static_cast<double>(env.Peak() - before);
        state.counters["doc_bytes"] = native;
        state.counters["doc_bytes_32bit"] = bits32;
        state.counters["x_file_native"] = native / static_cast<double>(text.size());
        state.counters["x_file_32bit"] = bits32 / static_cast<double>(text.size());
        Destroy(document);
    }
}
BENCHMARK(BM_ParseMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// A crafted file of about `bytes` bytes against the parser's index of open
// elements: elements whose names differ only in bytes above 0x7F, all open,
// then as many closing tags of other such names, none of which matches.
std::string CraftedText(std::size_t bytes) {
    std::string text;
    std::string closing;
    const std::size_t pairs = bytes / 34;  // "<" + 15 + ">\r\n" and "</" + 15 + ">\r\n"
    for (std::size_t i = 0; i < pairs; ++i) {
        std::string name = "n";
        for (std::size_t k = i, d = 0; d < 14; ++d, k /= 64) name += static_cast<char>(0x80 + k % 64);
        text += "<" + name + ">\r\n";
        name[14] = static_cast<char>(0xFF);  // never an opening name's last byte
        closing += "</" + name + ">\r\n";
    }
    return text + closing;
}

// Items of about `bytes` bytes, for the same size as a crafted file.
std::string NormalText(std::size_t bytes) {
    std::string text = ItemsText(static_cast<int>(bytes / 110 + 1));
    text.resize(bytes);
    return text;
}

void ParseBench(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        MarkupNode* document = ParseString(text);
        benchmark::DoNotOptimize(document->Next);
        state.PauseTiming();
        Destroy(document);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_ParseCrafted(benchmark::State& state) { ParseBench(state, CraftedText(static_cast<std::size_t>(state.range(0)))); }
BENCHMARK(BM_ParseCrafted)->Arg(280000)->Arg(11800000)->Unit(benchmark::kMillisecond);

void BM_ParseNormal(benchmark::State& state) { ParseBench(state, NormalText(static_cast<std::size_t>(state.range(0)))); }
BENCHMARK(BM_ParseNormal)->Arg(280000)->Arg(11800000)->Unit(benchmark::kMillisecond);

void BM_Parse(benchmark::State& state) {
    const std::string text = ItemsText(kItems);
    for (auto _ : state) {
        MarkupNode* document = ParseString(text);
        benchmark::DoNotOptimize(document->Next);
        state.PauseTiming();
        Destroy(document);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);

// The items followed by closing tags: unmatched ones, which must cost next to
// nothing each, or matching ones, each of which nests everything after the
// item it closes.
void BM_ParseWithClosingTags(benchmark::State& state) {
    const bool matching = state.range(0) != 0;
    std::string text = ItemsText(kItems);
    for (int i = 0; i < kItems; ++i) text += matching ? "</item>\r\n" : "</other>\r\n";
    for (auto _ : state) {
        MarkupNode* document = ParseString(text);
        benchmark::DoNotOptimize(document->Next);
        state.PauseTiming();
        Destroy(document);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ParseWithClosingTags)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MeasureAndWrite(benchmark::State& state) {
    MarkupNode* document = ParseString(ItemsText(kItems));
    std::vector<char> buffer;
    for (auto _ : state) {
        std::int64_t size = MeasureText(document, 0, AsciiComparison());
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        std::int64_t written = WriteText(document, buffer.data(), size + 1, 0, AsciiComparison());
        benchmark::DoNotOptimize(written);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    Destroy(document);
}
BENCHMARK(BM_MeasureAndWrite)->Unit(benchmark::kMillisecond);

void BM_Destroy(benchmark::State& state) {
    const std::string text = ItemsText(kItems);
    for (auto _ : state) {
        state.PauseTiming();
        MarkupNode* document = ParseString(text);
        state.ResumeTiming();
        Destroy(document);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Destroy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
