// The full-screen viewer over the host's simulated viewer: the status line,
// the rows as the host's viewer shows them (text, hex, wrapped), the key
// bar. Each key is the host's viewer action, which sends the plug-in what
// the real host sends (VE_READ at open and on Gray+/Gray-, VE_CLOSE).
#include <curses.h>

#include "core/console.h"
#include "core/editors.h"
#include "core/viewers.h"
#include "tui/tui_host.h"
#include "tui/tui_screen.h"

namespace twhost {
namespace {

std::string Modes(const SimViewer& viewer) {
    std::string modes = viewer.Hex ? "Hex" : "Text";
    if (viewer.Wrap) modes += viewer.WordWrap ? "  WordWrap" : "  Wrap";
    return modes;
}

void PaintViewer(Screen& screen, int id) {
    SimViewer* viewer = FindViewer(id);
    if (viewer == nullptr) return;
    int columns = ScreenColumns(), height = EditorWindowHeight();
    std::string right = "  Offset " + std::to_string(viewer->FilePos) + "/" + std::to_string(viewer->Bytes.size()) + "  Col " +
                        std::to_string(viewer->LeftPos + 1) + "  " + Modes(*viewer) + "  " + TableLabel(viewer->Table) + " ";
    screen.Fill(0, 0, columns, 1, Paint::Status);
    screen.PutText(0, 0, " " + ForConsole(viewer->FileName.c_str()), Paint::Status, columns - TextWidth(right) - 1);
    screen.PutText(columns - TextWidth(right), 0, right, Paint::Status, TextWidth(right));
    std::vector<std::string> rows = ViewerRows(*viewer, height, columns);
    for (int row = 0; row < height; ++row) {
        std::size_t at = static_cast<std::size_t>(row);
        screen.PutText(0, 1 + row, at < rows.size() ? ForConsole(rows[at].c_str()) : "", Paint::Editor, columns, true);
    }
    screen.DrawKeyBar({"", "Wrap", "Quit", viewer->Hex ? "Text" : "Hex", "", "", "",
                       viewer->Table.Mode == TableMode::Ansi ? "OEM" : "ANSI", "", "Quit", "Plug", ""});
    PlaceCursor(0, 0, false);
}

bool Press(ViewerKey key, std::string* error) { return PressViewerKey(key, error); }

// One key in the viewer. Gray+ and Gray- come as + and - from terminals
// that leave the keypad in numeric mode.
bool ViewerKeyPressed(Screen& screen, int key, std::string* error) {
    bool moved;
    switch (key) {
        case KEY_UP: return Press(ViewerKey::Up, error);
        case KEY_DOWN: return Press(ViewerKey::Down, error);
        case KEY_PPAGE: return Press(ViewerKey::PageUp, error);
        case KEY_NPAGE: return Press(ViewerKey::PageDown, error);
        case KEY_HOME: case kKeyCtrlHome: return Press(ViewerKey::Home, error);
        case KEY_END: case kKeyCtrlEnd: return Press(ViewerKey::End, error);
        case KEY_LEFT: return Press(ViewerKey::Left, error);
        case KEY_RIGHT: return Press(ViewerKey::Right, error);
        case KEY_F(4): return Press(ViewerKey::Hex, error);
        case KEY_F(2): return Press(ViewerKey::Wrap, error);
        case KEY_F(14): return Press(ViewerKey::WordWrap, error);
        case KEY_F(8): return Press(ViewerKey::AnsiToggle, error);
        case kKeyGrayPlus: case '+': return ViewNextFile(true, &moved, error);
        case kKeyGrayMinus: case '-': return ViewNextFile(false, &moved, error);
        case KEY_F(11): return ShowPluginCommands(screen, CommandsFrom::Viewer, error);
        default: return true;
    }
}

}  // namespace

bool ViewFile(Screen& screen, const std::string& path, std::string* lastViewed, std::string* error) {
    *lastViewed = path;
    SimViewer* viewer = nullptr;
    bool opened = OpenViewer(path, &viewer, error);
    if (viewer == nullptr) return false;
    int id = viewer->Id;
    screen.PushPainter([&screen, id] { PaintViewer(screen, id); });
    while (opened) {
        screen.RepaintAll();
        int key = screen.ReadKey();
        if (FindViewer(id) == nullptr) break;
        if (key == kKeyEsc || key == KEY_F(10) || key == KEY_F(3)) break;
        if (!ViewerKeyPressed(screen, key, error)) {
            ShowError(screen, *error);
            error->clear();
        }
        // The plug-in's menu may have closed the viewer (VCTL_QUIT).
        if (FindViewer(id) == nullptr) break;
        *lastViewed = FindViewer(id)->FileName;
    }
    screen.PopPainter();
    std::string closeError;
    bool closed = FindViewer(id) == nullptr || CloseViewer(id, &closeError);
    if (opened && !closed) *error = closeError;
    return opened && closed;
}

}  // namespace twhost
