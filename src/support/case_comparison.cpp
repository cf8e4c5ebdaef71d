#include "support/case_comparison.h"

#include <cstring>

#include "support/text.h"

namespace tarnwick {

namespace {

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

// The base class's folding: ASCII letters to lower case, every other byte
// to itself.
struct AsciiFoldMap {
    unsigned char Map[256];

    constexpr AsciiFoldMap() : Map() {
        for (int c = 0; c < 256; ++c) Map[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
};

constexpr AsciiFoldMap kAsciiFoldMap;

class AsciiCaseComparison final : public CaseComparison {
public:
    constexpr AsciiCaseComparison() = default;
};

constexpr AsciiCaseComparison kAsciiComparison;

int CompareBytes(const CaseComparison& comparison, unsigned char a, unsigned char b) {
    char x[2] = {static_cast<char>(a), '\0'};
    char y[2] = {static_cast<char>(b), '\0'};
    return a == b ? 0 : comparison.Compare(x, y);
}

}  // namespace

int CaseComparison::Compare(const char* a, const char* b) const { return AsciiCompareNoCase(a, b); }

int CaseComparison::CompareN(const char* a, const char* b, int count) const {
    return AsciiCompareNoCaseN(a, b, count);
}

bool CaseComparison::Equal(const char* a, const char* b) const {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    if (x == y || std::strcmp(reinterpret_cast<const char*>(x), reinterpret_cast<const char*>(y)) == 0) return true;
    for (;; ++x, ++y) {
        unsigned char cx = *x, cy = *y;
        if (cx == cy) {
            if (cx == 0) break;
            continue;
        }
        if (cx == 0 || cy == 0) return false;            // lengths differ
        if ((cx >= 0x80) != (cy >= 0x80)) return false;  // ASCII against a byte above it
        if (cx < 0x80 && FoldAscii(cx) != FoldAscii(cy)) return false;
    }
    return Compare(a ? a : "", b ? b : "") == 0;
}

std::uint32_t CaseComparison::Hash(const char* text) const {
    // FNV-1a over the folded bytes.
    const unsigned char* fold = FoldMap();
    std::uint32_t hash = 2166136261u;
    if (text == nullptr) return hash;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        hash = (hash ^ fold[*p]) * 16777619u;
    }
    return hash;
}

const unsigned char* CaseComparison::FoldMap() const { return kAsciiFoldMap.Map; }

const CaseComparison& AsciiComparison() { return kAsciiComparison; }

// The 255 non-zero bytes are sorted with the comparison (a merge sort:
// about 2,000 calls, not the 32,000 of comparing every pair), so that bytes
// comparing equal stand side by side; each run of neighbours that compare
// equal is one class.
void BuildFoldMap(const CaseComparison& comparison, unsigned char map[256]) {
    unsigned char order[255];
    unsigned char spare[255];
    for (int i = 0; i < 255; ++i) order[i] = static_cast<unsigned char>(i + 1);
    for (int width = 1; width < 255; width *= 2) {
        for (int low = 0; low < 255; low += 2 * width) {
            int middle = low + width < 255 ? low + width : 255;
            int high = low + 2 * width < 255 ? low + 2 * width : 255;
            int i = low, j = middle, k = low;
            while (i < middle && j < high) {
                spare[k++] = CompareBytes(comparison, order[j], order[i]) < 0 ? order[j++] : order[i++];
            }
            while (i < middle) spare[k++] = order[i++];
            while (j < high) spare[k++] = order[j++];
        }
        for (int i = 0; i < 255; ++i) order[i] = spare[i];
    }
    map[0] = 0;
    int start = 0;
    while (start < 255) {
        int end = start + 1;
        unsigned char smallest = order[start];
        while (end < 255 && CompareBytes(comparison, order[end - 1], order[end]) == 0) {
            if (order[end] < smallest) smallest = order[end];
            ++end;
        }
        for (int i = start; i < end; ++i) map[order[i]] = smallest;
        start = end;
    }
}

const unsigned char* LazyFoldMap::Of(const CaseComparison& comparison) const {
    if (!built_) {
        BuildFoldMap(comparison, map_);
        built_ = true;
    }
    return map_;
}

}  // namespace tarnwick
