// The ViewerControl service of the substitute host: the real host's rules
// that the plug-in must allow for (the line start of VCTL_SETPOSITION, the
// StructSize of VCTL_GETINFO) and its fault in VSP_RELATIVE.
#include <cstddef>
#include <cstring>

#include "core/host_state.h"
#include "host_fixture.h"
#include "services/host_services.h"

namespace hosttest {
namespace {

using namespace tarnwick;
using namespace twhost;

// Lines start at 0, 6 and 11; the file is 17 bytes.
constexpr char kThreeLines[] = "alpha\nbeta\ngamma\n";

class ViewerControlTest : public HostStateTest {
protected:
    // VCTL_SETPOSITION; returns the StartPos the host wrote back.
    std::int64_t SetPosition(std::int64_t startPos, DWORD_T flags = 0, int leftPos = 0) {
        ViewerSetPosition to{flags, startPos, leftPos};
        EXPECT_EQ(HostViewerControl(VCTL_SETPOSITION, &to), 1);
        return to.StartPos;
    }
    std::int64_t Offset() { return ControlledViewer()->FilePos; }
};

TEST_F(ViewerControlTest, SetPositionMovesAnOffsetInsideALineToThatLinesStart) {
    AddViewer(kThreeLines);
    EXPECT_EQ(SetPosition(8), 6);
    EXPECT_EQ(Offset(), 6);
    EXPECT_EQ(SetPosition(15), 11);
    EXPECT_EQ(SetPosition(3), 0);
}

TEST_F(ViewerControlTest, SetPositionMovesALineStartBackOneLineSoThatOnePastTheStartComesBackExactly) {
    AddViewer(kThreeLines);
    EXPECT_EQ(SetPosition(11), 6);
    EXPECT_EQ(SetPosition(6), 0);
    EXPECT_EQ(SetPosition(0), 0);
    // How the plug-in restores a stored line start L: it asks for L + 1.
    EXPECT_EQ(SetPosition(12), 11);
    EXPECT_EQ(SetPosition(7), 6);
    EXPECT_EQ(SetPosition(1), 0);
}

TEST_F(ViewerControlTest, SetPositionInHexModeTakesTheOffsetExactly) {
    AddViewer(kThreeLines).Hex = true;
    EXPECT_EQ(SetPosition(11), 11);
    EXPECT_EQ(SetPosition(8), 8);
    EXPECT_EQ(SetPosition(99), 17);  // past the end: the end
}

TEST_F(ViewerControlTest, SetPositionWithPercentTakesThatShareOfTheFileThenTheLineRule) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.Hex = true;
    EXPECT_EQ(SetPosition(50, VSP_PERCENT), 8);
    viewer.Hex = false;
    EXPECT_EQ(SetPosition(50, VSP_PERCENT), 6);
}

TEST_F(ViewerControlTest, SetPositionRelativeMultipliesByFourAndAlwaysMovesForward) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.Hex = true;
    viewer.FilePos = 4;
    EXPECT_EQ(SetPosition(2, VSP_RELATIVE), 12);
    EXPECT_EQ(SetPosition(-1, VSP_RELATIVE), 16);
}

TEST_F(ViewerControlTest, SetPositionSetsTheFirstColumnAndWritesBackOnlyWhenAsked) {
    SimViewer& viewer = AddViewer(kThreeLines);
    ViewerSetPosition to{VSP_NORETNEWPOS, 8, 5};
    EXPECT_EQ(HostViewerControl(VCTL_SETPOSITION, &to), 1);
    EXPECT_EQ(to.StartPos, 8);
    EXPECT_EQ(viewer.FilePos, 6);
    EXPECT_EQ(viewer.LeftPos, 5);
    ViewerSetPosition negative{0, 0, -3};
    HostViewerControl(VCTL_SETPOSITION, &negative);
    EXPECT_EQ(viewer.LeftPos, 0);
    EXPECT_EQ(negative.LeftPos, 0);
}

// A record filled with a pattern, to see what the host leaves alone.
ViewerInfo Patterned(int structSize) {
    ViewerInfo info;
    std::memset(&info, 0x5A, sizeof info);
    info.StructSize = structSize;
    return info;
}
constexpr int kPattern = 0x5A5A5A5A;

TEST_F(ViewerControlTest, GetInfoWithTheWholeRecordFillsLeftPos) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.FilePos = 6;
    viewer.LeftPos = 3;
    ViewerInfo info = Patterned(sizeof(ViewerInfo));
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &info), 1);
    EXPECT_EQ(info.ViewerID, viewer.Id);
    EXPECT_EQ(info.FileSize, 17);
    EXPECT_EQ(info.FilePos, 6);
    EXPECT_EQ(info.LeftPos, 3);
    EXPECT_EQ(info.Reserved3, 0);
}

TEST_F(ViewerControlTest, GetInfoWithASmallStructSizeFillsTheModeButNotLeftPos) {
    SimViewer& viewer = AddViewer(kThreeLines);
    viewer.FilePos = 11;
    viewer.LeftPos = 3;
    viewer.Hex = true;
    viewer.Wrap = true;
    ViewerInfo info = Patterned(static_cast<int>(offsetof(ViewerInfo, LeftPos)));
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &info), 1);
    EXPECT_EQ(info.FilePos, 11);
    EXPECT_EQ(info.CurMode.Hex, 1);
    EXPECT_EQ(info.CurMode.Wrap, 1);
    EXPECT_EQ(info.CurMode.WordWrap, 0);
    EXPECT_EQ(info.LeftPos, kPattern);
    // Even a record too small for FilePos gets every member up to the mode.
    ViewerInfo tiny = Patterned(8);
    HostViewerControl(VCTL_GETINFO, &tiny);
    EXPECT_EQ(tiny.FilePos, 11);
    EXPECT_EQ(tiny.CurMode.Hex, 1);
    EXPECT_EQ(tiny.LeftPos, kPattern);
}

TEST_F(ViewerControlTest, GetInfoNamesTheTableAsTheHostNumbersIt) {
    SimViewer& viewer = AddViewer(kThreeLines);
    ViewerInfo info = Patterned(sizeof(ViewerInfo));
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.TableNum, -1);
    EXPECT_EQ(info.CurMode.UseDecodeTable, 0);
    viewer.Table = TableChoice{TableMode::Ansi, -1};
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.TableNum, -2);
    EXPECT_EQ(info.CurMode.AnsiMode, 1);
    EXPECT_EQ(info.CurMode.UseDecodeTable, 1);
    viewer.Table = TableChoice{TableMode::Code, 1};
    HostViewerControl(VCTL_GETINFO, &info);
    EXPECT_EQ(info.CurMode.TableNum, 1);
    EXPECT_EQ(info.CurMode.AnsiMode, 0);
}

TEST_F(ViewerControlTest, AnswersZeroWithoutAViewerAndAfterTheHostsMainLoop) {
    ViewerInfo info = Patterned(sizeof(ViewerInfo));
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &info), 0);
    AddViewer(kThreeLines);
    Host().Viewers.Exiting = true;
    EXPECT_EQ(HostViewerControl(VCTL_GETINFO, &info), 0);
    EXPECT_EQ(info.ViewerID, kPattern);
}

}  // namespace
}  // namespace hosttest
