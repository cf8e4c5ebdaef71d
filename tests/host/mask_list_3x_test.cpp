// The mask lists of the 3.x host's layer: separators, quotes, exclusions,
// regular expressions, groups and the lists it rejects.
#include <string>

#include <gtest/gtest.h>

#include "kit/mask_list_3x.h"

namespace hosttest {
namespace {

using hostkit::MaskListMatch;
using hostkit::MatchMaskList3x;

TEST(MaskList3xTest, CommasAndSemicolonsBothSeparateMasks) {
    EXPECT_EQ(MatchMaskList3x("*.c;*.h,*.txt", "a.h"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("*.c;*.h,*.txt", "a.txt"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("*.c;*.h,*.txt", "a.cpp"), MaskListMatch::NoMatch);
    // Spaces around masks and empty masks are skipped.
    EXPECT_EQ(MatchMaskList3x(" *.c ; ,, *.h ", "b.h"), MaskListMatch::Match);
}

TEST(MaskList3xTest, QuotesGroupSeparatorsAndSpacesIntoOneMask) {
    EXPECT_EQ(MatchMaskList3x("\"a;b.txt\",x", "a;b.txt"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("\"a;b.txt\",x", "a"), MaskListMatch::NoMatch);
    EXPECT_EQ(MatchMaskList3x("\"my file.txt \"", "my file.txt "), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("\"a|b\"", "a|b"), MaskListMatch::Match);
}

TEST(MaskList3xTest, ABarStartsMasksThatExclude) {
    EXPECT_EQ(MatchMaskList3x("*.txt|old*", "new.txt"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("*.txt|old*", "old.txt"), MaskListMatch::NoMatch);
    EXPECT_EQ(MatchMaskList3x("*.txt;*.log|old*;*.bak", "a.bak"), MaskListMatch::NoMatch);
    // Nothing before the bar stands for every name.
    EXPECT_EQ(MatchMaskList3x("|*.bak", "a.txt"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("|*.bak", "a.bak"), MaskListMatch::NoMatch);
}

TEST(MaskList3xTest, PlainMasksKeepTheHostsWildcards) {
    EXPECT_EQ(MatchMaskList3x("[a-c]?.TXT", "b1.txt"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("name.*", "name"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("*.", "name.txt"), MaskListMatch::NoMatch);
}

TEST(MaskList3xTest, SlashesEncloseARegularExpressionFoundAnywhereIgnoringCase) {
    EXPECT_EQ(MatchMaskList3x("/^re[0-9]+\\.log$/", "RE12.log"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("/^re[0-9]+\\.log$/", "re.log"), MaskListMatch::NoMatch);
    EXPECT_EQ(MatchMaskList3x("/draft/i", "my-draft.txt"), MaskListMatch::Match);
    // Separators inside the expression belong to it; an escaped '/' too.
    EXPECT_EQ(MatchMaskList3x("/a{1,2};b/,x", "aa;b"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("/a\\/b/", "a/b"), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x("*|/^~/", "~tmp"), MaskListMatch::NoMatch);
}

TEST(MaskList3xTest, ListsTheParserRejectsAreInvalid) {
    for (const char* masks : {"", " ;, ", "*.txt|", "*.txt|a|b", "/open", "/(/", "/a/ x", "<arc>", "*.c,<arc>", "|"}) {
        EXPECT_EQ(MatchMaskList3x(masks, "a.txt"), MaskListMatch::Invalid) << masks;
    }
    EXPECT_EQ(MatchMaskList3x(nullptr, "a.txt"), MaskListMatch::Invalid);
}

TEST(MaskList3xTest, AMaskLongerThanThe175HostsBufferIsMatchedWhole) {
    std::string name(400, 'n');
    std::string mask = name.substr(0, 399) + "?";
    EXPECT_EQ(MatchMaskList3x(("x;" + mask).c_str(), name.c_str()), MaskListMatch::Match);
    EXPECT_EQ(MatchMaskList3x(("x;" + mask + "z").c_str(), name.c_str()), MaskListMatch::NoMatch);
}

}  // namespace
}  // namespace hosttest
