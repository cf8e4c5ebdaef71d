// The case comparison object: the ASCII base, a derived code page's
// comparison, Equal's shortcuts and the hash that follows the comparison.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/code_page_comparison.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace {

using testing_support::CodePageComparison;

TEST(CaseComparisonTest, TheAsciiComparisonFoldsLettersOnly) {
    const CaseComparison& ascii = AsciiComparison();
    EXPECT_EQ(ascii.Compare("C:\\Data\\Plan.TXT", "c:\\data\\plan.txt"), 0);
    EXPECT_LT(ascii.Compare("abc", "ABD"), 0);
    EXPECT_EQ(ascii.Compare(nullptr, ""), 0);
    EXPECT_EQ(ascii.CompareN("ITEM type", "item", 4), 0);
    EXPECT_TRUE(ascii.Equal("ITEM", "item"));
    EXPECT_FALSE(ascii.Equal("\xC0", "\xE0"));
}

TEST(CaseComparisonTest, ADerivedComparisonDecidesWhatIsEqual) {
    CodePageComparison codePage;
    EXPECT_EQ(codePage.Compare("\xC0q", "\xE0Q"), 0);
    EXPECT_TRUE(codePage.Equal("\xC0q", "\xE0Q"));
    EXPECT_FALSE(AsciiComparison().Equal("\xC0q", "\xE0Q"));
}

TEST(CaseComparisonTest, EqualAsksTheComparisonOnlyWhenTextsMayBeEqual) {
    CodePageComparison codePage;
    struct Case {
        const char* A;
        const char* B;
        bool Asks;  // whether the answer needs the comparison
    };
    const Case cases[] = {
        {"path", "path", false},  {"Path", "pATH", true},  {"path", "type", false},
        {"line", "lines", false}, {"", "a", false},        {"\xC0q", "\xE0Q", true},
        {"\xC0", "\xC1", true},   {"\xC0", "a", false},    {"a\xC0", "A\xE0", true},
        {nullptr, "", false},     {nullptr, "x", false},   {"C:\\Dir\\A.txt", "c:\\dir\\b.txt", false},
    };
    for (const Case& c : cases) {
        bool expected = codePage.Compare(c.A, c.B) == 0;
        codePage.CompareCalls = 0;
        EXPECT_EQ(codePage.Equal(c.A, c.B), expected) << (c.A ? c.A : "(null)") << " / " << c.B;
        EXPECT_EQ(codePage.CompareCalls, c.Asks ? 1 : 0) << (c.A ? c.A : "(null)") << " / " << c.B;
    }
}

TEST(CaseComparisonTest, TheHashFoldsEveryByteTheWayTheComparisonDoes) {
    CodePageComparison codePage;
    EXPECT_EQ(codePage.Hash("\xC0\xE9 Plan"), codePage.Hash("\xE0\xC9 pLAN"));
    EXPECT_NE(codePage.Hash("\xC0"), codePage.Hash("\xC1"));
    EXPECT_NE(codePage.Hash("\x80"), codePage.Hash("\x81"));  // no case pair: told apart
    // Names that differ only in bytes above 0x7F spread over the hash values.
    int collisions = 0;
    std::vector<std::uint32_t> seen;
    for (int i = 0; i < 4096; ++i) {
        char name[4] = {static_cast<char>(0x80 + i % 64), static_cast<char>(0x80 + i / 64), 'x', '\0'};
        std::uint32_t hash = codePage.Hash(name) & 0xFFFFu;
        for (std::uint32_t other : seen) collisions += other == hash ? 1 : 0;
        seen.push_back(hash);
    }
    EXPECT_LT(collisions, 1000);  // about 128 expected in 65536 slots
}

TEST(CaseComparisonTest, TheAsciiHashKeepsBytesAboveAsciiApart) {
    const CaseComparison& ascii = AsciiComparison();
    EXPECT_EQ(ascii.Hash("ITEM"), ascii.Hash("item"));
    EXPECT_NE(ascii.Hash("\xC0"), ascii.Hash("\xE0"));
    EXPECT_EQ(ascii.Hash(nullptr), ascii.Hash(""));
}

}  // namespace
}  // namespace tarnwick
