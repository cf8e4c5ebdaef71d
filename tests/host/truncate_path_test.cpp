// The roots TruncPathStr keeps: backslashes only in the 1.75 host, '/' as
// well in the 3.x host's layer.
#include <string>

#include <gtest/gtest.h>

#include "kit/standard_functions.h"

namespace hosttest {
namespace {

std::string Truncated(std::string path, int maxLength, bool slashSeparates) {
    hostkit::TruncatePath(&path[0], maxLength, slashSeparates);
    return path.c_str();
}

TEST(TruncatePathTest, ADriveOrShareRootWithSlashesIsKeptOnlyWhenSlashesSeparate) {
    EXPECT_EQ(Truncated("C:\\dir\\sub\\file.txt", 12, false), "C:\\...le.txt");
    EXPECT_EQ(Truncated("C:/dir/sub/file.txt", 12, false), ".../file.txt");
    EXPECT_EQ(Truncated("C:/dir/sub/file.txt", 12, true), "C:/...le.txt");
    EXPECT_EQ(Truncated("//srv/share/dir/file.txt", 16, false), ".../dir/file.txt");
    EXPECT_EQ(Truncated("//srv/share/dir/file.txt", 16, true), "//srv/share/...t");
    EXPECT_EQ(Truncated("\\\\srv\\share/dir/file.txt", 16, true), "\\\\srv\\share/...t");
}

}  // namespace
}  // namespace hosttest
