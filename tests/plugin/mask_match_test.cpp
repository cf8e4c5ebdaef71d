// The mask check never hands the host's ProcessName a mask that overflows
// its 260-byte buffer, and otherwise passes the list on untouched.

#include "plugin/mask_match.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;

struct Call {
    std::string Masks;
    std::string Name;
    DWORD_T Flags;
    bool NameIsCopy;
};

std::vector<Call> g_calls;
const char* g_originalName = nullptr;
std::string g_matchingMask;  // a PN_CMPNAME call with this mask matches
int g_listResult = 0;        // what a PN_CMPNAMELIST call answers

int TW_STDCALL RecordingProcessName(const char* masks, char* name, DWORD_T flags) {
    // A mask longer than the host's buffer would overflow it: fail loudly.
    if (flags == PN_CMPNAME) {
        EXPECT_LT(std::strlen(masks), static_cast<std::size_t>(kPathSize)) << "a mask the host cannot hold";
    }
    g_calls.push_back(Call{masks, name, flags, name != g_originalName});
    if (flags == PN_CMPNAMELIST) return g_listResult;
    return masks == g_matchingMask ? 1 : 0;
}

class MaskMatchTest : public ::testing::Test {
protected:
    FarStandardFunctions functions_{};
    std::string name_ = "C:\\Data\\report.txt";

    void SetUp() override {
        functions_.ProcessName = RecordingProcessName;
        g_calls.clear();
        g_matchingMask.clear();
        g_listResult = 0;
        g_originalName = name_.c_str();
    }

    bool Match(const std::string& masks) { return MatchMaskListSafely(platform::Env::Default(), functions_, masks.c_str(), name_.c_str()); }

    std::vector<std::string> SingleMasksCompared() const {
        std::vector<std::string> masks;
        for (const Call& call : g_calls) {
            EXPECT_EQ(call.Flags, static_cast<DWORD_T>(PN_CMPNAME));
            masks.push_back(call.Masks);
        }
        return masks;
    }
};

TEST_F(MaskMatchTest, AListOfMasksThatFitGoesToTheHostInOneCallAsTyped) {
    g_listResult = 1;
    EXPECT_TRUE(Match("*.txt;*.ini, *.c"));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].Masks, "*.txt;*.ini, *.c");
    EXPECT_EQ(g_calls[0].Flags, static_cast<DWORD_T>(PN_CMPNAMELIST));
    EXPECT_EQ(g_calls[0].Name, name_);
    EXPECT_TRUE(g_calls[0].NameIsCopy) << "the host gets a writable copy of the name";

    g_listResult = 0;
    EXPECT_FALSE(Match("*.doc"));
}

TEST_F(MaskMatchTest, TheLongestMaskThatFitsKeepsTheListCall) {
    // 511 characters, the most the setting holds, in masks of 259 and less.
    std::string list = std::string(259, 'a') + "," + std::string(251, 'b');
    ASSERT_EQ(list.size(), 511u);
    Match(list);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].Flags, static_cast<DWORD_T>(PN_CMPNAMELIST));
    EXPECT_EQ(g_calls[0].Masks, list);
}

TEST_F(MaskMatchTest, AMaskTooLongForTheHostIsSkippedAndTheOthersAreComparedOneByOne) {
    // Semicolons do not separate masks for the host: this is one mask of 300.
    std::string joined;
    while (joined.size() < 300) joined += "*.log;";
    g_matchingMask = "*.txt";
    EXPECT_TRUE(Match("*.c," + joined + ",,*.h,*.txt,*.ini"));
    EXPECT_EQ(SingleMasksCompared(), (std::vector<std::string>{"*.c", "*.h", "*.txt"}))
        << "empty and oversized masks are skipped; the first match ends the walk";
    for (const Call& call : g_calls) EXPECT_TRUE(call.NameIsCopy);

    g_calls.clear();
    g_matchingMask = "*.md";
    EXPECT_FALSE(Match(joined + ",*.c"));
    EXPECT_EQ(SingleMasksCompared(), std::vector<std::string>{"*.c"});
}

TEST_F(MaskMatchTest, AMaskOfExactly260CharactersNoLongerFits) {
    std::string mask(260, 'x');
    g_matchingMask = "*.txt";
    EXPECT_TRUE(Match(mask + ",*.txt"));
    EXPECT_EQ(SingleMasksCompared(), std::vector<std::string>{"*.txt"});

    g_calls.clear();
    EXPECT_TRUE(Match("*.txt," + mask)) << "a long mask at the end counts too";
    EXPECT_EQ(SingleMasksCompared(), std::vector<std::string>{"*.txt"});
}

TEST_F(MaskMatchTest, AListOfOnlyOversizedMasksMatchesNothingWithoutAskingTheHost) {
    g_listResult = 1;
    EXPECT_FALSE(Match(std::string(511, 'm')));
    EXPECT_FALSE(Match(std::string(300, '*') + ",,"));
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MaskMatchTest, TheLayerOfTheNewerHostGetsEveryListWholeInOneCall) {
    // It copies no mask, and splitting at commas would change what `|`
    // and `;` mean there.
    g_listResult = 1;
    const std::string list = std::string(300, 'x') + ";*.txt|secret*,*.c";
    EXPECT_TRUE(MatchMaskListSafely(platform::Env::Default(), functions_, list.c_str(), name_.c_str(), true));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].Masks, list);
    EXPECT_EQ(g_calls[0].Flags, static_cast<DWORD_T>(PN_CMPNAMELIST));
}

TEST_F(MaskMatchTest, NullListOrNameMatchesNothing) {
    g_listResult = 1;
    EXPECT_FALSE(MatchMaskListSafely(platform::Env::Default(), functions_, nullptr, name_.c_str()));
    EXPECT_FALSE(MatchMaskListSafely(platform::Env::Default(), functions_, "*", nullptr));
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
