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

std::string StoredPosition(const std::string& path) {
    std::string content;
    if (!ReadWholeFile(Host().DefaultCfgPath, &content)) return "none yet";
    std::vector<TextLine> lines = ParsePositionText(content);
    std::vector<const TextItem*> items = FindEditorItems(lines, path);
    if (items.empty()) return "none yet";
    auto number = [&](const char* name) {
        const std::string* value = items[0]->Find(name);
        return value == nullptr ? std::string("?") : std::to_string(std::atoi(value->c_str()) + 1);
    };
    return "line " + number("line") + ", col " + number("column");
}

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
    std::vector<std::string> info = {
        "Tarnwick remembers where the editor", "stood in each file and puts it back", "when the file is opened again.", "",
        "Enter or F4: edit the file. In the", "editor, F11, Tarnwick, Store: the", "file is tracked from then on. Move,",
        "close with Esc, open it again.", "F9: the plug-in's settings.", "F10: quit.", "",
        "Stored position of this file:", name.empty() ? "" : "  " + StoredPosition(path)};
    if (IsMovingSample(name)) {
        info.insert(info.end(), {"", "Another program inserts " + std::to_string(kMovingInsert) + " lines at the",
                                 "top of moving.txt whenever its", "editor closes. Store a place in it,",
                                 "close, open it again: the cursor", "is on the same text, lines lower."});
    }
    for (std::size_t i = 0; i < info.size() && static_cast<int>(i) < height - 3; ++i) {
        screen.PutText(half + 2, 2 + static_cast<int>(i), info[i], Paint::Panel, columns - half - 4);
    }
    screen.PutText(0, rows - 2, ForConsole(Host().WorkDir.c_str()) + ">", Paint::Plain, columns, true);
    screen.DrawKeyBar({"", "", "", "Edit", "", "", "", "", "Conf", "Quit", "Plug", ""});
    PlaceCursor(0, 0, false);
}

void ReadFolder(Panels& panels) {
    panels.Files = ListFiles(Host().WorkDir);
    std::sort(panels.Files.begin(), panels.Files.end());
    panels.Selected = std::clamp(panels.Selected, 0, std::max(static_cast<int>(panels.Files.size()) - 1, 0));
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

bool ShowPluginCommands(Screen& screen, bool fromEditor, std::string* error) {
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    bool offered = fromEditor ? (info.Flags & PF_EDITOR) != 0 : (info.Flags & PF_DISABLEPANELS) == 0;
    int chosen = ChooseString(screen, "Plugin commands", info.PluginMenuStrings, offered ? info.PluginMenuStringsNumber : 0);
    if (chosen < 0) return true;
    INT_PTR_T result;
    if (fromEditor) return CallOpenPlugin(OPEN_EDITOR, &result, error);
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
        if (key == KEY_F(11)) ok = ShowPluginCommands(screen, false, &error);
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
