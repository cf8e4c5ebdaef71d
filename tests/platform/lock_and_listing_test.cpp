// The environment's update lock, folder listing, process test and clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/system_tools.h"
#include "common/test_support.h"
#include "platform/env.h"

namespace tarnwick {
namespace platform {
namespace {

using testing_support::ListFolder;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

bool Listed(const TempDir& dir, const std::string& name) {
    std::vector<std::string> names = ListFolder(dir.path());
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(UpdateLockFile, OneHolderAtATimeAndNothingLeftAfterwards) {
    TempDir dir;
    const std::string path = dir.File("Tarnwick.cfg.twlock");
    Env* env = Env::Default();
    LockFile* first = nullptr;
    ASSERT_EQ(Status::Ok, env->TryLockFile(path.c_str(), &first));
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(Listed(dir, "Tarnwick.cfg.twlock"));
    LockFile* second = reinterpret_cast<LockFile*>(1);
    EXPECT_EQ(Status::Busy, env->TryLockFile(path.c_str(), &second));
    EXPECT_EQ(nullptr, second);
    env->UnlockFile(first);
    EXPECT_FALSE(Listed(dir, "Tarnwick.cfg.twlock"));
    ASSERT_EQ(Status::Ok, env->TryLockFile(path.c_str(), &second));
    env->UnlockFile(second);
    env->UnlockFile(nullptr);
    EXPECT_TRUE(ListFolder(dir.path()).empty());
}

TEST(UpdateLockFile, ALockThatCannotBeMadeIsUnavailable) {
    TempDir dir;
    LockFile* lock = reinterpret_cast<LockFile*>(1);
    EXPECT_EQ(Status::Unavailable, Env::Default()->TryLockFile(dir.File("no-folder/x.twlock").c_str(), &lock));
    EXPECT_EQ(nullptr, lock);
    EXPECT_EQ(Status::Unavailable, Env::Default()->TryLockFile("", &lock));
    EXPECT_EQ(Status::Unavailable, Env::Default()->TryLockFile(dir.path().c_str(), &lock));  // a folder
}

struct Found {
    std::vector<std::string> Names;
    std::uint64_t Latest = 0;
};

void Collect(const char* path, const FileTime& written, void* context) {
    Found* found = static_cast<Found*>(context);
    std::string name(path);
    found->Names.push_back(name.substr(name.find_last_of("\\/") + 1));
    std::uint64_t ticks = (static_cast<std::uint64_t>(written.High) << 32) | written.Low;
    if (ticks > found->Latest) found->Latest = ticks;
}

TEST(ListFiles, FindsTheNamesWithThatStartAndEndOnly) {
    TempDir dir;
    for (const char* name : {"Tarnwick.cfg", "Tarnwick.cfg.1.2.tmp", "Tarnwick.cfg.tmp", "Tarnwick.cfg.12.tmp.bak",
                             "Other.cfg.1.2.tmp", "Tarnwick.cfgx.1.tmp", "Tarnwick.cfg.LongerThanEightDots.3.tmp"}) {
        ASSERT_TRUE(WriteWholeFile(dir.File(name), "x"));
    }
    ASSERT_TRUE(testing_support::MakeFolder(dir.File("Tarnwick.cfg.9.9.tmp")));
    Found found;
    ASSERT_TRUE(Env::Default()->ListFiles(dir.File("Tarnwick.cfg.").c_str(), ".tmp", Collect, &found));
    std::sort(found.Names.begin(), found.Names.end());
    EXPECT_EQ((std::vector<std::string>{"Tarnwick.cfg.1.2.tmp", "Tarnwick.cfg.LongerThanEightDots.3.tmp"}),
              found.Names);
    // The times are the files' own: within a day of now.
    const std::uint64_t now = testing_support::NowTicks();
    const std::uint64_t day = 24ULL * 3600ULL * 10000000ULL;
    EXPECT_LT(found.Latest > now ? found.Latest - now : now - found.Latest, day);

    Found none;
    EXPECT_TRUE(Env::Default()->ListFiles(dir.File("Nothing.").c_str(), ".tmp", Collect, &none));
    EXPECT_TRUE(none.Names.empty());
    EXPECT_FALSE(Env::Default()->ListFiles(dir.File("no-folder/x.").c_str(), ".tmp", Collect, &none));
}

TEST(ProcessAndClock, ThisProcessRunsAnEndedOneDoesNot) {
    Env* env = Env::Default();
    EXPECT_TRUE(env->ProcessRunning(env->ProcessId()));
    testing_support::ChildProcess child;
    ASSERT_TRUE(child.Start(testing_support::SiblingProgram("position_host"), {}));
    const std::uint32_t id = child.Id();
    EXPECT_EQ(1, child.Wait());  // no arguments: the usage
    EXPECT_FALSE(env->ProcessRunning(id));

    const FileTime now = env->CurrentTime();
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.High) << 32) | now.Low;
    const std::uint64_t reference = testing_support::NowTicks();
    EXPECT_LT(ticks > reference ? ticks - reference : reference - ticks, 20000000ULL);  // within 2 s
}

}  // namespace
}  // namespace platform
}  // namespace tarnwick
