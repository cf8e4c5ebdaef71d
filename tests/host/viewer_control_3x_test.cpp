// The ViewerControl service as the 3.x host's layer translates it: byte
// positions, a line start that stays, the whole record whatever its size,
// the code page as AnsiMode and Unicode, and commands during VE_CLOSE.
#include <cstring>
#include <memory>

#include "core/host_state.h"
#include "host_fixture.h"
#include "services/host_services.h"

namespace hosttest {
namespace {

using namespace tarnwick;
using namespace twhost;

// Lines start at 0, 6 and 11; the file is 17 bytes.
constexpr char kThreeLines[] = "alpha\nbeta\ngamma\n";
constexpr int kPattern = 0x5A5A5A5A;

ViewerInfo Patterned(int structSize) {
    ViewerInfo info;
    std::memset(&info, 0x5A, sizeof info);
    info.StructSize = structSize;
    return info;
}

class ViewerControl3xTest : public HostStateTest {
protected:
    void SetUp() override {
        HostStateTest::SetUp();
        Host().Options.Line = HostLine::Far3;
    }
    ViewerSetPosition SetPosition(std::int64_t startPos, DWORD_T flags = 0, int leftPos = 0) {
        ViewerSetPosition to{flags, startPos, leftPos};
        EXPECT_EQ(HostViewerControl(VCTL_SETPOSITION, &to), 1);
        return to;
    }
};

TEST_F(ViewerControl3xTest, SetPositionKeepsALineStartAndMovesAnOffsetInsideALineToItsStart) {
    SimViewer& viewer = AddViewer(kThreeLines);
    EXPECT_EQ(SetPosition(11).StartPos, 11);
    EXPECT_EQ(SetPosition(6).StartPos, 6);
    EXPECT_EQ(SetPosition(8).StartPos, 6);
    EXPECT_EQ(SetPosition(99).StartPos, 17);
    viewer.Hex = true;
    EXPECT_EQ(SetPosition(8).StartPos, 8);
}

TEST_F(ViewerControl3xTest, SetPositionRelativeMovesBothWaysByTheGivenDistance) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.Hex = true;
    viewer.FilePos = 8;
    EXPECT_EQ(SetPosition(3, VSP_RELATIVE).StartPos, 11);
    EXPECT_EQ(SetPosition(-5, VSP_RELATIVE).StartPos, 6);
    EXPECT_EQ(SetPosition(-50, VSP_RELATIVE).StartPos, 0);
}

TEST_F(ViewerControl3xTest, SetPositionWritesBackStartPosOnly) {
    SimViewer& viewer = AddViewer(kThreeLines);
    ViewerSetPosition to = SetPosition(8, 0, 4);
    EXPECT_EQ(to.StartPos, 6);
    EXPECT_EQ(viewer.LeftPos, 4);
    to = SetPosition(3, 0, -2);
    EXPECT_EQ(to.LeftPos, -2);
    EXPECT_EQ(viewer.LeftPos, 0);
    EXPECT_EQ(SetPosition(12, VSP_NORETNEWPOS).StartPos, 12);
    EXPECT_EQ(viewer.FilePos, 11);
}

TEST_F(ViewerControl3xTest, GetInfoNeedsAStructSizeAndThenWritesTheWholeRecord) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.FilePos = 6;
    viewer.LeftPos = 3;
    viewer.Hex = true;
    ViewerInfo none = Patterned(0);
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &none), 0);
    EXPECT_EQ(none.ViewerID, kPattern);
    ViewerInfo tiny = Patterned(4);
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &tiny), 1);
    EXPECT_EQ(tiny.StructSize, 4);
    EXPECT_EQ(tiny.ViewerID, viewer.Id);
    EXPECT_EQ(tiny.FilePos, 6);
    EXPECT_EQ(tiny.LeftPos, 3);
    EXPECT_EQ(tiny.Reserved3, 0);
    EXPECT_EQ(tiny.CurMode.Hex, 1);
    EXPECT_EQ(tiny.CurMode.TableNum, 0);
    EXPECT_EQ(tiny.CurMode.UseDecodeTable, 0);
}

TEST_F(ViewerControl3xTest, GetInfoShowsTheCodePageAsAnsiModeOrUnicodeWithBytePositions) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.FilePos = 11;
    ViewerInfo info = Patterned(sizeof(ViewerInfo));
    viewer.Table = TableChoice{TableMode::Ansi, -1};
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.AnsiMode, 1);
    EXPECT_EQ(info.CurMode.Unicode, 0);
    viewer.Table = TableChoice{TableMode::Page, 1200};
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.AnsiMode, 0);
    EXPECT_EQ(info.CurMode.Unicode, 1);
    EXPECT_EQ(info.FilePos, 11);
    EXPECT_EQ(info.FileSize, 17);
    EXPECT_EQ(SetPosition(6).StartPos, 6);  // bytes too
    viewer.Table = TableChoice{TableMode::Page, 20866};
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.TableNum, 0);
    EXPECT_EQ(info.CurMode.AnsiMode, 0);
}

TEST_F(ViewerControl3xTest, EveryCommandWorksDuringCloseAndUnknownOnesAnswerTrue) {
    AddViewer(kThreeLines);
    // As CloseViewer leaves it while VE_CLOSE runs.
    ViewerSet& viewers = Host().Viewers;
    viewers.Closing = std::move(viewers.Open.back());
    viewers.Open.pop_back();
    viewers.Closing->Closing = true;
    EXPECT_EQ(SetPosition(8).StartPos, 6);
    ViewerSetMode mode{VSMT_HEX, 1, 0, 0};
    EXPECT_EQ(HostViewerControl(VCTL_SETMODE, &mode), 1);
    EXPECT_TRUE(viewers.Closing->Hex);
    EXPECT_EQ(HostViewerControl(99, nullptr), 1);
    viewers.Exiting = true;
    ViewerInfo info = Patterned(sizeof(ViewerInfo));
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &info), 0);
}

}  // namespace
}  // namespace hosttest
