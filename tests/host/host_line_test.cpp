// What the substitute host does differently when it plays the 3.x host's
// layer for 1.x plug-ins: the names it hands over in the OEM code page, the
// editor state it reports, the root key it gives, and the events of saving
// and closing an editor.
#include <cstdio>
#include <string>
#include <vector>

#include "core/host_state.h"
#include "core/oem_names.h"
#include "host_fixture.h"
#include "services/host_services.h"
#include "session/session_system.h"

namespace hosttest {
namespace {

using namespace tarnwick;
using namespace twhost;

TEST(OemNames, KeepAsciiAndTheCodePagesOwnCharacters) {
    EXPECT_EQ(OemNameOf("C:\\Data\\a b.txt"), "C:\\Data\\a b.txt");
    // é, ü, ß and the box-drawing bar are all in code page 437.
    EXPECT_EQ(OemNameOf("caf\xC3\xA9 \xC3\xBC\xC3\x9F\xE2\x94\x82"), "caf\x82 \x81\xE1\xB3");
}

TEST(OemNames, TurnLettersTheCodePageLacksIntoTheirBaseLetterAndTheRestIntoQuestionMarks) {
    // ő and Ł have a best fit; the euro sign, a CJK character and an emoji
    // (four bytes, one character) have none.
    EXPECT_EQ(OemNameOf("\xC5\x91.txt"), "o.txt");
    EXPECT_EQ(OemNameOf("\xC5\x81\xC3\xB3" "dz"), "L\xA2" "dz");
    EXPECT_EQ(OemNameOf("\xE2\x82\xAC" "1\xE4\xB8\xAD" "2\xF0\x9F\x98\x80"), "?1?2?");
}

TEST(OemNames, PassBytesThatAreNotUtf8ThroughAsTheyAre) {
    // A lone continuation byte, a lead byte cut off by the end, an overlong
    // form: a name already in OEM bytes is left alone.
    EXPECT_EQ(OemNameOf("a\x82" "b"), "a\x82" "b");
    EXPECT_EQ(OemNameOf("a\xC3"), "a\xC3");
    EXPECT_EQ(OemNameOf("\xC0\xAF"), "\xC0\xAF");
}

TEST(OemNames, WideNamesUseSurrogatePairsAndKeepStrayBytesAsTheirValue) {
    EXPECT_EQ(WideNameOf("a\xC5\x91\xF0\x9F\x98\x80"), (std::u16string{u'a', 0x0151, 0xD83D, 0xDE00}));
    EXPECT_EQ(WideNameOf("\x82"), std::u16string(1, char16_t{0x82}));
}

TEST(HostRootKeys, TheShapeTellsTheHostsApart) {
    EXPECT_EQ(HostRootKey(HostLine::Far175, ""), "Software\\Far\\Plugins");
    EXPECT_EQ(HostRootKey(HostLine::Far3, ""), "Software\\Far Manager\\Plugins");
    EXPECT_EQ(HostRootKey(HostLine::Far3, "anna"), "Software\\Far Manager\\Users\\anna\\Plugins");
}

// One event as the plug-in saw it, and what ECTL_GETINFO answered inside it.
struct SeenEvent {
    int Event;
    INT_PTR_T Id;
    std::u16string SavedName;
    int InfoResult;
    DWORD_T State;
};
std::vector<SeenEvent> seenEvents;

int TW_STDCALL RecordEvent(int event, void* param) {
    SeenEvent seen{event, -1, {}, 0, 0};
    if (event == EE_CLOSE || event == EE_GOTFOCUS || event == EE_KILLFOCUS) seen.Id = *static_cast<INT_PTR_T*>(param);
    if (event == EE_SAVE && param != nullptr) {
        // The 3.x host's record: its size, then the wide name.
        const char16_t* name = *reinterpret_cast<const char16_t* const*>(static_cast<const char*>(param) + sizeof(std::size_t));
        seen.SavedName = name;
    }
    EditorInfo info{};
    seen.InfoResult = HostEditorControl(ECTL_GETINFO, &info);
    seen.State = info.CurState;
    seenEvents.push_back(seen);
    return 0;
}

int TW_STDCALL RecordViewerEvent(int event, void* param) {
    SeenEvent seen{event, param != nullptr ? *static_cast<INT_PTR_T*>(param) : -1, {}, 0, 0};
    seenEvents.push_back(seen);
    return 0;
}

class HostLineTest : public HostStateTest {
protected:
    void SetUp() override {
        HostStateTest::SetUp();
        Host().Options.Line = HostLine::Far3;
        seenEvents.clear();
    }
    void TearDown() override {
        Host().Options.Line = HostLine::Far175;
        Host().Module = PluginModule{};
        HostStateTest::TearDown();
    }
    // A module that only records the editor events it gets.
    void LoadRecorder() {
        Host().Module.Handle = &Host().Module;
        Host().Module.ProcessEditorEvent = RecordEvent;
        Host().Module.ProcessViewerEvent = RecordViewerEvent;
    }
    DWORD_T ReportedStateNow() {
        EditorInfo info{};
        EXPECT_EQ(HostEditorControl(ECTL_GETINFO, &info), 1);
        return info.CurState;
    }
};

TEST_F(HostLineTest, ModifiedMeansWrittenOnceAndSavedMeansNoUnsavedChanges) {
    SimEditor& editor = AddEditor({"a"});
    EXPECT_EQ(ReportedStateNow(), static_cast<DWORD_T>(ECSTATE_SAVED));
    // Edited, never saved: neither bit, as a clean file shows in 1.75.
    editor.CurState = ECSTATE_MODIFIED;
    EXPECT_EQ(ReportedStateNow(), 0u);
    editor.CurState = ECSTATE_SAVED;
    editor.WrittenOnce = true;
    EXPECT_EQ(ReportedStateNow(), static_cast<DWORD_T>(ECSTATE_SAVED | ECSTATE_MODIFIED));
    editor.CurState = ECSTATE_MODIFIED;
    EXPECT_EQ(ReportedStateNow(), static_cast<DWORD_T>(ECSTATE_MODIFIED));

    Host().Options.Line = HostLine::Far175;
    EXPECT_EQ(ReportedStateNow(), static_cast<DWORD_T>(ECSTATE_MODIFIED));
}

TEST_F(HostLineTest, GetInfoGivesTheOemNameInOneBufferAndNeverAnsiMode) {
    SimEditor& editor = AddEditor({"a"});
    editor.FileName = "/work/\xC5\x91.txt";
    editor.Table = TableChoice{TableMode::Ansi, -1};
    EditorInfo info{};
    ASSERT_EQ(HostEditorControl(ECTL_GETINFO, &info), 1);
    EXPECT_STREQ(info.FileName, "/work/o.txt");
    EXPECT_EQ(info.AnsiMode, 0);
    EXPECT_EQ(info.BookMarkCount, 10);
    EXPECT_EQ(info.Reserved[0], 0u);
    // The next call overwrites the same buffer.
    const char* first = info.FileName;
    editor.FileName = "/work/\xE2\x82\xAC.txt";
    ASSERT_EQ(HostEditorControl(ECTL_GETINFO, &info), 1);
    EXPECT_EQ(info.FileName, first);
    EXPECT_STREQ(first, "/work/?.txt");
}

TEST_F(HostLineTest, GetBookmarksWithoutARecordFails) {
    AddEditor({"a"});
    EXPECT_EQ(HostEditorControl(ECTL_GETBOOKMARKS, nullptr), 0);
}

TEST_F(HostLineTest, ClosingTheCurrentEditorLosesTheFocusFirstAndStillDescribesItself) {
    LoadRecorder();
    const int firstId = AddEditor({"a"}).Id;
    SimEditor& second = AddEditor({"b"});
    second.CurState = ECSTATE_MODIFIED;
    const int secondId = second.Id;
    std::string error;
    ASSERT_TRUE(CloseEditor(secondId, &error)) << error;
    ASSERT_EQ(seenEvents.size(), 3u);
    EXPECT_EQ(seenEvents[0].Event, EE_KILLFOCUS);
    EXPECT_EQ(seenEvents[0].Id, secondId);
    EXPECT_EQ(seenEvents[1].Event, EE_CLOSE);
    EXPECT_EQ(seenEvents[1].Id, secondId);
    EXPECT_EQ(seenEvents[1].InfoResult, 1);
    EXPECT_EQ(seenEvents[1].State, 0u);  // unsaved edits, never written
    EXPECT_EQ(seenEvents[2].Event, EE_GOTFOCUS);
    EXPECT_EQ(seenEvents[2].Id, firstId);
}

TEST_F(HostLineTest, ClosingAnotherEditorSendsNoLossOfFocus) {
    LoadRecorder();
    SimEditor& first = AddEditor({"a"});
    AddEditor({"b"});
    std::string error;
    ASSERT_TRUE(CloseEditor(first.Id, &error)) << error;
    // The closing editor is made current for the event; focus then returns.
    ASSERT_EQ(seenEvents.size(), 2u);
    EXPECT_EQ(seenEvents[0].Event, EE_CLOSE);
    EXPECT_EQ(seenEvents[1].Event, EE_GOTFOCUS);
}

TEST_F(HostLineTest, ClosingTheCurrentViewerLosesTheFocusFirst) {
    LoadRecorder();
    const int id = AddViewer("text").Id;
    std::string error;
    ASSERT_TRUE(CloseViewer(id, &error)) << error;
    ASSERT_EQ(seenEvents.size(), 2u);
    EXPECT_EQ(seenEvents[0].Event, VE_KILLFOCUS);
    EXPECT_EQ(seenEvents[0].Id, id);
    EXPECT_EQ(seenEvents[1].Event, VE_CLOSE);
    EXPECT_EQ(seenEvents[1].Id, id);
}

TEST_F(HostLineTest, SaveHandsTheWideNameAndMarksTheFileWritten) {
    LoadRecorder();
    SimEditor& editor = AddEditor({"a"});
    std::string path = testing::TempDir() + "host_line_\xC5\x91.txt";
    editor.FileName = path;
    editor.CurState = ECSTATE_MODIFIED;
    std::string error;
    ASSERT_TRUE(SaveEditor(&error)) << error;
    std::remove(path.c_str());
    ASSERT_EQ(seenEvents.size(), 1u);
    EXPECT_EQ(seenEvents[0].Event, EE_SAVE);
    EXPECT_EQ(seenEvents[0].SavedName, WideNameOf(path));
    EXPECT_EQ(seenEvents[0].State, static_cast<DWORD_T>(ECSTATE_SAVED | ECSTATE_MODIFIED));
}

}  // namespace
}  // namespace hosttest
