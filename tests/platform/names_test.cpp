// Whether a name in the file API's 8-bit code page names one file: a host
// that converts names from UTF-16 hands over `?` or a look-alike for a
// character the page lacks.

#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "platform/env.h"
#include "platform/env_wrapper.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::testing_support;

TEST(NamesOneFileTest, AnExistingFileAndNothingElse) {
    TempDir dir;
    const std::string path = dir.File("plain.txt");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    platform::Env* env = platform::Env::Default();
    EXPECT_TRUE(env->NamesOneFile(path.c_str()));
    platform::EnvWrapper wrapped(env);
    EXPECT_TRUE(wrapped.NamesOneFile(path.c_str()));
    EXPECT_FALSE(env->NamesOneFile(dir.File("absent.txt").c_str()));
    EXPECT_FALSE(env->NamesOneFile(dir.path().c_str())) << "a folder is no file";
    EXPECT_FALSE(env->NamesOneFile(""));
    EXPECT_FALSE(env->NamesOneFile(nullptr));
}

}  // namespace
