// The 3.x layer's numbering of code pages as character tables, and the
// CharTable and ECTL_SETPARAM services built on it.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/host_state.h"
#include "host_fixture.h"
#include "kit/code_pages.h"
#include "services/host_services.h"

namespace hosttest {
namespace {

using namespace tarnwick;
using namespace twhost;
using hostkit::CodePageSetup;

CodePageSetup PagesWithUtf8AmongFavourites() {
    CodePageSetup setup;
    setup.Oem = 866;
    setup.Ansi = 1251;
    setup.Favourites = {20866, 65001, 28595};
    return setup;
}

TEST(CodePagesTest, TableNumGivesOemAnsiFavouritesAndOtherPagesTheirNumbers) {
    const CodePageSetup setup = PagesWithUtf8AmongFavourites();
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 866), 0);
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 1251), 1);
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 20866), 2);
    // A multi-byte page counts as ANSI even from the favourites list, and
    // the favourites after it keep their places.
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 65001), 1);
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 1200), 1);
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 28595), 4);
    EXPECT_EQ(hostkit::TableNumOfCodePage(setup, 437), -439);
}

TEST(CodePagesTest, EveryTableNumTheHostGivesLeadsBackThroughTheSetParamRule) {
    const CodePageSetup setup = PagesWithUtf8AmongFavourites();
    for (unsigned page : {866u, 1251u, 20866u, 28595u, 437u, 1252u}) {
        const int tableNum = hostkit::TableNumOfCodePage(setup, page);
        // The plug-in's rule from EditorInfo back to iParam.
        const int param = tableNum >= 0 ? tableNum + 3 : tableNum == -1 ? 1 : tableNum;
        unsigned back = 0;
        ASSERT_TRUE(hostkit::CodePageOfTableParam(setup, param, &back)) << page;
        EXPECT_EQ(back, page);
    }
}

TEST(CodePagesTest, SetParamValuesWithoutAPageAreRefused) {
    const CodePageSetup setup = PagesWithUtf8AmongFavourites();
    unsigned page = 0;
    EXPECT_FALSE(hostkit::CodePageOfTableParam(setup, 0, &page));
    EXPECT_FALSE(hostkit::CodePageOfTableParam(setup, -1, &page));
    EXPECT_FALSE(hostkit::CodePageOfTableParam(setup, 3 + 5, &page));  // favourite 3 of 3
    ASSERT_TRUE(hostkit::CodePageOfTableParam(setup, 1, &page));
    EXPECT_EQ(page, 866u);
    ASSERT_TRUE(hostkit::CodePageOfTableParam(setup, 2, &page));
    EXPECT_EQ(page, 1251u);
}

TEST(CodePagesTest, TableNameIsThePaddedNumberABarAndTheName) {
    EXPECT_EQ(hostkit::CodePageTableName(866), "  866\xB3OEM Russian");
    EXPECT_EQ(hostkit::CodePageTableName(20866), "20866\xB3KOI8-R");
    EXPECT_EQ(hostkit::CodePageNamed("koi8-r"), 20866u);
    EXPECT_EQ(hostkit::CodePageNamed("none"), 0u);
}

class CodePageServicesTest : public HostStateTest {
protected:
    void SetUp() override {
        HostStateTest::SetUp();
        Host().Options.Line = HostLine::Far3;
    }
    int SetParam(int type, int value) {
        EditorSetParameter set{};
        set.Type = type;
        set.Param = value;
        return HostEditorControl(ECTL_SETPARAM, &set);
    }
    EditorInfo Info() {
        EditorInfo info{};
        EXPECT_EQ(HostEditorControl(ECTL_GETINFO, &info), 1);
        return info;
    }
};

TEST_F(CodePageServicesTest, CharTableNeedsTheExactSizeAndASingleBytePage) {
    CharTableSet set;
    char* buffer = reinterpret_cast<char*>(&set);
    EXPECT_EQ(HostCharTable(2, buffer, kCharTableSetSize - 1), -1);
    EXPECT_EQ(HostCharTable(2, buffer, kCharTableSetSize), 2);
    EXPECT_STREQ(set.TableName, "20866\xB3KOI8-R");
    EXPECT_EQ(set.DecodeTable[0xC1], 0xA0);  // KOI8-R's small a in 866
    EXPECT_EQ(HostCharTable(0, buffer, kCharTableSetSize), 0);
    EXPECT_EQ(set.DecodeTable[0xC1], 0xC1);
    EXPECT_EQ(HostCharTable(4, buffer, kCharTableSetSize), -1);  // UTF-8
    EXPECT_EQ(HostCharTable(5, buffer, kCharTableSetSize), -1);  // no such favourite
    EXPECT_EQ(HostCharTable(-439, buffer, kCharTableSetSize), -439);
    EXPECT_EQ(HostCharTable(FCT_DETECT, buffer, kCharTableSetSize), -1);
}

TEST_F(CodePageServicesTest, GetInfoNumbersTheEditorsCodePageAndNeverReportsAnsiMode) {
    SimEditor& editor = AddEditor({"text"});
    EXPECT_EQ(Info().TableNum, 0);
    editor.Table = TableChoice{TableMode::Ansi, -1};
    EXPECT_EQ(Info().TableNum, 1);
    EXPECT_EQ(Info().AnsiMode, 0);
    editor.Table = TableChoice{TableMode::Page, 28595};
    EXPECT_EQ(Info().TableNum, 3);
    editor.Table = TableChoice{TableMode::Page, 437};
    EXPECT_EQ(Info().TableNum, -439);
}

TEST_F(CodePageServicesTest, CharTableParamChangesTheCodePageWithoutTouchingSaveFilePosition) {
    SimEditor& editor = AddEditor({"text"});
    editor.Options = 0;
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, 2 + 3), 1);
    EXPECT_EQ(DescribeTable(editor.Table), "20866 KOI8-R");
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, -(437 + 2)), 1);
    EXPECT_EQ(Info().TableNum, -439);
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, 2), 1);
    EXPECT_EQ(DescribeTable(editor.Table), "ansi");
    EXPECT_EQ(editor.Options & EOPT_SAVEFILEPOSITION, 0u);
    // Refused: no page, a missing favourite, a page the editor does not know.
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, 0), 0);
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, 3 + 9), 0);
    EXPECT_EQ(SetParam(ESPT_CHARTABLE, -(12345 + 2)), 0);
    EXPECT_EQ(DescribeTable(editor.Table), "ansi");
    EXPECT_EQ(SetParam(ESPT_SAVEFILEPOSITION, 1), 1);
    EXPECT_NE(editor.Options & EOPT_SAVEFILEPOSITION, 0u);
}

TEST_F(CodePageServicesTest, ScriptsNameCodePagesByNumberOrName) {
    TableChoice table;
    std::string error;
    ASSERT_TRUE(ParseTable("KOI8-R", &table, &error));
    EXPECT_EQ(DescribeTable(table), "20866 KOI8-R");
    ASSERT_TRUE(ParseTable("866", &table, &error));
    EXPECT_EQ(DescribeTable(table), "oem");
    ASSERT_TRUE(ParseTable("65001", &table, &error));
    EXPECT_EQ(DescribeTable(table), "65001 UTF-8");
    EXPECT_FALSE(ParseTable("12345", &table, &error));
}

}  // namespace
}  // namespace hosttest
