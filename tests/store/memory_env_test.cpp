// The memory environment keeps the promises of the real one that loads and
// saves rely on (the fuzz targets run on it): sharing, a new identity for
// every new file, listing with removal, and a save the next Load knows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/fault_env.h"
#include "common/memory_env.h"
#include "store/position_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using platform::Status;
using store_testing::Host;
using store_testing::ItemLine;
using store_testing::Position;
using store_testing::StoredLine;
using testing_support::FaultEnv;
using testing_support::MemoryEnv;

struct Stamp {
    platform::FileTime Time;
    std::uint64_t Size;
    std::uint64_t Identity;
};

Stamp StampOf(MemoryEnv& env, const char* path) {
    Stamp stamp{};
    platform::File* file = nullptr;
    EXPECT_EQ(Status::Ok, env.OpenForRead(path, &file));
    EXPECT_TRUE(env.GetFileTime(file, &stamp.Time));
    EXPECT_TRUE(env.GetFileSize(file, &stamp.Size));
    EXPECT_TRUE(env.GetFileIdentity(file, &stamp.Identity));
    env.CloseFile(file);
    return stamp;
}

TEST(MemoryEnvTest, OpenFilesAreSharedAsOnWindows) {
    MemoryEnv env(platform::Env::Default());
    ASSERT_TRUE(env.PutFile("/d/a.cfg", "old"));
    ASSERT_TRUE(env.PutFile("/d/b.cfg", "new"));

    platform::File* reader = nullptr;
    ASSERT_EQ(Status::Ok, env.OpenForRead("/d/a.cfg", &reader));
    platform::File* second = nullptr;
    EXPECT_EQ(Status::Ok, env.OpenForRead("/d/a.cfg", &second)) << "readers share";
    env.CloseFile(second);
    EXPECT_EQ(Status::Busy, env.RenameOver("/d/b.cfg", "/d/a.cfg"));
    EXPECT_FALSE(env.RemoveFile("/d/a.cfg"));
    EXPECT_FALSE(env.PutFile("/d/a.cfg", "other"));
    env.CloseFile(reader);

    platform::WritableFile* writer = nullptr;
    ASSERT_EQ(Status::Ok, env.CreateNewFile("/d/c.tmp", &writer));
    platform::WritableFile* again = nullptr;
    EXPECT_EQ(Status::Exists, env.CreateNewFile("/d/c.tmp", &again));
    EXPECT_EQ(Status::Exists, env.CreateNewFile("/d/a.cfg", &again));
    EXPECT_EQ(Status::Busy, env.OpenForRead("/d/c.tmp", &reader));
    EXPECT_EQ(Status::Busy, env.RenameOver("/d/c.tmp", "/d/a.cfg"));
    std::uint32_t written = 0;
    ASSERT_TRUE(env.WriteFile(writer, "made", 4, &written));
    EXPECT_EQ(4u, written);
    EXPECT_EQ(1, env.OpenHandles());
    ASSERT_TRUE(env.CloseWritable(writer));

    EXPECT_EQ(Status::Ok, env.RenameOver("/d/c.tmp", "/d/a.cfg"));
    std::string content;
    ASSERT_TRUE(env.GetFile("/d/a.cfg", &content));
    EXPECT_EQ("made", content);
    EXPECT_FALSE(env.GetFile("/d/c.tmp", &content));
    EXPECT_EQ(Status::Failed, env.RenameOver("/d/c.tmp", "/d/a.cfg")) << "the source is gone";
    EXPECT_EQ(0, env.OpenHandles());
}

TEST(MemoryEnvTest, EveryNewFileHasItsOwnIdentityAndARenameKeepsIt) {
    MemoryEnv env(platform::Env::Default());
    ASSERT_TRUE(env.PutFile("/d/a.cfg", "same"));
    const Stamp first = StampOf(env, "/d/a.cfg");
    ASSERT_TRUE(env.PutFile("/d/a.cfg", "same"));
    const Stamp second = StampOf(env, "/d/a.cfg");
    EXPECT_EQ(first.Size, second.Size);
    EXPECT_NE(first.Identity, second.Identity);
    EXPECT_FALSE(platform::TimesEqual(first.Time, second.Time));

    ASSERT_TRUE(env.PutFile("/d/b.tmp", "moved"));
    const Stamp moved = StampOf(env, "/d/b.tmp");
    ASSERT_EQ(Status::Ok, env.RenameOver("/d/b.tmp", "/d/a.cfg"));
    const Stamp after = StampOf(env, "/d/a.cfg");
    EXPECT_EQ(moved.Identity, after.Identity);
    EXPECT_TRUE(platform::TimesEqual(moved.Time, after.Time));
    EXPECT_EQ(5u, after.Size);
}

void RemoveVisited(const char* path, const platform::FileTime&, void* context) {
    auto* state = static_cast<std::pair<MemoryEnv*, std::vector<std::string>>*>(context);
    state->second.push_back(path);
    EXPECT_TRUE(state->first->RemoveFile(path));
}

TEST(MemoryEnvTest, ListingSeesTheFolderOnlyAndFoldersAreImplied) {
    MemoryEnv env(platform::Env::Default());
    for (const char* path : {"/d/p.cfg.1.tmp", "/d/p.cfg.2.tmp", "/d/p.cfg", "/d/sub/p.cfg.3.tmp", "/d/q.tmp"}) {
        ASSERT_TRUE(env.PutFile(path, "x"));
    }
    std::pair<MemoryEnv*, std::vector<std::string>> state{&env, {}};
    ASSERT_TRUE(env.ListFiles("/d/p.cfg.", ".tmp", RemoveVisited, &state));
    EXPECT_EQ((std::vector<std::string>{"/d/p.cfg.1.tmp", "/d/p.cfg.2.tmp"}), state.second);
    EXPECT_EQ(3u, env.FileCount());

    EXPECT_EQ(Status::Exists, env.ProbePath("/d/p.cfg"));
    EXPECT_EQ(Status::Exists, env.ProbePath("/d/sub"));
    EXPECT_EQ(Status::NotFound, env.ProbePath("/d/p.cfg.1.tmp"));
    EXPECT_EQ(Status::NotFound, env.ProbePath("/e"));
    platform::File* file = nullptr;
    EXPECT_EQ(Status::Denied, env.OpenForRead("/d/sub", &file));
    EXPECT_EQ(Status::NotFound, env.OpenForRead("/d/none", &file));
    EXPECT_EQ(Status::Denied, env.RenameOver("/d/p.cfg", "/d/sub"));
}

// What the fuzz target of merges relies on: a save through the memory
// environment is known to the next Load, and another host's file of the
// same content is read.
TEST(MemoryEnvTest, ASaveIsKnownAndAnotherHostsFileIsRead) {
    MemoryEnv files(platform::Env::Default());
    FaultEnv env(&files);
    Host host(&env);
    const char* cfg = "/d/Tarnwick.cfg";
    ASSERT_TRUE(files.PutFile(cfg, ItemLine("C:\\A.txt", 1)));
    ASSERT_TRUE(Load(host.File, cfg));
    ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "C:\\A.txt", Position(2)));
    ASSERT_TRUE(Save(host.File, cfg, false));
    std::string content;
    ASSERT_TRUE(files.GetFile(cfg, &content));
    EXPECT_EQ(ItemLine("C:\\A.txt", 2), content);
    EXPECT_EQ(1u, files.FileCount()) << "no temporary file is left";

    const int reads = env.Calls(FaultEnv::Op::Read);
    ASSERT_TRUE(Load(host.File, cfg));
    EXPECT_EQ(reads, env.Calls(FaultEnv::Op::Read));

    ASSERT_TRUE(files.PutFile(cfg, ItemLine("C:\\A.txt", 7)));
    ASSERT_TRUE(Load(host.File, cfg));
    EXPECT_EQ(7, StoredLine(host.File, "C:\\A.txt"));
    host.File.Close();
    EXPECT_EQ(0, files.OpenHandles());
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
