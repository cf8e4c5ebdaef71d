// The ViewerControl service: VCTL_GETINFO, VCTL_SETPOSITION, VCTL_SETMODE,
// VCTL_QUIT and VCTL_REDRAW on the host's current viewer, as the real host
// performs them, with its rules (the line start of VCTL_SETPOSITION, the
// StructSize of VCTL_GETINFO) and its fault in VSP_RELATIVE; or, playing
// the 3.x layer, as that layer translates them (kit/one_viewer.h).
#include <algorithm>
#include <string>

#include "core/console.h"
#include "core/editors.h"
#include "core/host_state.h"
#include "core/oem_names.h"
#include "core/trace.h"
#include "core/viewers.h"
#include "kit/code_pages.h"
#include "kit/one_viewer.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [viewer] ", line)

constexpr unsigned kUtf16Le = 1200;
constexpr unsigned kUtf16Be = 1201;

// The name the plug-in sees for the viewer's file: every record that hands
// it over takes it from here.
const char* NameForPlugin(const SimViewer& viewer) {
    if (!Plays3x()) return viewer.FileName.c_str();
    Host().Viewers.InfoName = OemNameOf(viewer.FileName);
    return Host().Viewers.InfoName.c_str();
}

// The 3.x layer's VCTL_GETINFO: the whole record, positions in bytes, the
// code page as AnsiMode and Unicode, TableNum 0.
int GetInfo3x(const SimViewer& viewer, void* param) {
    ViewerInfo* info = static_cast<ViewerInfo*>(param);
    const unsigned codePage = CodePageOfChoice(viewer.Table);
    hostkit::ViewerReport3x report;
    report.ViewerID = viewer.Id;
    report.FileName = NameForPlugin(viewer);
    report.FileSize = static_cast<std::int64_t>(viewer.Bytes.size());
    report.FilePos = viewer.FilePos;
    report.WindowSizeX = EditorWindowWidth();
    report.WindowSizeY = EditorWindowHeight();
    report.Options = VOPT_SAVEFILEPOSITION;
    report.TabSize = kEditorTabSize;
    report.AnsiPage = codePage == Host().CodePages.Ansi;
    report.Utf16 = codePage == kUtf16Le || codePage == kUtf16Be;
    report.ViewMode = viewer.Hex ? 1 : 0;
    report.Wrap = viewer.Wrap;
    report.WordWrap = viewer.WordWrap;
    report.LeftPos = viewer.LeftPos;
    if (!hostkit::FillViewerInfo3x(report, info)) {
        Trace("VCTL_GETINFO(StructSize 0) = 0");
        return 0;
    }
    Trace("VCTL_GETINFO(StructSize " + std::to_string(info->StructSize) + ") -> " + DescribeViewer(viewer));
    return 1;
}

// The 3.x layer's VCTL_SETPOSITION: bytes, working VSP_RELATIVE, the start
// of the line holding the offset, and only StartPos written back.
int SetPosition3x(SimViewer& viewer, void* param) {
    ViewerSetPosition* to = static_cast<ViewerSetPosition*>(param);
    viewer.FilePos = hostkit::SetPositionOffset(viewer.Bytes, viewer.FilePos, viewer.Hex, to->Flags, to->StartPos,
                                                 hostkit::PositionRules::Far3Layer);
    viewer.LeftPos = std::max(to->LeftPos, 0);
    Trace("VCTL_SETPOSITION(" + std::to_string(to->StartPos) + ", left " + std::to_string(to->LeftPos) + ", flags " +
          Hex(to->Flags) + ") -> offset " + std::to_string(viewer.FilePos));
    if ((to->Flags & VSP_NORETNEWPOS) == 0) to->StartPos = viewer.FilePos;
    return 1;
}

// The host clears StructSize - 4 bytes from ViewerID, fills every member
// up to CurMode whatever StructSize says, and LeftPos only when StructSize
// covers the whole record.
int GetInfo(const SimViewer& viewer, void* param) {
    if (Plays3x()) return GetInfo3x(viewer, param);
    ViewerInfo* info = static_cast<ViewerInfo*>(param);
    const int size = info->StructSize;
    const bool whole = hostkit::ClearViewerInfo(info);
    info->ViewerID = viewer.Id;
    info->FileName = NameForPlugin(viewer);
    info->FileSize = static_cast<std::int64_t>(viewer.Bytes.size());
    info->FilePos = viewer.FilePos;
    info->WindowSizeX = EditorWindowWidth();
    info->WindowSizeY = EditorWindowHeight();
    info->Options = VOPT_SAVEFILEPOSITION;
    info->TabSize = kEditorTabSize;
    ViewerMode& mode = info->CurMode;
    mode.UseDecodeTable = viewer.Table.Mode != TableMode::Oem ? 1 : 0;
    mode.TableNum = viewer.Table.Mode == TableMode::Code ? viewer.Table.Number : viewer.Table.Mode == TableMode::Ansi ? -2 : -1;
    mode.AnsiMode = viewer.Table.Mode == TableMode::Ansi ? 1 : 0;
    mode.Unicode = 0;
    mode.Wrap = viewer.Wrap ? 1 : 0;
    mode.WordWrap = viewer.WordWrap ? 1 : 0;
    mode.Hex = viewer.Hex ? 1 : 0;
    if (whole) info->LeftPos = viewer.LeftPos;
    Trace("VCTL_GETINFO(StructSize " + std::to_string(size) + ") -> " + DescribeViewer(viewer));
    return 1;
}

int SetPosition(SimViewer& viewer, void* param) {
    if (Plays3x()) return SetPosition3x(viewer, param);
    ViewerSetPosition* to = static_cast<ViewerSetPosition*>(param);
    viewer.FilePos = hostkit::SetPositionOffset(viewer.Bytes, viewer.FilePos, viewer.Hex, to->Flags, to->StartPos);
    viewer.LeftPos = std::max(to->LeftPos, 0);
    Trace("VCTL_SETPOSITION(" + std::to_string(to->StartPos) + ", left " + std::to_string(to->LeftPos) + ", flags " +
          Hex(to->Flags) + ") -> offset " + std::to_string(viewer.FilePos));
    if ((to->Flags & VSP_NORETNEWPOS) == 0) {
        to->StartPos = viewer.FilePos;
        to->LeftPos = viewer.LeftPos;
    }
    return 1;
}

int SetMode(SimViewer& viewer, void* param) {
    const ViewerSetMode* set = static_cast<const ViewerSetMode*>(param);
    bool on = (set->Param & 1) != 0;
    switch (set->Type) {
        case VSMT_HEX:
            viewer.Hex = on;
            if (!on) viewer.FilePos = LineStart(viewer.Bytes, viewer.FilePos);
            break;
        case VSMT_WRAP: viewer.Wrap = on; break;
        case VSMT_WORDWRAP: viewer.WordWrap = on; break;
        default:
            Trace("VCTL_SETMODE(type " + std::to_string(set->Type) + ") = 0");
            return 0;
    }
    Trace("VCTL_SETMODE(type " + std::to_string(set->Type) + ", " + (on ? "1" : "0") + ") -> " + DescribeViewer(viewer));
    return 1;
}

std::string CommandName(int command) {
    switch (command) {
        case VCTL_GETINFO: return "VCTL_GETINFO";
        case VCTL_QUIT: return "VCTL_QUIT";
        case VCTL_REDRAW: return "VCTL_REDRAW";
        case VCTL_SETPOSITION: return "VCTL_SETPOSITION";
        case VCTL_SETMODE: return "VCTL_SETMODE";
        default: return "command " + std::to_string(command);
    }
}

}  // namespace

int TW_STDCALL HostViewerControl(int command, void* param) {
    if (Host().Viewers.Exiting) {
        Trace(CommandName(command) + " after the host's main loop = 0");
        return 0;
    }
    SimViewer* viewer = ControlledViewer();
    if (viewer == nullptr) {
        Trace(CommandName(command) + " with no current viewer = 0");
        return 0;
    }
    // During VE_CLOSE the file and the line buffers are gone: only the
    // fields VCTL_GETINFO reads are still there. The 3.x layer sends the
    // event before the viewer is destroyed, so everything works then.
    if (viewer->Closing && command != VCTL_GETINFO && !Plays3x()) {
        Fatal(kExitPluginFault, "ViewerControl: " + CommandName(command) +
                                     " during VE_CLOSE reaches the closed file in the real host (only VCTL_GETINFO is safe)", true);
    }
    bool needsRecord = command == VCTL_GETINFO || command == VCTL_SETPOSITION || command == VCTL_SETMODE;
    if (needsRecord && param == nullptr) {
        Trace(CommandName(command) + " without a record = 0");
        return 0;
    }
    switch (command) {
        case VCTL_GETINFO: return GetInfo(*viewer, param);
        case VCTL_SETPOSITION: return SetPosition(*viewer, param);
        case VCTL_SETMODE: return SetMode(*viewer, param);
        case VCTL_QUIT:
            viewer->QuitAsked = true;
            Trace("VCTL_QUIT: viewer " + std::to_string(viewer->Id) + " closes after the call");
            return 1;
        case VCTL_REDRAW:
            Trace("VCTL_REDRAW");
            return 1;
        default:
            // The 3.x layer answers TRUE to commands it does not know.
            if (Plays3x() && command != VCTL_SETKEYBAR && command != VCTL_SELECT) {
                Trace(CommandName(command) + " = 1 (unknown to the 3.x layer)");
                return 1;
            }
            Fatal(kExitPluginFault, "ViewerControl: " + CommandName(command) +
                                         " is not one this host offers (VCTL_GETINFO 0, VCTL_QUIT 1, VCTL_REDRAW 2, "
                                         "VCTL_SETPOSITION 4, VCTL_SETMODE 6)", true);
    }
}

}  // namespace twhost
