// The full-screen host: the panels over the work folder, the host's menus
// of plug-in commands, and the way in and out.
#include <algorithm>
#include <cstdio>
#include <curses.h>

#include "core/console.h"
#include "core/editors.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/outside_edits.h"
#include "core/plugin_calls.h"
#include "core/sample_files.h"
#include "core/viewers.h"
#include "script/position_text.h"
#include "session/session.h"
#include "tui/full_screen.h"
#include "tui/tui_host.h"
#include "tui/tui_screen.h"
#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

// The full-screen host's state: made by PrepareFullScreen, it holds the log
// and the Screen and the front end that draw on it.
class FullScreenHost : public FullScreen {
public:
    // Sends the host's output lines to the log (--log), else nowhere.
    FullScreenHost();
    // Gives the output lines back to standard output and closes the log.
    ~FullScreenHost() override;
    FullScreenHost(const FullScreenHost&) = delete;
    FullScreenHost& operator=(const FullScreenHost&) = delete;

    int Run() override;

private:
    void WriteToLog(const std::string& line);

    std::FILE* log_ = nullptr;  // null without --log: the lines go nowhere
    Screen screen_;
    TuiFrontend frontend_;
};

struct Panels {
    std::vector<std::string> Files;
    int Selected = 0;
    int First = 0;
};

// The sample that another program changes each time its editor closes:
// it inserts kMovingInsert lines at the top, so that the text the cursor
// stood on lies that much lower at the next opening.
constexpr const char* kMovingSample = "moving.txt";
constexpr int kMovingInsert = 7;

bool IsMovingSample(const std::string& name) { return name == kMovingSample; }

void ChangeMovingSample(const std::string& path) {
    OutsideEdit edit;
    edit.What = OutsideEdit::Kind::Insert;
    edit.At = 0;
    edit.Count = kMovingInsert;
    std::string error;
    if (EditFileOutside(path, edit, &error)) Say("(another program " + DescribeOutsideEdit(edit) + " of " + path + ")");
}

// Files of a few hundred lines each, for a work folder with nothing in it.
void MakeSamples(const std::string& folder) {
    const std::pair<const char*, int> samples[] = {
        {"chapter1.txt", 300}, {"chapter2.txt", 240}, {"notes.txt", 180}, {kMovingSample, 400}};
    std::string error;
    for (const auto& sample : samples) MakeSampleFile(JoinPath(folder, sample.first), sample.second, &error);
}

// What the position file holds for the file: a line per kind of item.
std::vector<std::string> StoredPlaces(const std::string& path) {
    std::string content;
    std::vector<TextLine> lines;
    if (ReadWholeFile(Host().DefaultCfgPath, &content)) lines = ParsePositionText(content);
    auto value = [](const TextItem& item, const char* name, int add) {
        const std::string* found = item.Find(name);
        return found == nullptr ? std::string("?") : std::to_string(std::atoll(found->c_str()) + add);
    };
    std::vector<std::string> places;
    for (const TextItem* item : FindItems(lines, "editor", path)) {
        places.push_back("  editor: line " + value(*item, "line", 1) + ", col " + value(*item, "column", 1));
    }
    for (const TextItem* item : FindItems(lines, "viewer", path)) {
        const std::string* hex = item->Find("hex");
        places.push_back("  viewer: offset " + value(*item, "offset", 0) + (hex != nullptr && *hex == "1" ? ", hex" : ""));
    }
    if (places.empty()) places.push_back("  none yet");
    return places;
}

// What the info panel tells a newcomer to try.
const char* const kInfoText[] = {
    "Tarnwick puts you back where you",
    "were when a file is opened again.",
    "",
    "Enter/F4: edit. F3: view. In either,",
    "F11, Tarnwick, Store: from then on",
    "the file's place is kept.",
    "Editor: Alt+Shift+0..9 (RightCtrl+n)",
    " sets bookmark n, Alt+0..9 (Ctrl+n)",
    " goes there; F8 OEM/ANSI, Shift+F8",
    " a code table.",
    "Viewer: F4 hex, F2 wrap, F8 table,",
    " Gray+/Gray- next/previous file.",
    "Close with Esc and open the file",
    "again: place, bookmarks and table",
    "come back. F9 settings, F10 quit.",
};

void PaintPanels(Screen& screen, Panels& panels) {
    int columns = ScreenColumns(), rows = ScreenRows();
    int half = columns / 2, height = rows - 2;
    screen.Fill(0, 0, columns, rows - 1, Paint::Panel);
    screen.DrawFrame(0, 0, half, height, true, Paint::Panel, ForConsole(Host().WorkDir.c_str()), "");
    screen.DrawFrame(half, 0, columns - half, height, true, Paint::Panel, "Info", "");
    int listRows = height - 4;
    if (panels.Selected < panels.First) panels.First = panels.Selected;
    if (panels.Selected >= panels.First + listRows) panels.First = panels.Selected - listRows + 1;
    screen.PutText(2, 1, "Name", Paint::PanelTitle, half - 4);
    for (int row = 0; row < listRows; ++row) {
        int index = panels.First + row;
        if (index >= static_cast<int>(panels.Files.size())) break;
        Paint paint = index == panels.Selected ? Paint::PanelSelected : Paint::Panel;
        screen.PutText(1, 2 + row, " " + ForConsole(panels.Files[static_cast<std::size_t>(index)].c_str()), paint, half - 2, true);
    }
    screen.DrawSeparator(0, height - 3, half, Paint::Panel, "");
    std::string name = panels.Files.empty() ? "" : panels.Files[static_cast<std::size_t>(panels.Selected)];
    screen.PutText(2, height - 2, ForConsole(name.c_str()), Paint::Panel, half - 4);
    std::string path = JoinPath(Host().WorkDir, name);
    std::vector<std::string> info(std::begin(kInfoText), std::end(kInfoText));
    if (IsMovingSample(name)) {
        info.insert(info.end(), {"", "Another program inserts " + std::to_string(kMovingInsert) + " lines at the",
                                 "top of moving.txt whenever its", "editor closes. Store a place in it,",
                                 "close, open it again: the cursor", "is on the same text, lines lower."});
    }
    if (!name.empty()) {
        info.push_back("");
        info.push_back("Stored position of this file:");
        for (const std::string& place : StoredPlaces(path)) info.push_back(place);
    }
    for (std::size_t i = 0; i < info.size() && static_cast<int>(i) < height - 3; ++i) {
        screen.PutText(half + 2, 1 + static_cast<int>(i), info[i], Paint::Panel, columns - half - 4);
    }
    screen.PutText(0, rows - 2, ForConsole(Host().WorkDir.c_str()) + ">", Paint::Plain, columns, true);
    screen.DrawKeyBar({"", "", "View", "Edit", "", "", "", "", "Conf", "Quit", "Plug", ""});
    PlaceCursor(0, 0, false);
}

void ReadFolder(Panels& panels) {
    panels.Files = ListFiles(Host().WorkDir);
    std::sort(panels.Files.begin(), panels.Files.end());
    panels.Selected = std::clamp(panels.Selected, 0, std::max(static_cast<int>(panels.Files.size()) - 1, 0));
}

// The panel's cursor goes to the file named `name` when it is listed.
void Select(Panels& panels, const std::string& name) {
    auto at = std::find(panels.Files.begin(), panels.Files.end(), name);
    if (at != panels.Files.end()) panels.Selected = static_cast<int>(at - panels.Files.begin());
}

bool ConfirmQuit(Screen& screen) {
    ShownMessage question;
    question.Lines = {"Quit", "Do you want to quit the host?"};
    question.Buttons = {"&Yes", "&No"};
    return RunMessage(screen, question) == 0;
}

// A host menu of the plug-in's strings; the index chosen, or -1.
int ChooseString(Screen& screen, const char* title, const char* const* strings, int count) {
    ShownMenu menu;
    menu.Title = title;
    for (int i = 0; i < count && strings != nullptr; ++i) {
        ShownMenuItem item;
        item.Text = "&" + std::to_string(i + 1) + " " + ForConsole(strings[i]);
        menu.Items.push_back(item);
    }
    return RunMenu(screen, menu).Item;
}

}  // namespace

void ShowError(Screen& screen, const std::string& error) {
    ShownMessage message;
    message.Flags = FMSG_WARNING;
    message.Lines = {"Error", error};
    message.Buttons = {"OK"};
    RunMessage(screen, message);
}

bool ShowPluginCommands(Screen& screen, CommandsFrom from, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    bool offered = from == CommandsFrom::Editor   ? (info.Flags & PF_EDITOR) != 0
                   : from == CommandsFrom::Viewer ? (info.Flags & PF_VIEWER) != 0
                                                  : (info.Flags & PF_DISABLEPANELS) == 0;
    int chosen = ChooseString(screen, "Plugin commands", info.PluginMenuStrings, offered ? info.PluginMenuStringsNumber : 0);
    if (chosen < 0) return true;
    INT_PTR_T result;
    if (from == CommandsFrom::Editor) return CallOpenPlugin(OPEN_EDITOR, &result, error);
    // A plug-in may ask the viewer to close (VCTL_QUIT): it closes after the call.
    if (from == CommandsFrom::Viewer) return CallOpenPlugin(OPEN_VIEWER, &result, error) && FinishViewerQuit(error);
    SetPanelsActive(true);
    bool called = CallOpenPlugin(OPEN_PLUGINSMENU, &result, error);
    SetPanelsActive(false);
    return called;
}

bool ShowPluginConfiguration(Screen& screen, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    int chosen = ChooseString(screen, "Plugins configuration", info.PluginConfigStrings, info.PluginConfigStringsNumber);
    if (chosen < 0) return true;
    int result;
    SetPanelsActive(true);
    bool called = CallConfigure(chosen, &result, error);
    SetPanelsActive(false);
    return called;
}

FullScreenHost::FullScreenHost() : frontend_(screen_) {
    if (!Host().Options.LogPath.empty()) log_ = std::fopen(Host().Options.LogPath.c_str(), "a");
    SetOutputSink([this](const std::string& line) { WriteToLog(line); });
    SetScreenRelease(CloseScreen);
}

FullScreenHost::~FullScreenHost() {
    if (Host().Frontend == &frontend_) SetUiFrontend(nullptr);
    SetScreenRelease(nullptr);
    SetOutputSink(nullptr);
    if (log_ != nullptr) std::fclose(log_);
}

void FullScreenHost::WriteToLog(const std::string& line) {
    if (log_ == nullptr) return;
    std::fputs(line.c_str(), log_);
    std::fputc('\n', log_);
    std::fflush(log_);
}

std::unique_ptr<FullScreen> PrepareFullScreen(std::string*) { return std::make_unique<FullScreenHost>(); }

int FullScreenHost::Run() {
    Screen& screen = screen_;
    SetUiFrontend(&frontend_);
    if (ListFiles(Host().WorkDir).empty()) MakeSamples(Host().WorkDir);
    screen.Open();
    Panels panels;
    ReadFolder(panels);
    screen.PushPainter([&screen, &panels] { PaintPanels(screen, panels); });
    std::string error;
    while (true) {
        SetEditorWindow(ScreenColumns(), ScreenRows() - 2, true);
        screen.RepaintAll();
        int key = screen.ReadKey();
        int last = static_cast<int>(panels.Files.size()) - 1;
        bool ok = true;
        error.clear();
        if (key == KEY_UP) panels.Selected = std::max(panels.Selected - 1, 0);
        if (key == KEY_DOWN) panels.Selected = std::min(panels.Selected + 1, std::max(last, 0));
        if (key == KEY_HOME || key == KEY_PPAGE) panels.Selected = 0;
        if (key == KEY_END || key == KEY_NPAGE) panels.Selected = std::max(last, 0);
        if ((key == '\r' || key == '\n' || key == KEY_ENTER || key == KEY_F(4)) && last >= 0) {
            const std::string& name = panels.Files[static_cast<std::size_t>(panels.Selected)];
            const std::string path = JoinPath(Host().WorkDir, name);
            ok = EditFile(screen, path, &error);
            if (ok && IsMovingSample(name)) ChangeMovingSample(path);
            ReadFolder(panels);
        }
        if (key == KEY_F(3) && last >= 0) {
            std::string shown;
            ok = ViewFile(screen, JoinPath(Host().WorkDir, panels.Files[static_cast<std::size_t>(panels.Selected)]), &shown, &error);
            ReadFolder(panels);
            Select(panels, FileNameOf(shown));
        }
        if (key == KEY_F(11)) ok = ShowPluginCommands(screen, CommandsFrom::Panels, &error);
        if (key == KEY_F(9) || key == kKeyAltShiftF9) ok = ShowPluginConfiguration(screen, &error);
        if (!ok) ShowError(screen, error);
        if (key == KEY_F(10) && ConfirmQuit(screen)) break;
    }
    screen.PopPainter();
    CloseScreen();
    SetScreenRelease(nullptr);
    Say("(F10: quitting)");
    int status = StopModule(&error) ? 0 : kExitScriptFailed;
    if (status != 0) Say("FAILED at quit: " + error);
    return status;
}

}  // namespace twhost
