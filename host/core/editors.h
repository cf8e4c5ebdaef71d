// The host's simulated editors over real files on disk. Each has an id
// (increasing from 1), the file's full name, its lines, the cursor, the top
// screen line, the left scroll position, the overtype mode, the
// modified/saved state the host reports, its ten numbered bookmarks
// (core/bookmarks.h), the character table it shows the text in and its
// options. The host's EditorControl service
// works on the current editor, as in the real host.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/char_tables.h"
#include "plugin/host_abi.h"

namespace twhost {

// The editor window: 80 columns, 23 text lines.
constexpr int kEditorWidth = 80;
constexpr int kEditorHeight = 23;
constexpr int kEditorTabSize = 8;

// One numbered bookmark: what the editor had when it was set. -1 in all
// four: not set (the host tests only Line).
struct EditorMark {
    int Line = -1;
    int Cursor = -1;
    int ScreenLine = -1;
    int LeftPos = -1;
};

struct SimEditor {
    int Id = 0;
    std::string FileName;             // full path, as the host reports it
    std::vector<std::string> Lines;   // at least one line
    std::string LineEnd = "\n";       // the file's own line end, used when saving
    int CurLine = 0;                  // 0-based, like every number the host reports
    int CurPos = 0;
    int TopScreenLine = 0;
    int LeftPos = 0;
    int Overtype = 0;
    // The 1.75 host's state: ECSTATE_MODIFIED while there are unsaved
    // changes, ECSTATE_SAVED after a save (ReportedState gives the plug-in's).
    tarnwick::DWORD_T CurState = 0;
    bool WrittenOnce = false;         // saved at least once since it was opened
    EditorMark Marks[tarnwick::kBookmarkSlots];  // all unset at first
    TableChoice Table;                // OEM unless the host's memory says otherwise
    // The host's default: the editor's position goes into the host's own
    // history when it closes.
    tarnwick::DWORD_T Options = tarnwick::EOPT_SAVEFILEPOSITION;
    bool Closing = false;             // EE_CLOSE is running: only ECTL_GETINFO and ECTL_GETBOOKMARKS work
    // What reading the text would cost the 1.75 host, which keeps the lines
    // in a linked list: the steps of its walks to the lines asked for
    // (ECTL_GETSTRING) and to the cursor's new line (ECTL_SETPOSITION), and
    // the lines read, since the editor was opened (hostkit::LineWalk).
    long long WalkSteps = 0;
    long long LinesRead = 0;
};

// The host's editors and their window (a member of the host's state).
struct EditorSet {
    std::vector<std::unique_ptr<SimEditor>> Open;  // in opening order
    std::vector<int> Focus;                        // ids, the current one last
    int NextId = 1;
    bool PanelsActive = false;
    int Width = kEditorWidth;
    int Height = kEditorHeight;
    bool FrontendRedraws = false;
    // The host is past its main loop at exit: EditorControl answers 0.
    bool Exiting = false;
    // The 3.x layer's one buffer for the name ECTL_GETINFO hands out; the
    // next call overwrites it.
    std::string InfoName;
};

SimEditor* CurrentEditor();
SimEditor* FindEditor(int id);
const std::vector<std::unique_ptr<SimEditor>>& AllEditors();

// Each of these changes the editor as the user's action would and sends the
// plug-in the events the real host sends for it. False, with the reason in
// `error`, when the action cannot be done (or the plug-in cannot be called).
bool OpenEditor(const std::string& path, SimEditor** opened, std::string* error);
bool GotoPosition(int line, int column, bool keepColumn, std::string* error);
bool ScrollTo(int topLine, std::string* error);
bool ScrollLeftTo(int leftPos, std::string* error);
bool SetOvertype(bool on, std::string* error);
bool TypeText(const std::string& text, std::string* error);
bool SaveEditor(std::string* error);
bool CloseEditor(int id, std::string* error);
bool SwitchEditor(int id, std::string* error);

// The full-screen front end's editor: the window's size (the line-oriented
// host keeps 80 x 23), and whether the front end sends EE_REDRAW itself, on
// every paint (RedrawEditor), instead of the actions above.
void SetEditorWindow(int width, int height, bool frontendRedraws);
int EditorWindowWidth();
int EditorWindowHeight();
bool RedrawEditor(std::string* error);
// Moves the cursor to `line` and `pos`, the top line to `top` (-1: as it
// is), and scrolls to keep the cursor on the screen.
bool PlaceCursor(int line, int pos, int top, std::string* error);
// The keys of the editor that are more than a move: set (RightCtrl+n,
// Ctrl+Shift+n) and go to (Ctrl+n) a numbered bookmark, F8 (OEM and ANSI
// in turn). False, with the reason, when the key is not one of these.
bool PressEditorKey(tarnwick::DWORD_T key, std::string* error);
// Shows the current editor's text in `table` (Shift+F8 picks one).
bool SetEditorTable(const TableChoice& table, std::string* error);
// Enter, Backspace and Del at the cursor.
enum class EditKind { BreakLine, DeleteBefore, DeleteAt };
bool EditAtCursor(EditKind kind, std::string* error);


// The state ECTL_GETINFO reports. The 1.75 host: CurState. The 3.x layer:
// ECSTATE_SAVED when there are no unsaved changes, ECSTATE_MODIFIED when the
// file was written at least once in this editor; so an editor whose changes
// were never saved shows neither.
tarnwick::DWORD_T ReportedState(const SimEditor& editor);

// "editor 1 C:\...\a.txt: line 12, col 4, top 3, left 0, overtype off".
std::string DescribeEditor(const SimEditor& editor);

// The editor's geometry, as the EditorControl service reports it: the
// number of lines, the screen column of a character position and the
// character position at a screen column (tabs expanded), and the scrolling
// that keeps the cursor on the screen.
int TotalLines(const SimEditor& editor);
int TabColumnOf(const SimEditor& editor, int pos);
int PosAtTabColumn(const SimEditor& editor, int tabColumn);
void KeepCursorVisible(SimEditor& editor);

// While the panels are active (the plug-in was called from the panels),
// there is no current editor for the EditorControl service.
void SetPanelsActive(bool active);

// Forgets every editor without events (after the module is gone).
void DropAllEditors();

}  // namespace twhost
