// The one current viewer of a simple stand-in host (the tests' fake host,
// the benchmarks' null host): what its ViewerControl service reports and
// does, with the host's rules for VCTL_GETINFO's record size and for
// VCTL_SETPOSITION's return to a line's start.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/host_abi.h"

namespace hostkit {

struct OneViewer {
    int ViewerID = 0;  // 0: no viewer (ViewerControl answers 0)
    std::string FileName;
    std::string Text;   // the file's bytes (lines end in LF or CR LF)
    std::int64_t FilePos = 0;
    int LeftPos = 0;
    int Hex = 0, Wrap = 0, WordWrap = 0;
    int TableNum = -1, AnsiMode = 0, Unicode = 0;
    int WindowSizeX = 80, WindowSizeY = 23;
};

// ViewerControl on `viewer`: VCTL_GETINFO, VCTL_SETPOSITION, VCTL_SETMODE,
// VCTL_REDRAW; 0 for other commands and when there is no viewer.
int ControlViewer(OneViewer* viewer, int command, void* param);

// Where the host puts an offset outside hex mode: the start of its line,
// or of the line before when it already starts a line (but the first).
std::int64_t LineStartBefore(const std::string& text, std::int64_t offset);

// Whose rules VCTL_SETPOSITION follows.
enum class PositionRules { Far175, Far3Layer };

// The offset VCTL_SETPOSITION moves a viewer of `text`, now at `current`,
// to for `flags` and `start` (a byte offset; a percentage with
// VSP_PERCENT, clamped to 0..100), within the text. With VSP_RELATIVE the
// 1.75 host has a fault, `start` times the flag's value, always forward;
// the 3.x layer takes a signed distance. Outside hex mode the 1.75 host
// goes back to a line's start (LineStartBefore), the 3.x layer to the
// start of the line holding the offset (LineStartAt).
std::int64_t SetPositionOffset(const std::string& text, std::int64_t current, bool hex, tarnwick::DWORD_T flags,
                               std::int64_t start, PositionRules rules = PositionRules::Far175);

// ---- The 3.x host's layer for 1.x plug-ins ------------------------------

// The start of the line holding `offset` (clamped to the text): an offset
// that starts a line stays there.
std::int64_t LineStartAt(const std::string& text, std::int64_t offset);


// What the 3.x layer's VCTL_GETINFO reports of a viewer.
struct ViewerReport3x {
    int ViewerID = 0;
    const char* FileName = "";
    std::int64_t FileSize = 0;  // bytes, whatever the code page
    std::int64_t FilePos = 0;   // bytes
    int WindowSizeX = 80, WindowSizeY = 23;
    tarnwick::DWORD_T Options = 0;
    int TabSize = 8;
    bool AnsiPage = false;  // the viewer shows the ANSI code page
    bool Utf16 = false;     // the viewer shows UTF-16
    int ViewMode = 0;       // 0 text, 1 hex, 2 dump
    bool Wrap = false, WordWrap = false;
    int LeftPos = 0;
};

// Fills `info` as the 3.x layer does: every member whatever StructSize
// says (StructSize itself is kept), with UseDecodeTable and TableNum 0.
// False, writing nothing, when StructSize is 0.
bool FillViewerInfo3x(const ViewerReport3x& report, tarnwick::ViewerInfo* info);

// What VCTL_GETINFO clears of the caller's record before it fills it: the
// StructSize - 4 bytes from ViewerID (as far as the record goes). True when
// StructSize covers the whole record, so that LeftPos is filled too.
bool ClearViewerInfo(tarnwick::ViewerInfo* info);

}  // namespace hostkit
