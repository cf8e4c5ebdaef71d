// Whether a name in the file API's 8-bit code page names one file: a host
// that converts names from UTF-16 hands over `?` or a look-alike for a
// character the page lacks.

#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "platform/env.h"
#include "platform/env_wrapper.h"

#if defined(_WIN32)
#include <windows.h>
#endif

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

#if !defined(_WIN32)

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

#else

// The name the file API's code page gives a UTF-16 name, as a converting
// host hands it over (look-alikes and `?` included).
std::string HandedOver(const std::wstring& wide) {
    const UINT page = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    char narrow[MAX_PATH * 2];
    const int n = WideCharToMultiByte(page, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return n > 0 ? std::string(narrow) : std::string();
}

std::wstring Widened(const std::string& narrow) {
    const UINT page = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    wchar_t wide[MAX_PATH * 2];
    const int n = MultiByteToWideChar(page, 0, narrow.c_str(), -1, wide, MAX_PATH * 2);
    return n > 0 ? std::wstring(wide) : std::wstring();
}

bool MakeWide(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// A file whose name the page cannot hold is not named by what the host
// hands over; and where that turns into the name of another file, neither
// name is trusted, since the plug-in cannot tell which file it was given.
TEST(NamesOneFileTest, ANameTheCodePageBrokeNamesNoFile) {
    TempDir dir;
    const std::wstring folder = Widened(dir.path()) + L"\\";
    platform::Env* env = platform::Env::Default();
    // A letter most 8-bit pages lack but have a look-alike for, and one
    // that a Western page turns into `?`.
    for (const std::wstring strange : {L"\u015Dx.txt", L"x\u0436.txt"}) {
        ASSERT_TRUE(MakeWide(folder + strange));
        const std::string handed = HandedOver(folder + strange);
        ASSERT_FALSE(handed.empty());
        if (Widened(handed) == folder + strange) continue;  // this page holds it after all
        EXPECT_FALSE(env->NamesOneFile(handed.c_str())) << handed;

        // The name it turned into, as a file of its own.
        const std::wstring lookAlike = Widened(handed);
        if (lookAlike.find(L'?') == std::wstring::npos && MakeWide(lookAlike)) {
            EXPECT_FALSE(env->NamesOneFile(handed.c_str())) << "two files answer to " << handed;
        }
    }

    const std::string plain = dir.File("plain.txt");
    ASSERT_TRUE(WriteWholeFile(plain, "x"));
    EXPECT_TRUE(env->NamesOneFile(plain.c_str())) << "other files of the folder do not matter";
}

#endif

}  // namespace
