// Temporary names: their form, their numbers, and that a leftover under one
// is what the sweep of stale temporary files removes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/memory_env.h"
#include "platform/env.h"
#include "platform/env_wrapper.h"
#include "platform/temp_names.h"
#include "store/stale_temp_files.h"

namespace tarnwick {
namespace platform {
namespace {

using testing_support::MemoryEnv;

// The <n> of "<path>.<pid>.<n>.tmp"; 0 when `name` is not of that form.
unsigned long NumberIn(const std::string& name, const std::string& path, std::uint32_t processId) {
    const std::string prefix = path + "." + std::to_string(processId) + ".";
    const std::string suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return 0;
    }
    const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::strtoul(digits.c_str(), nullptr, 10);
}

std::string TempName(Env* env, const std::string& path) {
    char buffer[512];
    EXPECT_TRUE(MakeTempName(env, path.c_str(), buffer, sizeof buffer));
    return buffer;
}

// The environment of a process that has ended: its id, the longest there
// is, runs no more; every other process is as the target says.
class EndedProcess : public EnvWrapper {
public:
    static constexpr std::uint32_t kId = 4000000000u;
    explicit EndedProcess(Env* target) : EnvWrapper(target) {}
    std::uint32_t ProcessId() override { return kId; }
    bool ProcessRunning(std::uint32_t processId) override {
        return processId != kId && target()->ProcessRunning(processId);
    }
};

TEST(TempNames, AreThePathWithTheProcessIdAndANewNumberEachTime) {
    Env* env = Env::Default();
    const std::string path = "/folder/positions.cfg";
    const unsigned long first = NumberIn(TempName(env, path), path, env->ProcessId());
    const unsigned long second = NumberIn(TempName(env, path), path, env->ProcessId());
    EXPECT_GT(first, 0u);
    EXPECT_GT(second, first);
}

TEST(TempNames, FitTheRoomOfTheLongestSuffixAndFailWithoutIt) {
    const std::string path(300, 'p');
    std::string room(path.size() + kTempSuffixMax + 1, 'x');
    EndedProcess env(Env::Default());
    EXPECT_TRUE(MakeTempName(&env, path.c_str(), &room[0], room.size()));

    char small[16] = "untouched";
    EXPECT_FALSE(MakeTempName(Env::Default(), "/folder/positions.cfg", small, sizeof small));
    EXPECT_STREQ("", small);
}

TEST(TempNames, WrappersTakeTheirNumbersFromTheirTarget) {
    Env* base = Env::Default();
    EnvWrapper inner(base);
    EnvWrapper outer(&inner);
    const std::string path = "/folder/positions.cfg";
    const std::uint32_t id = base->ProcessId();
    const unsigned long a = NumberIn(TempName(base, path), path, id);
    const unsigned long b = NumberIn(TempName(&outer, path), path, id);
    const unsigned long c = NumberIn(TempName(&inner, path), path, id);
    const unsigned long d = NumberIn(TempName(base, path), path, id);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_LT(c, d);
}

TEST(TempNames, TheLeftoverOfAnEndedProcessIsSweptAndALiveOnesIsKept) {
    MemoryEnv files(Env::Default());
    EndedProcess ended(&files);
    const std::string path = "/folder/positions.cfg";
    const std::string leftover = TempName(&ended, path);
    const std::string live = TempName(&files, path);
    ASSERT_TRUE(files.PutFile(path, "<item"));
    ASSERT_TRUE(files.PutFile(leftover, "<item"));
    ASSERT_TRUE(files.PutFile(live, "<item"));

    EXPECT_EQ(1, store::RemoveStaleTempFiles(&ended, path.c_str()));
    std::string content;
    EXPECT_FALSE(files.GetFile(leftover, &content));
    EXPECT_TRUE(files.GetFile(live, &content));
    EXPECT_TRUE(files.GetFile(path, &content));
}

}  // namespace
}  // namespace platform
}  // namespace tarnwick
