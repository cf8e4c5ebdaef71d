// Fuzz target: any text parses; what the writer makes of the tree reads back
// into a tree that the writer writes identically, with nothing passed over,
// and the measured size is the written size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "markup/markup_node.h"
#include "markup/markup_parser.h"
#include "markup/markup_writer.h"
#include "platform/env.h"

namespace {

using namespace tarnwick::markup;
using tarnwick::AsciiComparison;

// Writes the document's text; aborts when measuring and writing disagree.
std::string WriteAll(const MarkupNode* document) {
    std::int64_t measured = MeasureText(document, 0, AsciiComparison());
    if (measured < 0) return std::string();
    std::string text(static_cast<std::size_t>(measured) + 1, '\0');
    std::int64_t written = WriteText(document, &text[0], measured + 1, 0, AsciiComparison());
    if (written != measured) std::abort();
    if (std::strlen(text.c_str()) != static_cast<std::size_t>(measured)) std::abort();
    text.resize(static_cast<std::size_t>(measured));
    return text;
}

std::string ParseAndWrite(const char* text, std::size_t size, bool* passedOver) {
    MarkupNode* document = NewMarkupNode(tarnwick::platform::Env::Default());
    if (document == nullptr) std::abort();
    if (!Parse(document, text, static_cast<int>(size), AsciiComparison(), kDocumentMemoryLimit, passedOver)) std::abort();
    std::string written = WriteAll(document);
    Destroy(document);
    return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    // The parser reads a zero-terminated text of the given length.
    std::string input(reinterpret_cast<const char*>(data), size);
    bool passedOver = false;
    std::string first = ParseAndWrite(input.c_str(), input.size(), &passedOver);
    std::string second = ParseAndWrite(first.c_str(), first.size(), &passedOver);
    if (first != second) std::abort();
    // The writer's own text is never taken for a foreign one.
    if (passedOver) std::abort();
    return 0;
}
