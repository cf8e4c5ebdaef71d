// The EditorControl service's character tables and numbered bookmarks in
// the substitute host: ESPT_CHARTABLE with the real host's fall-through
// into the "save file position" option, and the bookmark keys as the
// user's keys and ECTL_PROCESSKEY press them, moving with the text.
#include <cstdint>
#include <string>
#include <vector>

#include "core/bookmarks.h"
#include "core/host_state.h"
#include "host_fixture.h"
#include "services/host_services.h"

namespace hosttest {
namespace {

using namespace tarnwick;
using namespace twhost;

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
}

class EditorControlTest : public HostStateTest {
protected:
    int SetTable(int value) {
        EditorSetParameter set{};
        set.Type = ESPT_CHARTABLE;
        set.Param = value;
        return HostEditorControl(ECTL_SETPARAM, &set);
    }
    int Press(DWORD_T key) {
        return HostEditorControl(ECTL_PROCESSKEY, reinterpret_cast<void*>(static_cast<INT_PTR_T>(key)));
    }
    void MoveTo(SimEditor& editor, int line, int pos, int top) {
        editor.CurLine = line;
        editor.CurPos = pos;
        editor.TopScreenLine = top;
    }
    static bool SavesPosition(const SimEditor& editor) { return (editor.Options & EOPT_SAVEFILEPOSITION) != 0; }
};

TEST_F(EditorControlTest, CharTableSwitchesTheTableAndTurnsOnSaveFilePosition) {
    SimEditor& editor = AddEditor(Numbered(3));
    editor.Options = 0;
    EXPECT_EQ(SetTable(3 + 1), 1);
    EXPECT_EQ(DescribeTable(editor.Table), "1 ISO-8859-5");
    EXPECT_TRUE(SavesPosition(editor));
    editor.Options = 0;
    EXPECT_EQ(SetTable(2), 1);
    EXPECT_EQ(editor.Table.Mode, TableMode::Ansi);
    EXPECT_TRUE(SavesPosition(editor));
    EditorInfo info{};
    HostEditorControl(ECTL_GETINFO, &info);
    EXPECT_EQ(info.AnsiMode, 1);
    EXPECT_EQ(info.TableNum, -1);
}

TEST_F(EditorControlTest, CharTableZeroSelectsOemAndTurnsSaveFilePositionOff) {
    SimEditor& editor = AddEditor(Numbered(3));
    editor.Table = TableChoice{TableMode::Code, 0};
    ASSERT_TRUE(SavesPosition(editor));
    EXPECT_EQ(SetTable(0), 1);
    EXPECT_EQ(editor.Table.Mode, TableMode::Oem);
    EXPECT_FALSE(SavesPosition(editor));
}

TEST_F(EditorControlTest, CharTableTheHostDoesNotHaveFailsAndKeepsTheTableButStillSetsTheOption) {
    SimEditor& editor = AddEditor(Numbered(3));
    editor.Table = TableChoice{TableMode::Code, 0};
    editor.Options = 0;
    ASSERT_TRUE(RemoveCodeTable("ISO-8859-5"));
    EXPECT_EQ(SetTable(3 + 1), 0);
    EXPECT_EQ(DescribeTable(editor.Table), "0 KOI8-R");
    EXPECT_TRUE(SavesPosition(editor));
}

TEST_F(EditorControlTest, SetKeysRecordTheCursorAndGetBookmarksReportsThem) {
    SimEditor& editor = AddEditor(Numbered(60));
    MoveTo(editor, 40, 4, 30);
    editor.LeftPos = 2;
    EXPECT_EQ(Press(KEY_RCTRL0 + 3), 1);
    MoveTo(editor, 12, 1, 10);
    editor.LeftPos = 0;
    // Ctrl+Shift+n is turned into RightCtrl+n.
    EXPECT_EQ(Press(KEY_CTRLSHIFT0 + 9), 1);
    EXPECT_EQ(DescribeBookmarks(editor), "3:40,4,10,2 9:12,1,2,0");

    std::int32_t lines[kBookmarkSlots], cursors[kBookmarkSlots];
    EditorBookMarks marks{lines, cursors, nullptr, nullptr, {}};
    EXPECT_EQ(HostEditorControl(ECTL_GETBOOKMARKS, &marks), 1);
    EXPECT_EQ(lines[3], 40);
    EXPECT_EQ(cursors[3], 4);
    EXPECT_EQ(lines[9], 12);
    EXPECT_EQ(lines[0], -1);
}

TEST_F(EditorControlTest, GoKeyPutsTheWindowWhereTheBookmarkWasAndAnUnsetSlotMovesNothing) {
    SimEditor& editor = AddEditor(Numbered(60));
    MoveTo(editor, 40, 4, 30);
    Press(KEY_RCTRL0 + 3);
    MoveTo(editor, 0, 0, 0);
    EXPECT_EQ(Press(KEY_CTRL0 + 3), 1);
    EXPECT_EQ(editor.CurLine, 40);
    EXPECT_EQ(editor.CurPos, 4);
    EXPECT_EQ(editor.TopScreenLine, 30);
    EXPECT_EQ(Press(KEY_CTRL0 + 5), 1);
    EXPECT_EQ(editor.CurLine, 40);
    EXPECT_EQ(editor.TopScreenLine, 30);
}

TEST_F(EditorControlTest, BookmarkKeysWorkOnlyOnAnEditorThatIsNotClosing) {
    SimEditor& editor = AddEditor(Numbered(5));
    editor.Closing = true;
    EXPECT_EQ(Press(KEY_RCTRL0 + 1), 0);
    EXPECT_EQ(DescribeBookmarks(editor), "none");
}

TEST_F(EditorControlTest, BookmarksBelowMoveWithInsertedAndDeletedLines) {
    SimEditor& editor = AddEditor(Numbered(20));
    MoveTo(editor, 2, 0, 0);
    Press(KEY_RCTRL0 + 1);
    MoveTo(editor, 10, 3, 0);
    Press(KEY_RCTRL0 + 0);
    MoveTo(editor, 5, 2, 0);
    std::string error;
    ASSERT_TRUE(EditAtCursor(EditKind::BreakLine, &error)) << error;
    EXPECT_EQ(DescribeBookmarks(editor), "0:11,3,10,0 1:2,0,2,0");
    // Backspace at the start of the new line joins it back.
    ASSERT_TRUE(EditAtCursor(EditKind::DeleteBefore, &error)) << error;
    EXPECT_EQ(DescribeBookmarks(editor), "0:10,3,10,0 1:2,0,2,0");
    // Del at the end of line 9 joins line 10, the bookmark's, into it.
    MoveTo(editor, 9, static_cast<int>(editor.Lines[9].size()), 0);
    ASSERT_TRUE(EditAtCursor(EditKind::DeleteAt, &error)) << error;
    EXPECT_EQ(DescribeBookmarks(editor), "0:9,3,10,0 1:2,0,2,0");
}

}  // namespace
}  // namespace hosttest
