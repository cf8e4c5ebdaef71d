#include "core/viewers.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>

#include "core/console.h"
#include "core/editors.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"

using namespace tarnwick;

namespace twhost {
namespace {

bool Send(int event, void* param, std::string* error) { return CallProcessViewerEvent(event, param, error); }

bool SendWithId(int event, int id, std::string* error) { return CallProcessViewerEventWithId(event, id, error); }

ViewerSet& Viewers() { return Host().Viewers; }

bool NeedFocused(SimViewer** viewer, std::string* error) {
    *viewer = FocusedViewer();
    if (*viewer == nullptr) {
        *error = "no viewer has the focus";
        return false;
    }
    return true;
}

std::int64_t Size(const SimViewer& viewer) { return static_cast<std::int64_t>(viewer.Bytes.size()); }

// The last row's start, `rows` rows further up.
std::int64_t LastPage(const SimViewer& viewer, int rows) {
    std::int64_t pos = Size(viewer) > 0 ? PreviousRow(viewer, Size(viewer)) : 0;
    for (int i = 1; i < rows && pos > 0; ++i) pos = PreviousRow(viewer, pos);
    return pos;
}

bool MoveRows(SimViewer& viewer, int rows) {
    for (int i = 0; i < std::abs(rows); ++i) {
        if (rows > 0) {
            std::int64_t next = NextRow(viewer, viewer.FilePos);
            if (next >= Size(viewer)) break;
            viewer.FilePos = next;
        } else {
            if (viewer.FilePos == 0) break;
            viewer.FilePos = PreviousRow(viewer, viewer.FilePos);
        }
    }
    return true;
}

}  // namespace

SimViewer* FindViewer(int id) {
    for (auto& viewer : Viewers().Open) {
        if (viewer->Id == id) return viewer.get();
    }
    return nullptr;
}

SimViewer* ControlledViewer() {
    if (Viewers().Closing != nullptr && Viewers().Closing->Id == Viewers().CurrentId) return Viewers().Closing.get();
    SimViewer* current = FindViewer(Viewers().CurrentId);
    // The 3.x layer takes the topmost viewer window that is still open;
    // the 1.75 host keeps pointing at the closed one.
    if (current == nullptr && Plays3x() && !Viewers().Open.empty()) return Viewers().Open.back().get();
    return current;
}

SimViewer* FocusedViewer() { return Viewers().OnTop ? FindViewer(Viewers().CurrentId) : nullptr; }

const std::vector<std::unique_ptr<SimViewer>>& AllViewers() { return Viewers().Open; }

bool OpenViewer(const std::string& path, SimViewer** opened, std::string* error) {
    if (!ModuleLoaded()) {
        *error = "no module is loaded (it was unloaded by quit)";
        return false;
    }
    if (path.size() >= static_cast<std::size_t>(kPathSize)) {
        *error = "the path is longer than the host's 259 characters";
        return false;
    }
    auto viewer = std::make_unique<SimViewer>();
    if (!FileExists(path) || !ReadWholeFile(path, &viewer->Bytes)) {
        *error = "cannot open " + path + " in the viewer";
        return false;
    }
    viewer->Id = Viewers().NextId++;
    viewer->FileName = path;
    *opened = viewer.get();
    Viewers().CurrentId = viewer->Id;
    Viewers().OnTop = true;
    Viewers().Open.push_back(std::move(viewer));
    return Send(VE_READ, nullptr, error);
}

bool CloseViewer(int id, std::string* error) {
    auto& open = Viewers().Open;
    auto found = std::find_if(open.begin(), open.end(), [id](const std::unique_ptr<SimViewer>& v) { return v->Id == id; });
    if (found == open.end()) {
        *error = "there is no viewer " + std::to_string(id);
        return false;
    }
    bool hadFocus = Viewers().OnTop && Viewers().CurrentId == id;
    // The 3.x layer takes the focus from the window before it closes it
    // (not at host exit, where no window gets the focus any more).
    if (Plays3x() && hadFocus && !Viewers().Exiting && !SendWithId(VE_KILLFOCUS, id, error)) return false;
    // As the real host: the closing viewer is the current one while the
    // event runs, its file already closed; the pointer stays afterwards.
    Viewers().Closing = std::move(*found);
    open.erase(found);
    Viewers().Closing->Closing = true;
    Viewers().CurrentId = id;
    bool sent = SendWithId(VE_CLOSE, id, error);
    Viewers().Closing.reset();
    if (!sent) return false;
    if (!hadFocus) return true;
    Viewers().OnTop = false;
    if (Viewers().Exiting) return true;
    if (CurrentEditor() != nullptr) {
        return CallProcessEditorEventWithId(EE_GOTFOCUS, CurrentEditor()->Id, error);
    }
    if (!open.empty()) {
        Viewers().OnTop = true;
        Viewers().CurrentId = open.back()->Id;
        return SendWithId(VE_GOTFOCUS, open.back()->Id, error);
    }
    return true;
}

bool ViewNextFile(bool forward, bool* moved, std::string* error) {
    SimViewer* viewer;
    *moved = false;
    if (!NeedFocused(&viewer, error)) return false;
    std::string folder = FolderOf(viewer->FileName);
    std::vector<std::string> files = ListFiles(folder);
    std::sort(files.begin(), files.end());
    auto at = std::find(files.begin(), files.end(), FileNameOf(viewer->FileName));
    if (at == files.end()) return true;
    if (forward ? at + 1 == files.end() : at == files.begin()) return true;
    std::string path = JoinPath(folder, *(forward ? at + 1 : at - 1));
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) {
        *error = "cannot open " + path + " in the viewer";
        return false;
    }
    // The same viewer shows the new file from its start, in the same modes.
    viewer->FileName = path;
    viewer->Bytes = bytes;
    viewer->FilePos = 0;
    viewer->LeftPos = 0;
    viewer->Table = TableChoice{};
    Viewers().CurrentId = viewer->Id;
    *moved = true;
    return Send(VE_READ, nullptr, error);
}

bool SwitchToViewer(int id, std::string* error) {
    if (FindViewer(id) == nullptr) {
        *error = "there is no viewer " + std::to_string(id);
        return false;
    }
    if (CurrentEditor() != nullptr) {
        if (!CallProcessEditorEventWithId(EE_KILLFOCUS, CurrentEditor()->Id, error)) return false;
    }
    SimViewer* focused = FocusedViewer();
    if (focused != nullptr && focused->Id != id && !SendWithId(VE_KILLFOCUS, focused->Id, error)) return false;
    Viewers().OnTop = true;
    Viewers().CurrentId = id;
    return SendWithId(VE_GOTFOCUS, id, error);
}

bool FinishViewerQuit(std::string* error) {
    for (const auto& viewer : Viewers().Open) {
        if (viewer->QuitAsked) return CloseViewer(viewer->Id, error);
    }
    return true;
}

bool PressViewerKey(ViewerKey key, std::string* error) {
    SimViewer* viewer;
    if (!NeedFocused(&viewer, error)) return false;
    int page = EditorWindowHeight();
    switch (key) {
        case ViewerKey::Up: return MoveRows(*viewer, -1);
        case ViewerKey::Down: return MoveRows(*viewer, 1);
        case ViewerKey::PageUp: return MoveRows(*viewer, -page);
        case ViewerKey::PageDown: return MoveRows(*viewer, page);
        case ViewerKey::Home: viewer->FilePos = 0; return true;
        case ViewerKey::End: viewer->FilePos = LastPage(*viewer, page); return true;
        case ViewerKey::Left: viewer->LeftPos = std::max(viewer->LeftPos - 1, 0); return true;
        case ViewerKey::Right:
            if (!viewer->Wrap && !viewer->Hex) viewer->LeftPos += 1;
            return true;
        case ViewerKey::Hex:
            viewer->Hex = !viewer->Hex;
            if (!viewer->Hex) viewer->FilePos = LineStart(viewer->Bytes, viewer->FilePos);
            return true;
        case ViewerKey::Wrap:
            viewer->Wrap = !viewer->Wrap;
            if (!viewer->Wrap && !viewer->Hex) viewer->FilePos = LineStart(viewer->Bytes, viewer->FilePos);
            if (viewer->Wrap) viewer->LeftPos = 0;
            return true;
        case ViewerKey::WordWrap:
            viewer->WordWrap = !viewer->WordWrap;
            return true;
        case ViewerKey::AnsiToggle:
            viewer->Table = TableChoice{viewer->Table.Mode == TableMode::Ansi ? TableMode::Oem : TableMode::Ansi, -1};
            return true;
    }
    return true;
}

bool SetViewerTable(const TableChoice& table, std::string* error) {
    SimViewer* viewer;
    if (!NeedFocused(&viewer, error)) return false;
    viewer->Table = table;
    return true;
}

std::int64_t LineStart(const std::string& bytes, std::int64_t pos) {
    pos = std::clamp<std::int64_t>(pos, 0, static_cast<std::int64_t>(bytes.size()));
    if (pos == 0) return 0;
    std::size_t newline = bytes.rfind('\n', static_cast<std::size_t>(pos - 1));
    return newline == std::string::npos ? 0 : static_cast<std::int64_t>(newline) + 1;
}


std::int64_t NextRow(const SimViewer& viewer, std::int64_t pos) {
    if (viewer.Hex) return pos + 16;
    std::size_t newline = viewer.Bytes.find('\n', static_cast<std::size_t>(pos));
    std::int64_t end = newline == std::string::npos ? Size(viewer) : static_cast<std::int64_t>(newline);
    std::int64_t width = EditorWindowWidth();
    if (!viewer.Wrap || end - pos <= width) return end + 1;
    if (viewer.WordWrap) {
        std::size_t space = viewer.Bytes.rfind(' ', static_cast<std::size_t>(pos + width - 1));
        if (space != std::string::npos && static_cast<std::int64_t>(space) >= pos) return static_cast<std::int64_t>(space) + 1;
    }
    return pos + width;
}

std::int64_t PreviousRow(const SimViewer& viewer, std::int64_t pos) {
    if (pos <= 0) return 0;
    if (viewer.Hex) return std::max<std::int64_t>(pos - 16, 0);
    std::int64_t row = LineStart(viewer.Bytes, pos - 1);
    if (!viewer.Wrap) return row;
    while (true) {
        std::int64_t next = NextRow(viewer, row);
        if (next >= pos) return row;
        row = next;
    }
}

std::vector<std::string> ViewerRows(const SimViewer& viewer, int count, int width) {
    std::vector<std::string> rows;
    std::int64_t pos = viewer.FilePos;
    const CodeTable* table = viewer.Table.Mode == TableMode::Code && viewer.Table.Number >= 0 &&
                                     viewer.Table.Number < static_cast<int>(CodeTables().size())
                                 ? &CodeTables()[static_cast<std::size_t>(viewer.Table.Number)]
                                 : nullptr;
    // A code page of the 3.x layer shows through the code table of its name.
    if (viewer.Table.Mode == TableMode::Page) {
        const char* name = hostkit::CodePageName(static_cast<unsigned>(viewer.Table.Number));
        int number = name != nullptr ? FindCodeTable(name) : -1;
        if (number >= 0) table = &CodeTables()[static_cast<std::size_t>(number)];
    }
    auto shown = [table](unsigned char c) {
        if (table != nullptr) c = table->Decode[c];
        return c < 32 ? ' ' : static_cast<char>(c);
    };
    for (int i = 0; i < count && pos < Size(viewer); ++i) {
        std::int64_t next = NextRow(viewer, pos);
        std::int64_t end = std::min(next, Size(viewer));
        std::string text;
        if (viewer.Hex) {
            char offset[16];
            std::snprintf(offset, sizeof offset, "%010llX: ", static_cast<unsigned long long>(pos));
            text = offset;
            std::string chars;
            for (std::int64_t at = pos; at < pos + 16; ++at) {
                char cell[4] = "   ";
                if (at < end) {
                    unsigned char c = static_cast<unsigned char>(viewer.Bytes[static_cast<std::size_t>(at)]);
                    std::snprintf(cell, sizeof cell, "%02X ", c);
                    chars += shown(c);
                }
                text += cell;
            }
            text += " " + chars;
        } else {
            for (std::int64_t at = pos; at < end; ++at) {
                unsigned char c = static_cast<unsigned char>(viewer.Bytes[static_cast<std::size_t>(at)]);
                if (c != '\n' && c != '\r') text += shown(c);
            }
            if (!viewer.Wrap) text = static_cast<int>(text.size()) > viewer.LeftPos ? text.substr(static_cast<std::size_t>(viewer.LeftPos)) : "";
        }
        if (static_cast<int>(text.size()) > width) text.resize(static_cast<std::size_t>(width));
        rows.push_back(text);
        pos = next;
    }
    return rows;
}

std::string DescribeViewer(const SimViewer& viewer) {
    auto onOff = [](bool on) { return on ? "on" : "off"; };
    return "viewer " + std::to_string(viewer.Id) + " " + viewer.FileName + ": offset " + std::to_string(viewer.FilePos) +
           ", left " + std::to_string(viewer.LeftPos) + ", hex " + onOff(viewer.Hex) + ", wrap " + onOff(viewer.Wrap) +
           ", wordwrap " + onOff(viewer.WordWrap) + ", table " + DescribeTable(viewer.Table);
}

void DropAllViewers() {
    Viewers().Open.clear();
    Viewers().Closing.reset();
    Viewers().CurrentId = 0;
    Viewers().OnTop = false;
}

}  // namespace twhost
