#include "common/code_page_comparison.h"

namespace tarnwick {
namespace testing_support {

namespace {

int Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    if (c >= 0xC0 && c <= 0xDF) return c + 0x20;
    return c;
}

int CompareFolded(const char* a, const char* b, int count) {
    for (int i = 0; i < count; ++i) {
        int x = Fold(static_cast<unsigned char>(a[i])), y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

}  // namespace

int CodePageComparison::Compare(const char* a, const char* b) const {
    ++CompareCalls;
    return CompareFolded(a != nullptr ? a : "", b != nullptr ? b : "", 0x7FFFFFFF);
}

int CodePageComparison::CompareN(const char* a, const char* b, int count) const {
    return CompareFolded(a != nullptr ? a : "", b != nullptr ? b : "", count);
}

const unsigned char* CodePageComparison::FoldMap() const { return fold_.Of(*this); }

}  // namespace testing_support
}  // namespace tarnwick
