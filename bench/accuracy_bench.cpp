// How often a stored place comes back on its own text when the file changed
// between two openings, on pairs of revisions of real files
// (scripts/bench-accuracy.py takes them from a git history and writes the
// list this program reads). For each pair, at many lines of the old
// revision, it drives the plug-in's exports with the null host as the host
// would: the old text in the editor and on disk, the place stored from the
// menu, the editor closed and opened again on the unchanged file, closed,
// the file replaced by the new revision (disk and editor), opened again.
// It counts where the cursor lands beside where the line number alone
// would put it, and prints one table.
//
//   tarnwick_accuracy LIST [--lines N] [--touch-every N]
//
// LIST holds one pair a line: OLD<TAB>NEW<TAB>LABEL, the two paths
// relative to the list's folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/system_tools.h"
#include "changed_files.h"
#include "null_host.h"
#include "plugin/host_abi.h"
#include "plugin/module.h"
#include "store/replace_file.h"
#include "support/text.h"

namespace {

using benchfiles::ChangeFile;
using benchfiles::FileText;

using namespace tarnwick;
namespace ts = tarnwick::testing_support;
namespace fs = std::filesystem;

constexpr int kNeighbours = 2;  // lines on each side that make "the line and its neighbours"

struct Pair {
    std::string Old;
    std::string New;
    std::string Label;
};

// One row of the table: the places counted, and how many came back on a
// line with their text, by the plug-in and by the line number alone.
struct Tally {
    long long Places = 0;
    long long Plugin = 0;
    long long ByNumber = 0;
};

struct Tallies {
    Tally Surrounded;  // the line and its neighbours survive unchanged
    Tally Alone;       // only the line survives
    Tally AloneUnique; // of those, the line's text occurs once in the new revision
    Tally Gone;        // the line's text is not in the new revision
    Tally Unchanged;   // the file not changed: back on the same line
    Tally Touched;     // the same bytes written again: back on the same line
    long long Pairs = 0;
    long long Lines = 0;
};

// The editor's lines for `text`, as the host splits it.
std::vector<std::string> LinesOf(const std::string& text) {
    hostkit::OneEditor editor{};
    hostkit::SetEditorText(&editor, text);
    return editor.Lines;
}

void Event(int event, void* param = nullptr) { ProcessEditorEvent(event, param); }

int g_nextId = 1;

// Opens `path` in a new editor whose text is `text`; the cursor where the
// restore put it.
int OpenEditor(const std::string& path, const std::string& text) {
    benchhost::CurrentEditor& editor = benchhost::Editor();
    editor.EditorID = g_nextId++;
    editor.FileName = path;
    editor.CurLine = editor.CurPos = editor.TopScreenLine = editor.LeftPos = editor.Overtype = 0;
    editor.CurState = 0;
    benchhost::SetEditorText(text);
    Event(EE_READ);
    Event(EE_REDRAW);
    return editor.CurLine;
}

void CloseEditor() {
    int id = benchhost::Editor().EditorID;
    Event(EE_CLOSE, &id);
}

// Moves the cursor to `line`, ten lines below the top of the screen, and
// stores the place from the menu.
void StoreAt(int line) {
    benchhost::CurrentEditor& editor = benchhost::Editor();
    editor.CurLine = line;
    editor.CurPos = 0;
    editor.TopScreenLine = std::max(line - 10, 0);
    Event(EE_REDRAW);
    benchhost::SetMenuAnswer(0);
    OpenPlugin(OPEN_EDITOR, 0);
}

bool Holds(const std::vector<std::string>& lines, int at, const std::string& text) {
    return at >= 0 && at < static_cast<int>(lines.size()) && lines[static_cast<std::size_t>(at)] == text;
}

// Whether the line `at` of `old` stands somewhere in `now` with its
// neighbours (as far as the old revision has them) around it.
bool SurvivesWithNeighbours(const std::vector<std::string>& old, int at, const std::vector<std::string>& now,
                            const std::vector<int>& places) {
    for (int j : places) {
        bool all = true;
        for (int d = -kNeighbours; d <= kNeighbours && all; ++d) {
            const int o = at + d;
            if (o < 0 || o >= static_cast<int>(old.size())) continue;
            all = Holds(now, j + d, old[static_cast<std::size_t>(o)]);
        }
        if (all) return true;
    }
    return false;
}

void Count(Tally* tally, bool plugin, bool byNumber) {
    tally->Places += 1;
    tally->Plugin += plugin ? 1 : 0;
    tally->ByNumber += byNumber ? 1 : 0;
}

// The lines of a file of `total` lines where places are stored: every
// line, or `most` spread evenly over the file.
std::vector<int> SampleLines(int total, int most) {
    std::vector<int> lines;
    if (total <= most) {
        for (int line = 0; line < total; ++line) lines.push_back(line);
        return lines;
    }
    for (int k = 0; k < most; ++k) lines.push_back(static_cast<int>(static_cast<long long>(k) * total / most));
    return lines;
}

void MeasurePair(const std::string& path, const std::string& oldText, const std::string& newText, int most,
                 int touchEvery, Tallies* tallies) {
    const std::vector<std::string> old = LinesOf(oldText);
    const std::vector<std::string> now = LinesOf(newText);
    std::unordered_map<std::string, std::vector<int>> places;
    for (int j = 0; j < static_cast<int>(now.size()); ++j) places[now[static_cast<std::size_t>(j)]].push_back(j);
    int sample = 0;
    for (int line : SampleLines(static_cast<int>(old.size()), most)) {
        const std::string& text = old[static_cast<std::size_t>(line)];
        ChangeFile(path, oldText);
        OpenEditor(path, oldText);
        StoreAt(line);
        CloseEditor();
        // Not changed: back where it was.
        const int again = OpenEditor(path, oldText);
        Count(&tallies->Unchanged, again == line, true);
        CloseEditor();
        if (touchEvery > 0 && sample++ % touchEvery == 0) {
            ChangeFile(path, oldText);
            const int touched = OpenEditor(path, oldText);
            Count(&tallies->Touched, touched == line, true);
            CloseEditor();
        }
        // Changed: on its text, and where the line number alone would be.
        ChangeFile(path, newText);
        const int landed = OpenEditor(path, newText);
        CloseEditor();
        const int byNumber = std::min(line, static_cast<int>(now.size()) - 1);
        const bool hit = Holds(now, landed, text);
        const bool numberHit = Holds(now, byNumber, text);
        auto found = places.find(text);
        if (found == places.end()) {
            Count(&tallies->Gone, false, false);
        } else if (SurvivesWithNeighbours(old, line, now, found->second)) {
            Count(&tallies->Surrounded, hit, numberHit);
        } else {
            Count(&tallies->Alone, hit, numberHit);
            if (found->second.size() == 1) Count(&tallies->AloneUnique, hit, numberHit);
        }
        tallies->Lines += 1;
    }
    tallies->Pairs += 1;
}

std::string Percent(long long part, long long whole) {
    if (whole == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return text;
}

void PrintRow(const char* label, const Tally& tally, const char* goal, double goalPercent, bool baseline) {
    std::string met;
    if (goalPercent > 0 && tally.Places > 0) {
        met = 100.0 * static_cast<double>(tally.Plugin) >= goalPercent * static_cast<double>(tally.Places) ? "yes" : "no";
    }
    std::printf("| %s | %lld | %lld (%s) | %s | %s | %s |\n", label, tally.Places, tally.Plugin,
                Percent(tally.Plugin, tally.Places).c_str(),
                baseline ? (std::to_string(tally.ByNumber) + " (" + Percent(tally.ByNumber, tally.Places) + ")").c_str() : "-",
                goal, met.c_str());
}

void PrintTable(const Tallies& t) {
    std::printf("%lld pairs of revisions, %lld stored places\n\n", t.Pairs, t.Lines);
    std::printf("| the stored line in the new revision | places | on its text: by the text | by the line number (today) | goal | met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    PrintRow("(a) the line and its neighbours survive unchanged", t.Surrounded, ">= 99%", 99, true);
    PrintRow("(a) only the line itself survives", t.Alone, ">= 95%", 95, true);
    PrintRow("    of which the line's text is unique in the new revision", t.AloneUnique, "", 0, true);
    std::printf("| the line's text is gone | %lld | - | - | (its neighbours' place; not counted) | |\n", t.Gone.Places);
    PrintRow("(c) file unchanged: on the same line", t.Unchanged, "100%", 100, false);
    PrintRow("(c) the same bytes written again: on the same line", t.Touched, "100%", 100, false);
}

bool ReadList(const std::string& list, std::vector<Pair>* pairs) {
    std::ifstream in(list);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Pair pair;
        if (std::getline(fields, pair.Old, '\t') && std::getline(fields, pair.New, '\t')) {
            std::getline(fields, pair.Label);
            pairs->push_back(pair);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarnwick_accuracy LIST [--lines N] [--touch-every N]\n");
        return 2;
    }
    const std::string list = argv[1];
    int most = 30;
    int touchEvery = 5;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--lines") most = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--touch-every") touchEvery = std::atoi(argv[i + 1]);
    }
    std::vector<Pair> pairs;
    if (!ReadList(list, &pairs)) {
        std::fprintf(stderr, "cannot read %s\n", list.c_str());
        return 2;
    }
    const fs::path folder = fs::absolute(fs::path(list)).parent_path();
    const std::string work = ts::MakeTempFolder("tarnwick-accuracy");
    int status = 0;
    {
        ts::RegistryRootOverride registry(work + ts::PathSeparator() + "registry");
        ts::MakeFolder(work + ts::PathSeparator() + "registry");
        benchhost::StartPlugin(work + ts::PathSeparator() + "Tarnwick.dll", "Software\\TarnwickAccuracy");
        plugin::Module& m = plugin::LoadedModule();
        const std::string cfg = work + ts::PathSeparator() + "positions.cfg";
        CopyBounded(m.CurrentSettings.CfgFile, cfg.c_str(), sizeof m.CurrentSettings.CfgFile);
        m.CurrentSettings.Automatic = 1;
        m.CurrentSettings.CheckMask = 0;
        Tallies tallies;
        int n = 0;
        for (const Pair& pair : pairs) {
            const std::string path = work + ts::PathSeparator() + "file" + std::to_string(n++) + ".txt";
            MeasurePair(path, FileText((folder / pair.Old).string()), FileText((folder / pair.New).string()), most,
                        touchEvery, &tallies);
            if (n % 25 == 0) std::fprintf(stderr, "  %d of %zu pairs\n", n, pairs.size());
        }
        PrintTable(tallies);
        const bool missed = tallies.Unchanged.Plugin != tallies.Unchanged.Places ||
                            tallies.Touched.Plugin != tallies.Touched.Places;
        if (missed) status = 1;
    }
    ts::RemoveFolderTree(work);
    return status;
}
