// Several real host processes on one position file: hosts storing, closing
// and deleting through the plug-in's exports while another only reads; a
// host killed while it holds the update lock; savers killed at random
// moments. The processes are tests/helpers/position_host.
//
// TARNWICK_HOSTS_MS sets how long the hosts run (default 1500 ms),
// TARNWICK_KILL_RUNS how many savers are killed (default 20, 8 on Windows;
// the full runs use 500 natively and 100 under Wine).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/system_tools.h"
#include "common/test_support.h"
#include "store/position_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::Host;
using store_testing::StoredLine;
using testing_support::ChildProcess;
using testing_support::FileExists;
using testing_support::ReadWholeFile;
using testing_support::TempDir;

int Setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

std::string HelperProgram() { return testing_support::SiblingProgram("position_host"); }

int CountNamesEndingIn(const std::string& folder, const std::string& suffix) {
    int count = 0;
    for (const std::string& name : testing_support::ListFolder(folder)) {
        if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            ++count;
        }
    }
    return count;
}

bool WaitForFile(const std::string& path, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 1) {
        if (FileExists(path)) return true;
        testing_support::SleepMs(1);
    }
    return FileExists(path);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(PositionFileProcesses, FourHostsAndAReaderLoseNoUpdate) {
    TempDir dir;
    const std::string cfg = dir.File("Tarnwick.cfg");
    const int hostCount = 4;
    const int milliseconds = Setting("TARNWICK_HOSTS_MS", 1500);

    std::vector<ChildProcess> hosts(hostCount);
    for (int id = 0; id < hostCount; ++id) {
        const std::string name = std::to_string(id + 1);
        ASSERT_TRUE(hosts[id].Start(HelperProgram(), {"host", dir.path(), name, std::to_string(milliseconds),
                                                      dir.File("host" + name)}));
    }
    ChildProcess reader;
    ASSERT_TRUE(reader.Start(HelperProgram(), {"reader", cfg, std::to_string(milliseconds), dir.File("reader")}));
    for (ChildProcess& host : hosts) EXPECT_EQ(0, host.Wait());
    EXPECT_EQ(0, reader.Wait());

    Host last;
    ASSERT_TRUE(Load(last.File, cfg.c_str()));
    long operations = 0, midRun = 0;
    int checked = 0, lost = 0, resurrected = 0;
    for (int id = 1; id <= hostCount; ++id) {
        std::istringstream results(ReadWholeFile(dir.File("host" + std::to_string(id))));
        std::string word, word2;
        long count = 0, mismatches = 0;
        ASSERT_TRUE(results >> word >> count >> word2 >> mismatches) << "host " << id << " wrote no results";
        operations += count;
        midRun += mismatches;
        std::string path;
        int value = 0;
        while (results >> path >> value) {
            if (value == -1) continue;
            ++checked;
            const int stored = StoredLine(last.File, path);
            if (value == -2 && stored != -1000) {
                ++resurrected;
                ADD_FAILURE() << path << " was deleted and came back";
            } else if (value >= 0 && stored != value) {
                ++lost;
                ADD_FAILURE() << path << ": last stored " << value << ", on disk " << stored;
            }
        }
    }
    std::istringstream readerResults(ReadWholeFile(dir.File("reader")));
    std::string readsWord, tornWord;
    long reads = 0, torn = -1;
    ASSERT_TRUE(readerResults >> readsWord >> reads >> tornWord >> torn);
    std::printf("[ hosts    ] %d hosts for %d ms: %ld operations (store, close, delete); after each, the host's own "
                "files not on disk as it left them: %ld; at the end %d final positions checked, %d lost, %d deleted "
                "ones back; reader: %ld reads, %ld torn\n",
                hostCount, milliseconds, operations, midRun, checked, lost, resurrected, reads, torn);
    EXPECT_EQ(0, midRun);
    EXPECT_GT(operations, 0);
    EXPECT_EQ(0, lost);
    EXPECT_EQ(0, resurrected);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(0, torn);
    // Every lock was let go with its file.
    EXPECT_EQ(0, CountNamesEndingIn(dir.path(), ".twlock"));
    EXPECT_EQ(0, CountNamesEndingIn(dir.path(), ".tmp"));
}

TEST(PositionFileProcesses, AHostThatHangsOrDiesHoldingTheLockHoldsNobodyUp) {
    TempDir dir;
    const std::string cfg = dir.File("Tarnwick.cfg");
    const std::string marker = dir.File("held");
    ChildProcess holder;
    ASSERT_TRUE(holder.Start(HelperProgram(), {"holdlock", cfg, marker}));
    ASSERT_TRUE(WaitForFile(marker, 30000));

    // Hung: the wait runs out after about a second and the update goes on.
    Host host;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(BeginUpdate(host.File, cfg.c_str()));
    const double hung = SecondsSince(start);
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "A", store_testing::Position(1)));
    EXPECT_TRUE(Save(host.File, cfg.c_str(), false));
    EndUpdate(host.File);
    // The next wait is short while the holder still hangs.
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(BeginUpdate(host.File, cfg.c_str()));
    const double again = SecondsSince(start);
    EndUpdate(host.File);
    EXPECT_LT(again, hung);

    // Dead: the system let the lock go with the process.
    holder.Kill();
    start = std::chrono::steady_clock::now();
    EXPECT_TRUE(BeginUpdate(host.File, cfg.c_str()));
    const double dead = SecondsSince(start);
    EndUpdate(host.File);
    std::printf("[ lock     ] holder hung: went on after %.3f s, then %.3f s; holder killed: lock had after %.3f s\n",
                hung, again, dead);
    EXPECT_LT(hung, 5.0);
    EXPECT_EQ(0, CountNamesEndingIn(dir.path(), ".twlock"));
    EXPECT_EQ("A", store_testing::ItemPaths(host.File).front());
}

// The file holds one whole generation: ten items of one line, at least the
// generation seen before.
void ExpectWholeGeneration(const std::string& cfg, int* generation, int kill) {
    Host reader;
    ASSERT_TRUE(Load(reader.File, cfg.c_str())) << "kill " << kill;
    const int count = CountItems(reader.File, ItemKind::Editor);
    if (count == 0) {
        EXPECT_EQ(0, *generation) << "kill " << kill << ": the items are gone";
        return;
    }
    ASSERT_EQ(10, count) << "kill " << kill;
    const int line = StoredLine(reader.File, "C:\\k\\f0");
    for (int k = 1; k < 10; ++k) {
        EXPECT_EQ(line, StoredLine(reader.File, "C:\\k\\f" + std::to_string(k))) << "kill " << kill << ": a mixed set";
    }
    EXPECT_GE(line, *generation) << "kill " << kill << ": an older set came back";
    *generation = line;
}

TEST(PositionFileProcesses, SaversKilledAtRandomNeverTearTheFileNorLitterTheFolder) {
    TempDir dir;
    const std::string cfg = dir.File("Tarnwick.cfg");
    const int kills = Setting("TARNWICK_KILL_RUNS", testing_support::kIsWindows ? 8 : 20);
    // Killed at a random moment of its first saves: one save takes a few
    // milliseconds natively, far longer under Wine.
    const int maxDelay = testing_support::kIsWindows ? 150 : 25;
    const std::string marker = dir.File("saving");
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, maxDelay);

    int generation = 0;
    int maxTemp = 0;
    int maxLocks = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(HelperProgram(), {"saver", cfg, marker}));
        ASSERT_TRUE(WaitForFile(marker, 60000));
        // The saver announces itself after its first save.
        testing_support::SleepMs(static_cast<unsigned>(delay(random)));
        saver.Kill();
        testing_support::DeleteFilePath(marker);
        const int temp = CountNamesEndingIn(dir.path(), ".tmp");
        maxTemp = temp > maxTemp ? temp : maxTemp;
        const int locks = CountNamesEndingIn(dir.path(), ".twlock");
        maxLocks = locks > maxLocks ? locks : maxLocks;
        ExpectWholeGeneration(cfg, &generation, kill);
        if (::testing::Test::HasFatalFailure()) return;
        EXPECT_LE(temp, 3) << "kill " << kill;
    }
    // A later save takes the leftovers away.
    Host host;
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    const int left = CountNamesEndingIn(dir.path(), ".tmp");
    std::printf("[ kills    ] %d savers killed: the file was whole every time (last generation %d); at most %d "
                "temporary files and %d lock files seen, %d left after the next save\n",
                kills, generation, maxTemp, maxLocks, left);
    EXPECT_EQ(0, left);
    EXPECT_GT(generation, 0);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
