// Parsing, writing and destroying a position-file document of 100,000 items.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

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

MarkupNode* ParseString(const std::string& text) {
    MarkupNode* document = NewMarkupNode(platform::Env::Default());
    Parse(document, text.c_str(), static_cast<int>(text.size()));
    return document;
}

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
        std::int64_t size = MeasureText(document, 0);
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        std::int64_t written = WriteText(document, buffer.data(), size + 1, 0);
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
