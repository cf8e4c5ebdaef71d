// The file operations behind the position file: reading with shared access,
// replacing the content in one step, existence probes.
#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "common/system_tools.h"
#include "common/test_support.h"
#include "store/replace_file.h"
#include "platform/env.h"
#include "platform/env_wrapper.h"

namespace tarnwick {
namespace platform {
namespace {

using testing_support::ForeignWriter;
using testing_support::ListFolder;
using testing_support::NowTicks;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

std::uint64_t Ticks(const FileTime& time) { return (static_cast<std::uint64_t>(time.High) << 32) | time.Low; }

Status Replace(const std::string& path, const std::string& content) {
    return store::ReplaceFileContent(platform::Env::Default(), path.c_str(), content.data(), static_cast<std::uint32_t>(content.size()));
}

// Reads the whole file through the layer; "<status n>" when it cannot be opened.
std::string ReadThroughLayer(const std::string& path) {
    File* file = nullptr;
    Status status = platform::Env::Default()->OpenForRead(path.c_str(), &file);
    if (status != Status::Ok) return "<status " + std::to_string(static_cast<int>(status)) + ">";
    std::uint64_t size = 0;
    EXPECT_TRUE(platform::Env::Default()->GetFileSize(file, &size));
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::uint32_t got = 0;
    EXPECT_TRUE(platform::Env::Default()->ReadFile(file, &content[0], static_cast<std::uint32_t>(content.size()), &got));
    platform::Env::Default()->CloseFile(file);
    content.resize(got);
    return content;
}

TEST(OpenForReadTest, MissingFilesAndFoldersAreNotFound) {
    TempDir dir;
    File* file = reinterpret_cast<File*>(&dir);
    EXPECT_EQ(platform::Env::Default()->OpenForRead(dir.File("absent.cfg").c_str(), &file), Status::NotFound);
    EXPECT_EQ(file, nullptr);
    std::string in_missing_folder = dir.File("no-such-folder") + testing_support::PathSeparator() + "a.cfg";
    EXPECT_EQ(platform::Env::Default()->OpenForRead(in_missing_folder.c_str(), &file), Status::NotFound);
    EXPECT_EQ(file, nullptr);

    // A folder is not a file that can be read.
    EXPECT_EQ(platform::Env::Default()->OpenForRead(dir.path().c_str(), &file), Status::Denied);
    EXPECT_EQ(file, nullptr);
}

TEST(OpenForReadTest, ReadsSizeTimeAndContentInPieces) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_TRUE(WriteWholeFile(path, "hello world"));

    File* file = nullptr;
    ASSERT_EQ(platform::Env::Default()->OpenForRead(path.c_str(), &file), Status::Ok);
    std::uint64_t size = 0;
    ASSERT_TRUE(platform::Env::Default()->GetFileSize(file, &size));
    EXPECT_EQ(size, 11u);

    // The time is in FILETIME units: a file written just now is about now.
    FileTime time = {0, 0};
    ASSERT_TRUE(platform::Env::Default()->GetFileTime(file, &time));
    std::uint64_t now = NowTicks();
    std::uint64_t hour = 3600ULL * 10000000ULL;
    EXPECT_LT(Ticks(time), now + hour);
    EXPECT_GT(Ticks(time), now - hour);

    char buffer[32];
    std::uint32_t got = 0;
    ASSERT_TRUE(platform::Env::Default()->ReadFile(file, buffer, 5, &got));
    EXPECT_EQ(std::string(buffer, got), "hello");
    ASSERT_TRUE(platform::Env::Default()->ReadFile(file, buffer, sizeof buffer, &got));
    EXPECT_EQ(std::string(buffer, got), " world");
    ASSERT_TRUE(platform::Env::Default()->ReadFile(file, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u);
    platform::Env::Default()->CloseFile(file);
}

TEST(OpenForReadTest, IdentityNamesTheFileAndChangesWhenItIsReplaced) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_TRUE(WriteWholeFile(path, "first"));

    auto identityOf = [&path](std::uint64_t* identity) {
        File* file = nullptr;
        if (platform::Env::Default()->OpenForRead(path.c_str(), &file) != Status::Ok) return false;
        bool ok = platform::Env::Default()->GetFileIdentity(file, identity);
        platform::Env::Default()->CloseFile(file);
        return ok;
    };
    std::uint64_t before = 0, again = 0, after = 0;
    ASSERT_TRUE(identityOf(&before));
    ASSERT_TRUE(identityOf(&again));
    EXPECT_EQ(before, again);

    // A replace puts a new file in place (made before the old one goes, so
    // it cannot reuse its number): same size, other identity.
    ASSERT_EQ(store::ReplaceFileContent(platform::Env::Default(), path.c_str(), "other", 5), Status::Ok);
    ASSERT_TRUE(identityOf(&after));
    EXPECT_NE(before, after);
}

TEST(OpenForReadTest, FileHeldByAWriterIsBusy) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_TRUE(WriteWholeFile(path, "content"));
    {
        ForeignWriter writer(path);
        ASSERT_TRUE(writer.Held());
        File* file = nullptr;
        EXPECT_EQ(platform::Env::Default()->OpenForRead(path.c_str(), &file), Status::Busy);
        EXPECT_EQ(file, nullptr);
    }
    EXPECT_EQ(ReadThroughLayer(path), "content");
}

TEST(FileTimeTest, ComparesAsOneSixtyFourBitCount) {
    FileTime older = {0xFFFFFFFFu, 1};
    FileTime newer = {0, 2};
    EXPECT_LT(CompareTimes(older, newer), 0);
    EXPECT_GT(CompareTimes(newer, older), 0);
    EXPECT_EQ(CompareTimes(older, older), 0);
    EXPECT_TRUE(TimesEqual(newer, newer));
    EXPECT_FALSE(TimesEqual(older, newer));
}

TEST(ReplaceFileContentTest, CreatesAndReplacesLeavingNoTemporaryFiles) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");

    EXPECT_EQ(Replace(path, "first version, rather long\r\n"), Status::Ok);
    EXPECT_EQ(ReadWholeFile(path), "first version, rather long\r\n");
    EXPECT_EQ(Replace(path, "second"), Status::Ok);
    EXPECT_EQ(ReadWholeFile(path), "second");
    EXPECT_EQ(Replace(path, ""), Status::Ok);
    EXPECT_TRUE(testing_support::FileExists(path));
    EXPECT_EQ(ReadWholeFile(path), "");

    std::string binary("a\0b\r\n\xFF", 6);
    EXPECT_EQ(Replace(path, binary), Status::Ok);
    EXPECT_EQ(ReadWholeFile(path), binary);

    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"positions.cfg"});
}

TEST(ReplaceFileContentTest, ImpossibleTargetsFailWithoutLeftovers) {
    TempDir dir;
    std::string in_missing_folder = dir.File("no-such-folder") + testing_support::PathSeparator() + "a.cfg";
    EXPECT_EQ(Replace(in_missing_folder, "x"), Status::Failed);

    std::string folder = dir.File("folder");
    ASSERT_TRUE(testing_support::MakeFolder(folder));
    EXPECT_EQ(Replace(folder, "x"), Status::Denied);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(ListFolder(folder).empty());
}

TEST(ReplaceFileContentTest, ReadOnlyTargetIsDeniedAndKept) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_TRUE(WriteWholeFile(path, "kept"));
    ASSERT_TRUE(testing_support::MakeReadOnly(path));
    EXPECT_EQ(Replace(path, "replacement"), Status::Denied);
    EXPECT_EQ(ReadWholeFile(path), "kept");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"positions.cfg"});
}

TEST(ReplaceFileContentTest, StaleTemporaryFilesDoNotBlockIt) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_TRUE(WriteWholeFile(path, "old"));

    // Leftovers of a crashed process that had the same id: runs of seven
    // taken names, whatever the temporary-name counter stands at.
    int stale = 0;
    for (int n = 0; n < 400; ++n) {
        if (n % 8 == 0) continue;
        std::string name = path + "." + std::to_string(platform::Env::Default()->ProcessId()) + "." + std::to_string(n) + ".tmp";
        ASSERT_TRUE(WriteWholeFile(name, "stale"));
        ++stale;
    }
    for (int round = 0; round < 3; ++round) {
        std::string content = "new " + std::to_string(round);
        EXPECT_EQ(Replace(path, content), Status::Ok);
        EXPECT_EQ(ReadWholeFile(path), content);
    }
    EXPECT_EQ(ListFolder(dir.path()).size(), static_cast<std::size_t>(stale) + 1);
}

TEST(ReplaceFileContentTest, OpenReaderMakesItBusyAndKeepsTheFile) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    std::string old_content = "<item type=\"editor\" path=\"a\">\r\n";
    ASSERT_EQ(Replace(path, old_content), Status::Ok);

    File* reader = nullptr;
    ASSERT_EQ(platform::Env::Default()->OpenForRead(path.c_str(), &reader), Status::Ok);
    EXPECT_EQ(Replace(path, "replacement"), Status::Busy);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"positions.cfg"});

    // The reader still sees the old content, and so does everyone else.
    char buffer[64];
    std::uint32_t got = 0;
    ASSERT_TRUE(platform::Env::Default()->ReadFile(reader, buffer, sizeof buffer, &got));
    EXPECT_EQ(std::string(buffer, got), old_content);
    platform::Env::Default()->CloseFile(reader);
    EXPECT_EQ(ReadWholeFile(path), old_content);

    EXPECT_EQ(Replace(path, "replacement"), Status::Ok);
    EXPECT_EQ(ReadWholeFile(path), "replacement");
}

TEST(ReplaceFileContentTest, ReplacedFileHasANewerTime) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    ASSERT_EQ(Replace(path, "one"), Status::Ok);
    File* file = nullptr;
    ASSERT_EQ(platform::Env::Default()->OpenForRead(path.c_str(), &file), Status::Ok);
    FileTime before = {0, 0};
    ASSERT_TRUE(platform::Env::Default()->GetFileTime(file, &before));
    platform::Env::Default()->CloseFile(file);

    // Coarse file-system clocks may need a moment before the time moves.
    FileTime after = before;
    for (int attempt = 0; attempt < 100 && CompareTimes(after, before) <= 0; ++attempt) {
        platform::Env::Default()->SleepMilliseconds(20);
        ASSERT_EQ(Replace(path, "two"), Status::Ok);
        ASSERT_EQ(platform::Env::Default()->OpenForRead(path.c_str(), &file), Status::Ok);
        ASSERT_TRUE(platform::Env::Default()->GetFileTime(file, &after));
        platform::Env::Default()->CloseFile(file);
    }
    EXPECT_GT(CompareTimes(after, before), 0);
}

TEST(ReplaceFileContentTest, ConcurrentWritersAndReadersNeverSeeATornFile) {
    TempDir dir;
    std::string path = dir.File("positions.cfg");
    // Large enough that a write cannot be a single atomic block.
    auto content_of = [](int writer) { return std::string(256 * 1024, static_cast<char>('a' + writer)); };
    ASSERT_EQ(Replace(path, content_of(0)), Status::Ok);

    const int kWriters = 3;
    const int kRounds = 40;
    std::atomic<int> written{0};
    std::atomic<int> torn{0};
    std::atomic<int> unexpected{0};
    std::atomic<bool> writing{true};
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&, w] {
            std::string content = content_of(w);
            for (int round = 0; round < kRounds; ++round) {
                Status status = Replace(path, content);
                if (status == Status::Ok) {
                    ++written;
                } else if (status != Status::Busy) {
                    ++unexpected;
                }
            }
        });
    }
    std::thread reader([&] {
        while (writing) {
            std::string seen = ReadThroughLayer(path);
            if (seen.rfind("<status", 0) == 0) {
                if (seen != "<status " + std::to_string(static_cast<int>(Status::Busy)) + ">") ++unexpected;
                continue;
            }
            bool whole = seen.size() == 256 * 1024 && seen.find_first_not_of(seen[0]) == std::string::npos;
            if (!whole) ++torn;
        }
    });
    for (std::thread& thread : threads) thread.join();
    writing = false;
    reader.join();

    EXPECT_EQ(torn, 0);
    EXPECT_EQ(unexpected, 0);
    EXPECT_GT(written, 0);
    std::string final_content = ReadWholeFile(path);
    EXPECT_EQ(final_content.size(), 256u * 1024u);
    EXPECT_EQ(final_content.find_first_not_of(final_content[0]), std::string::npos);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"positions.cfg"});
}

// Asked by name, the size and time are those an open handle gives; the
// default (through the handle calls) agrees with the system's own.
TEST(StatFileTest, GivesTheHandlesSizeAndTimeByName) {
    TempDir dir;
    std::string path = dir.File("stamped.txt");
    ASSERT_TRUE(WriteWholeFile(path, "twelve bytes"));
    platform::Env* env = platform::Env::Default();
    platform::File* file = nullptr;
    ASSERT_EQ(env->OpenForRead(path.c_str(), &file), Status::Ok);
    platform::FileTime opened{};
    std::uint64_t openedSize = 0;
    ASSERT_TRUE(env->GetFileTime(file, &opened) && env->GetFileSize(file, &openedSize));
    env->CloseFile(file);

    std::uint64_t size = 0;
    platform::FileTime time{};
    ASSERT_EQ(env->StatFile(path.c_str(), &size, &time), Status::Ok);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(size, openedSize);
    EXPECT_EQ(time.Low, opened.Low);
    EXPECT_EQ(time.High, opened.High);
    platform::EnvWrapper wrapped(env);
    ASSERT_EQ(wrapped.StatFile(path.c_str(), &size, &time), Status::Ok);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(time.Low, opened.Low);

    EXPECT_EQ(env->StatFile(dir.File("absent.txt").c_str(), &size, &time), Status::NotFound);
    EXPECT_NE(env->StatFile(dir.path().c_str(), &size, &time), Status::Ok) << "a folder is no file";
}

TEST(ProbePathTest, TellsExistingFromMissing) {
    TempDir dir;
    std::string path = dir.File("present.txt");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    char separator = testing_support::PathSeparator();

    EXPECT_EQ(platform::Env::Default()->ProbePath(path.c_str()), Status::Exists);
    EXPECT_EQ(platform::Env::Default()->ProbePath(dir.path().c_str()), Status::Exists);
    EXPECT_EQ(platform::Env::Default()->ProbePath(dir.File("absent.txt").c_str()), Status::NotFound);
    EXPECT_EQ(platform::Env::Default()->ProbePath((dir.File("absent-folder") + separator + "a.txt").c_str()), Status::NotFound);
    // A folder of the path that is a file now.
    EXPECT_EQ(platform::Env::Default()->ProbePath((path + separator + "a.txt").c_str()), Status::NotFound);

    // Folders named with a trailing separator, and the root, exist.
    EXPECT_EQ(platform::Env::Default()->ProbePath((dir.path() + separator).c_str()), Status::Exists);
    EXPECT_EQ(platform::Env::Default()->ProbePath(testing_support::FileSystemRoot().c_str()), Status::Exists);
}

TEST(ProbePathTest, PathOnAnUnmappedDriveIsUnreachable) {
    if (!testing_support::kIsWindows) GTEST_SKIP() << "only Windows has drive letters";
    std::string path = testing_support::UnmappedDrivePath();
    ASSERT_FALSE(path.empty()) << "every drive letter is mapped";
    EXPECT_EQ(platform::Env::Default()->ProbePath(path.c_str()), Status::Unreachable);
    std::string share = "\\\\no-such-server-tarnwick\\share\\a.txt";
    EXPECT_NE(platform::Env::Default()->ProbePath(share.c_str()), Status::NotFound);
    EXPECT_NE(platform::Env::Default()->ProbePath(share.c_str()), Status::Exists);
}

}  // namespace
}  // namespace platform
}  // namespace tarnwick
