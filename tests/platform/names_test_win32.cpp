// Whether a name in the file API's 8-bit code page names one file, on
// Windows: the folder's UTF-16 names converted as a converting host
// converts them.

#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "common/test_support.h"
#include "platform/env.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::testing_support;

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

}  // namespace
