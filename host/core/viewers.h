// The host's simulated viewers over real files on disk. Each has an id of
// its own (increasing from 1), the file's full name and bytes, the offset
// shown at the top of the window, the first column, hex mode, the wrap
// modes and the character table. The ViewerControl service works on the
// host's current viewer: the last one opened, given focus or sending an
// event, as in the real host, which keeps it even after VE_CLOSE. Playing
// the 3.x layer: events carry the id as an INT_PTR, a viewer with the
// focus gets VE_KILLFOCUS before VE_CLOSE, and ViewerControl falls back to
// the topmost open viewer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/char_tables.h"

namespace twhost {

struct SimViewer {
    int Id = 0;
    std::string FileName;     // full path, as the host reports it
    std::string Bytes;        // the file's content
    std::int64_t FilePos = 0; // the offset at the top of the window
    int LeftPos = 0;
    bool Hex = false;
    bool Wrap = false;
    bool WordWrap = false;
    TableChoice Table;
    bool Closing = false;     // VE_CLOSE is running: only VCTL_GETINFO may be used (1.75)
    bool QuitAsked = false;   // the plug-in sent VCTL_QUIT
};

// The host's viewers (a member of the host's state).
struct ViewerSet {
    std::vector<std::unique_ptr<SimViewer>> Open;  // in opening order
    int NextId = 1;
    int CurrentId = 0;      // ViewerControl's viewer; may name one that is gone
    bool OnTop = false;     // a viewer's window has the focus (then CurrentId's)
    bool Exiting = false;   // the host is past its main loop: ViewerControl answers 0
    // The closing viewer during VE_CLOSE, already out of Open.
    std::unique_ptr<SimViewer> Closing;
    // The 3.x layer's one buffer for the name VCTL_GETINFO hands over (in
    // the OEM code page); the next call overwrites it.
    std::string InfoName;
};

// The viewer window: as the editor's.
SimViewer* FindViewer(int id);
// The viewer ViewerControl acts on, or null (none, or gone).
SimViewer* ControlledViewer();
// The viewer whose window has the focus, or null.
SimViewer* FocusedViewer();
const std::vector<std::unique_ptr<SimViewer>>& AllViewers();

// Each changes the viewers as the user's action would and sends the
// plug-in the events the real host sends (ProcessViewerEvent only when the
// module exports it). False, with the reason, when it cannot be done.
bool OpenViewer(const std::string& path, SimViewer** opened, std::string* error);
bool CloseViewer(int id, std::string* error);
// Gray+ (forward) and Gray-: the next or previous file of the panel (the
// viewed file's folder, by name) in the same viewer; `moved` false when
// there is no such file (nothing happens then).
bool ViewNextFile(bool forward, bool* moved, std::string* error);
// Gives the viewer's window the focus (VE_KILLFOCUS / EE_KILLFOCUS for the
// window that had it, VE_GOTFOCUS for the viewer).
bool SwitchToViewer(int id, std::string* error);
// Closes the focused viewer when the plug-in asked for it with VCTL_QUIT.
bool FinishViewerQuit(std::string* error);

// The keys of the viewer: moves by lines (16-byte rows in hex mode) and
// pages, the column, and the modes.
enum class ViewerKey { Up, Down, PageUp, PageDown, Home, End, Left, Right, Hex, Wrap, WordWrap, AnsiToggle };
bool PressViewerKey(ViewerKey key, std::string* error);
// The focused viewer's table, as the host's own memory or detection would
// choose it.
bool SetViewerTable(const TableChoice& table, std::string* error);

// The viewer's geometry. Line starts follow '\n'. The start of the line
// holding `pos` (pos itself when it is one).
std::int64_t LineStart(const std::string& bytes, std::int64_t pos);
// The start of the row after / before the one starting at `pos` on the
// screen (hex rows of 16 bytes; wrapped rows of the window's width).
std::int64_t NextRow(const SimViewer& viewer, std::int64_t pos);
std::int64_t PreviousRow(const SimViewer& viewer, std::int64_t pos);
// The rows of the window from FilePos, as they are shown.
std::vector<std::string> ViewerRows(const SimViewer& viewer, int count, int width);

// "viewer 1 C:\...\a.txt: offset 120, left 0, hex off, wrap off, wordwrap off, table oem".
std::string DescribeViewer(const SimViewer& viewer);

// Forgets every viewer without events (after the module is gone).
void DropAllViewers();

}  // namespace twhost
