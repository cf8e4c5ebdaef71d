// Whether a name names one file, on POSIX: names are bytes with no code
// page, so an entry that differs from it only outside ASCII makes a name
// uncertain.

#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "platform/env.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::testing_support;

// A name such as "o.txt" may be what a host made of "ő.txt": while both are
// in the folder, neither is trusted; "ö.txt" cannot become "oo.txt".
TEST(NamesOneFileTest, AnotherEntryThatDiffersOnlyOutsideAsciiMakesTheNameUncertain) {
    TempDir dir;
    const std::string plain = dir.File("o.txt");
    ASSERT_TRUE(WriteWholeFile(plain, "x"));
    ASSERT_TRUE(WriteWholeFile(dir.File("oo.txt"), "x"));
    ASSERT_TRUE(WriteWholeFile(dir.File("\xC3\xB6x.txt"), "x"));  // "öx.txt"
    platform::Env* env = platform::Env::Default();
    EXPECT_TRUE(env->NamesOneFile(plain.c_str()));
    ASSERT_TRUE(WriteWholeFile(dir.File("\xC5\x91.txt"), "x"));  // "ő.txt"
    EXPECT_FALSE(env->NamesOneFile(plain.c_str()));
    EXPECT_TRUE(env->NamesOneFile(dir.File("oo.txt").c_str()));
}

}  // namespace
