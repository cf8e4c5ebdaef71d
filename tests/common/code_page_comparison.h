// A code page's comparison for tests: ASCII letters, and 0xC0-0xDF as the
// capitals of 0xE0-0xFF (as in Windows-1251), byte by byte. Counts the
// calls of Compare, so that a test can tell when the comparison was asked.
#pragma once

#include "support/case_comparison.h"

namespace tarnwick {
namespace testing_support {

class CodePageComparison final : public CaseComparison {
public:
    int Compare(const char* a, const char* b) const override;
    int CompareN(const char* a, const char* b, int count) const override;

    mutable int CompareCalls = 0;

protected:
    const unsigned char* FoldMap() const override;

private:
    LazyFoldMap fold_;
};

}  // namespace testing_support
}  // namespace tarnwick
