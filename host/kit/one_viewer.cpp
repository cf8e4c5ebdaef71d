#include "kit/one_viewer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace tarnwick;

namespace hostkit {

std::int64_t LineStartBefore(const std::string& text, std::int64_t offset) {
    const std::int64_t size = static_cast<std::int64_t>(text.size());
    if (offset > size) offset = size;
    if (offset <= 0) return 0;
    // An offset that starts a line goes to the line before.
    std::int64_t at = offset;
    if (text[static_cast<std::size_t>(at - 1)] == '\n') --at;
    while (at > 0 && text[static_cast<std::size_t>(at - 1)] != '\n') --at;
    return at;
}

std::int64_t SetPositionOffset(const std::string& text, std::int64_t current, bool hex, DWORD_T flags,
                               std::int64_t start, PositionRules rules) {
    const bool layer = rules == PositionRules::Far3Layer;
    const std::int64_t size = static_cast<std::int64_t>(text.size());
    std::int64_t target = start;
    if ((flags & VSP_PERCENT) != 0) {
        target = size * std::clamp<std::int64_t>(start, 0, 100) / 100;
    } else if ((flags & VSP_RELATIVE) != 0) {
        target = layer ? current + start : current + std::abs(start) * static_cast<std::int64_t>(VSP_RELATIVE);
    }
    target = std::clamp<std::int64_t>(target, 0, size);
    if (hex) return target;
    return layer ? LineStartAt(text, target) : LineStartBefore(text, target);
}

std::int64_t LineStartAt(const std::string& text, std::int64_t offset) {
    std::int64_t at = std::clamp<std::int64_t>(offset, 0, static_cast<std::int64_t>(text.size()));
    while (at > 0 && text[static_cast<std::size_t>(at - 1)] != '\n') --at;
    return at;
}

bool FillViewerInfo3x(const ViewerReport3x& report, ViewerInfo* info) {
    if (info->StructSize == 0) return false;
    const int size = info->StructSize;
    std::memset(info, 0, sizeof *info);
    info->StructSize = size;
    info->ViewerID = report.ViewerID;
    info->FileName = report.FileName;
    info->FileSize = report.FileSize;
    info->FilePos = report.FilePos;
    info->WindowSizeX = report.WindowSizeX;
    info->WindowSizeY = report.WindowSizeY;
    info->Options = report.Options;
    info->TabSize = report.TabSize;
    info->CurMode.AnsiMode = report.AnsiPage ? 1 : 0;
    info->CurMode.Unicode = report.Utf16 ? 1 : 0;
    info->CurMode.Wrap = report.Wrap ? 1 : 0;
    info->CurMode.WordWrap = report.WordWrap ? 1 : 0;
    info->CurMode.Hex = report.ViewMode;
    info->LeftPos = report.LeftPos;
    return true;
}

bool ClearViewerInfo(ViewerInfo* info) {
    const int size = info->StructSize;
    const int cleared = std::clamp(size - 4, 0, static_cast<int>(sizeof(ViewerInfo)) - 4);
    std::memset(reinterpret_cast<char*>(info) + 4, 0, static_cast<std::size_t>(cleared));
    return size >= static_cast<int>(sizeof(ViewerInfo));
}

namespace {

int Report(const OneViewer& viewer, ViewerInfo* info) {
    if (info == nullptr || info->StructSize < static_cast<int>(offsetof(ViewerInfo, CurMode))) return 0;
    const bool whole = ClearViewerInfo(info);
    info->ViewerID = viewer.ViewerID;
    info->FileName = viewer.FileName.c_str();
    const std::int64_t unit = viewer.Unicode != 0 ? 2 : 1;
    info->FileSize = static_cast<std::int64_t>(viewer.Text.size()) / unit;
    info->FilePos = viewer.FilePos / unit;
    info->WindowSizeX = viewer.WindowSizeX;
    info->WindowSizeY = viewer.WindowSizeY;
    info->TabSize = 8;
    info->CurMode.UseDecodeTable = viewer.TableNum >= 0 || viewer.AnsiMode != 0 ? 1 : 0;
    info->CurMode.TableNum = viewer.Unicode != 0 ? -1 : viewer.AnsiMode != 0 ? -2 : viewer.TableNum;
    info->CurMode.AnsiMode = viewer.AnsiMode;
    info->CurMode.Unicode = viewer.Unicode;
    info->CurMode.Wrap = viewer.Wrap;
    info->CurMode.WordWrap = viewer.WordWrap;
    info->CurMode.Hex = viewer.Hex;
    if (whole) info->LeftPos = viewer.LeftPos;
    return 1;
}

int SetPosition(OneViewer* viewer, ViewerSetPosition* position) {
    if (position == nullptr) return 0;
    // In Unicode mode the host counts 2-byte characters.
    const std::int64_t unit = viewer->Unicode != 0 && (position->Flags & VSP_PERCENT) == 0 ? 2 : 1;
    viewer->FilePos = SetPositionOffset(viewer->Text, viewer->FilePos, viewer->Hex != 0, position->Flags,
                                        position->StartPos * unit);
    viewer->LeftPos = position->LeftPos > 0 ? position->LeftPos : 0;
    if ((position->Flags & VSP_NORETNEWPOS) == 0) {
        position->StartPos = viewer->FilePos / (viewer->Unicode != 0 ? 2 : 1);
        position->LeftPos = viewer->LeftPos;
    }
    return 1;
}

int SetMode(OneViewer* viewer, const ViewerSetMode* mode) {
    if (mode == nullptr) return 0;
    const int on = static_cast<int>(mode->Param & 1);
    switch (mode->Type) {
    case VSMT_HEX:
        viewer->Hex = on;
        return 1;
    case VSMT_WRAP:
        viewer->Wrap = on;
        return 1;
    case VSMT_WORDWRAP:
        viewer->WordWrap = on;
        return 1;
    default:
        return 0;
    }
}

}  // namespace

int ControlViewer(OneViewer* viewer, int command, void* param) {
    if (viewer == nullptr || viewer->ViewerID == 0) return 0;
    switch (command) {
    case VCTL_GETINFO:
        return Report(*viewer, static_cast<ViewerInfo*>(param));
    case VCTL_SETPOSITION:
        return SetPosition(viewer, static_cast<ViewerSetPosition*>(param));
    case VCTL_SETMODE:
        return SetMode(viewer, static_cast<const ViewerSetMode*>(param));
    case VCTL_REDRAW:
        return 1;
    default:
        return 0;
    }
}

}  // namespace hostkit
