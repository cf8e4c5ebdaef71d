// Bounded string copies, comparison of ASCII letters ignoring case, path
// hashes, number formatting and zero-filled allocation.
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

TEST(SameTextTest, EveryByteCountsAndNullEqualsOnlyNull) {
    EXPECT_TRUE(SameText("KOI8-R", "KOI8-R"));
    EXPECT_FALSE(SameText("KOI8-R", "koi8-r"));
    EXPECT_FALSE(SameText("KOI8", "KOI8-R"));
    EXPECT_FALSE(SameText("KOI8-R", "KOI8"));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_TRUE(SameText(nullptr, nullptr));
    EXPECT_FALSE(SameText(nullptr, ""));
    EXPECT_FALSE(SameText("", nullptr));
}

TEST(AsciiCompareNoCaseTest, AsciiLettersFoldOtherBytesDoNot) {
    EXPECT_EQ(AsciiCompareNoCase("C:\\Data\\Plan.TXT", "c:\\data\\plan.txt"), 0);
    EXPECT_LT(AsciiCompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(AsciiCompareNoCase("abcd", "ABC"), 0);
    EXPECT_LT(AsciiCompareNoCase("", "a"), 0);
    EXPECT_NE(AsciiCompareNoCase("\xC0", "\xE0"), 0);  // code-page letters need the host
    EXPECT_EQ(AsciiCompareNoCase(nullptr, ""), 0);

    EXPECT_EQ(AsciiCompareNoCaseN("ITEM type", "item", 4), 0);
    EXPECT_NE(AsciiCompareNoCaseN("ITEM type", "item", 5), 0);
    EXPECT_EQ(AsciiCompareNoCaseN("abc", "ABC", 10), 0);
    EXPECT_EQ(AsciiCompareNoCaseN("abc", "xyz", 0), 0);
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
    char unsignedBuffer[11];
    EXPECT_EQ(FormatUnsigned(0, unsignedBuffer), 1);
    EXPECT_STREQ(unsignedBuffer, "0");
    EXPECT_EQ(FormatUnsigned(4294967295u, unsignedBuffer), 10);
    EXPECT_STREQ(unsignedBuffer, "4294967295");
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
