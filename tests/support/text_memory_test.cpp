// Bounded string copies, case-insensitive comparison, number formatting and
// zero-filled allocation.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace {

TEST(CopyBoundedTest, CutsAtTheBufferAndAlwaysTerminates) {
    char buffer[6];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(CopyBounded(buffer, "abcde", 6));  // exactly fits
    EXPECT_STREQ(buffer, "abcde");

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(CopyBounded(buffer, "abcdef", 6));  // one too long
    EXPECT_STREQ(buffer, "abcde");

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(CopyBounded(buffer, "a", 0));  // nothing may be written
    EXPECT_EQ(buffer[0], '#');
    EXPECT_TRUE(CopyBounded(buffer, "", 0));

    EXPECT_FALSE(CopyBounded(buffer, "a", 1));
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], '#');

    EXPECT_TRUE(CopyBounded(buffer, nullptr, 6));
    EXPECT_STREQ(buffer, "");
}

TEST(AppendBoundedTest, AppendsUpToTheBufferEnd) {
    char buffer[8] = "abc";
    EXPECT_TRUE(AppendBounded(buffer, "defg", sizeof buffer));  // exactly fits
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(AppendBounded(buffer, "h", sizeof buffer));
    EXPECT_STREQ(buffer, "abcdefg");

    char cut[8] = "abc";
    EXPECT_FALSE(AppendBounded(cut, "defghij", sizeof cut));
    EXPECT_STREQ(cut, "abcdefg");

    // A buffer without a terminator is terminated at its last byte, not overrun.
    char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_FALSE(AppendBounded(full, "q", sizeof full));
    EXPECT_EQ(std::string(full, 3), "wxy");
    EXPECT_EQ(full[3], '\0');
}

TEST(CompareNoCaseTest, AsciiLettersFoldOtherBytesDoNot) {
    SetTextServices(nullptr);
    EXPECT_EQ(CompareNoCase("C:\\Data\\Plan.TXT", "c:\\data\\plan.txt"), 0);
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    EXPECT_NE(CompareNoCase("\xC0", "\xE0"), 0);  // code-page letters need the host
    EXPECT_EQ(CompareNoCase(nullptr, ""), 0);

    EXPECT_EQ(CompareNoCaseN("ITEM type", "item", 4), 0);
    EXPECT_NE(CompareNoCaseN("ITEM type", "item", 5), 0);
    EXPECT_EQ(CompareNoCaseN("abc", "ABC", 10), 0);
    EXPECT_EQ(CompareNoCaseN("abc", "xyz", 0), 0);
}

int CountingCompare(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : 7; }

TEST(CompareNoCaseTest, InstalledServicesReplaceTheFallback) {
    TextServices services = {CountingCompare, nullptr};
    SetTextServices(&services);
    EXPECT_EQ(CompareNoCase("A", "a"), 7);
    EXPECT_EQ(CompareNoCaseN("A", "a", 1), 0);  // null member: ASCII fallback
    SetTextServices(nullptr);
    EXPECT_EQ(CompareNoCase("A", "a"), 0);
}

// A code page's comparison: ASCII letters and 0xC0-0xDF / 0xE0-0xFF fold
// together. Counts its calls.
int g_codePageCalls = 0;
int CountedCodePageCompare(const char* a, const char* b) {
    ++g_codePageCalls;
    for (;; ++a, ++b) {
        int x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x >= 0xC0 && x <= 0xDF) x += 0x20;
        if (y >= 0xC0 && y <= 0xDF) y += 0x20;
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

TEST(EqualNoCaseTest, AgreesWithTheComparisonAndAsksItOnlyWhenTextsMayBeEqual) {
    TextServices services = {CountedCodePageCompare, nullptr};
    SetTextServices(&services);
    struct Case {
        const char* A;
        const char* B;
        bool Asks;  // whether the answer needs the installed comparison
    };
    const Case cases[] = {
        {"path", "path", false},  {"Path", "pATH", true},   {"path", "type", false},
        {"line", "lines", false}, {"", "a", false},         {"\xC0q", "\xE0Q", true},
        {"\xC0", "\xC1", true},    {"\xC0", "a", false},     {"a\xC0", "A\xE0", true},
        {nullptr, "", false},     {nullptr, "x", false},    {"C:\\Dir\\A.txt", "c:\\dir\\b.txt", false},
    };
    for (const Case& c : cases) {
        g_codePageCalls = 0;
        bool expected = CompareNoCase(c.A, c.B) == 0;
        g_codePageCalls = 0;
        EXPECT_EQ(EqualNoCase(c.A, c.B), expected) << (c.A ? c.A : "(null)") << " / " << c.B;
        EXPECT_EQ(g_codePageCalls, c.Asks ? 1 : 0) << (c.A ? c.A : "(null)") << " / " << c.B;
    }
    SetTextServices(nullptr);
    EXPECT_TRUE(EqualNoCase("ITEM", "item"));
    EXPECT_FALSE(EqualNoCase("\xC0", "\xE0"));  // the ASCII fallback keeps such bytes apart
}

TEST(FoldedHashTest, EqualForCaseVariants) {
    EXPECT_EQ(FoldedHash("C:\\Data\\Plan.txt"), FoldedHash("c:\\DATA\\PLAN.TXT"));
    EXPECT_EQ(FoldedHash("\xC0\xE9"), FoldedHash("\xE0\xC9"));  // code-page letters in either case
    EXPECT_NE(FoldedHash("plan.txt"), FoldedHash("plan.txu"));
    EXPECT_EQ(FoldedHash(nullptr), FoldedHash(""));

    // Every length around the hash's four lanes: case variants agree, and a
    // change of the last byte or of the length shows.
    std::string lower, upper;
    std::uint32_t previous = FoldedHash("");
    for (int length = 1; length <= 13; ++length) {
        lower += static_cast<char>('a' + length);
        upper += static_cast<char>('A' + length);
        EXPECT_EQ(FoldedHash(lower.c_str()), FoldedHash(upper.c_str())) << length;
        std::string changed = lower;
        changed.back() = '0';
        EXPECT_NE(FoldedHash(lower.c_str()), FoldedHash(changed.c_str())) << length;
        EXPECT_NE(FoldedHash(lower.c_str()), previous) << length;
        previous = FoldedHash(lower.c_str());
    }
    EXPECT_NE(FoldedHash("ab"), FoldedHash("ba"));
}

// A code page's comparison byte by byte: ASCII letters, and 0xC0-0xDF as
// the capitals of 0xE0-0xFF (as in Windows-1251).
int CodePageFold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    if (c >= 0xC0 && c <= 0xDF) return c + 0x20;
    return c;
}

int CodePageCompare(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int x = CodePageFold(static_cast<unsigned char>(*a)), y = CodePageFold(static_cast<unsigned char>(*b));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

TEST(CaseHashTest, FoldsEveryByteTheWayTheInstalledComparisonDoes) {
    TextServices services = {CodePageCompare, nullptr};
    SetTextServices(&services);
    EXPECT_EQ(CaseHash("\xC0\xE9 Plan"), CaseHash("\xE0\xC9 pLAN"));
    EXPECT_NE(CaseHash("\xC0"), CaseHash("\xC1"));
    EXPECT_NE(CaseHash("\x80"), CaseHash("\x81"));  // no case pair: told apart
    // Names that differ only in bytes above 0x7F spread over the hash values.
    int collisions = 0;
    std::vector<std::uint32_t> seen;
    for (int i = 0; i < 4096; ++i) {
        char name[4] = {static_cast<char>(0x80 + i % 64), static_cast<char>(0x80 + i / 64), 'x', '\0'};
        std::uint32_t hash = CaseHash(name) & 0xFFFFu;
        for (std::uint32_t other : seen) collisions += other == hash ? 1 : 0;
        seen.push_back(hash);
    }
    EXPECT_LT(collisions, 1000);  // about 128 expected in 65536 slots

    // The fallback compares bytes above 0x7F exactly, and so does the hash.
    SetTextServices(nullptr);
    EXPECT_EQ(CaseHash("ITEM"), CaseHash("item"));
    EXPECT_NE(CaseHash("\xC0"), CaseHash("\xE0"));
    EXPECT_EQ(CaseHash(nullptr), CaseHash(""));
}

TEST(FormatIntTest, WritesSignedDecimal) {
    char buffer[12];
    struct {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {-5, "-5"}, {42, "42"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        std::memset(buffer, '#', sizeof buffer);
        int n = FormatInt(c.value, buffer);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.text)));
    }
}

TEST(AllocZeroedTest, ZeroSizeAndLargeBlocksAreZeroed) {
    unsigned char* tiny = static_cast<unsigned char*>(platform::Env::Default()->AllocZeroed(0));
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(tiny[0], 0);
    platform::Env::Default()->Release(tiny);

    const std::size_t size = 1 << 20;
    unsigned char* block = static_cast<unsigned char*>(platform::Env::Default()->AllocZeroed(size));
    ASSERT_NE(block, nullptr);
    std::size_t nonzero = 0;
    for (std::size_t i = 0; i < size; ++i) nonzero += block[i] != 0;
    EXPECT_EQ(nonzero, 0u);
    platform::Env::Default()->Release(block);
    platform::Env::Default()->Release(nullptr);
}

}  // namespace
}  // namespace tarnwick
