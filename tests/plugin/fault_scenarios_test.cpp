// The plug-in's scenarios, driven through its exports with the fake host,
// under a system that fails one call at a time: for each scenario, every
// allocation it makes and every file and registry call it makes is failed
// in turn (the n-th one, for every n up to the count of a run without
// faults). After each such run:
//   - the position files on disk hold every item they held before, each
//     with its old values or its new ones, and a file that changed is a
//     whole text as the writer writes it;
//   - running the scenario again without faults gives the result of a run
//     without faults (nothing is stuck);
//   - once the module is reset, every block it took from the environment
//     has gone back (no leak).
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/fault_env.h"
#include "common/registry_tools.h"
#include "plugin/config_dialog.h"
#include "plugin_fixture.h"
#include "store/position_file.h"
#include "support/text.h"

namespace plugintest {
namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
using testing_support::FaultEnv;
using Op = FaultEnv::Op;
using Fault = FaultEnv::Fault;

// "editor " or "viewer " and the path -> the whole place as text, the first
// item of each kind and path.
using Items = std::map<std::string, std::string>;

std::string TableText(const CharTableChoice& table) {
    return "table " + std::to_string(static_cast<int>(table.Kind)) + "/" + std::to_string(table.Number) + "/" +
           table.Name;
}

bool CollectEditor(void* context, const char* path, const StoredPlace& place) {
    const EditorPlace& p = place.Editor;
    std::string text = std::to_string(p.Line) + "," + std::to_string(p.Column) + "," + std::to_string(p.Top) + "," +
                       std::to_string(p.Left) + "," + std::to_string(p.Overtype);
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        const Bookmark& mark = p.Marks.Slot[slot];
        if (IsSet(mark)) text += " m" + std::to_string(slot) + ":" + std::to_string(mark.Line);
    }
    if (p.Table.Kind != TableKind::Unknown) text += " " + TableText(p.Table);
    static_cast<Items*>(context)->insert({std::string("editor ") + path, text});
    return true;
}

bool CollectViewer(void* context, const char* path, const StoredPlace& place) {
    const ViewerPlace& p = place.Viewer;
    std::string text = std::to_string(p.Offset) + "," + std::to_string(p.Left) + "," + std::to_string(p.Hex) + "," +
                       std::to_string(p.Wrap);
    if (p.Table.Kind != TableKind::Unknown) text += " " + TableText(p.Table);
    static_cast<Items*>(context)->insert({std::string("viewer ") + path, text});
    return true;
}

// The items of both kinds of a position file in memory.
Items ItemsOf(const PositionFile* file) {
    Items items;
    VisitItems(file, ItemKind::Editor, CollectEditor, &items);
    VisitItems(file, ItemKind::Viewer, CollectViewer, &items);
    return items;
}

// A handle of its own on the file at `path`, loaded, with the module's
// comparison (the host's while it is started); the caller closes it.
PositionFile* LoadedCopy(const std::string& path) {
    PositionFile* file =
        OpenPositionFile(PositionFileSetup{platform::Env::Default(), &LoadedModule().Comparison, nullptr, 0});
    EXPECT_NE(file, nullptr);
    Load(file, path.c_str());
    return file;
}

// One failure kind of one kind of call.
struct FaultKind {
    Op Call;
    Fault Kind;
    const char* Name;
};

// Every system call the scenarios make, with the ways it fails. A file
// reported missing or present when it is not (NotFound, a wrong probe) is
// not a failure but another state of the disk, so it is not among them.
const FaultKind kIoFaults[] = {
    {Op::Open, Fault::Fail, "open fails"},
    {Op::Open, Fault::Busy, "open busy"},
    {Op::Open, Fault::Denied, "open denied"},
    {Op::Read, Fault::Fail, "read fails"},
    {Op::Read, Fault::Short, "short read"},
    {Op::Time, Fault::Fail, "time query fails"},
    {Op::Size, Fault::Fail, "size query fails"},
    {Op::Create, Fault::Fail, "create fails"},
    {Op::Create, Fault::Busy, "create busy"},
    {Op::Create, Fault::Denied, "create denied"},
    {Op::Write, Fault::Fail, "write fails"},
    {Op::Write, Fault::Short, "short write"},
    {Op::Write, Fault::DiskFull, "disk full"},
    {Op::Flush, Fault::Fail, "flush fails"},
    {Op::CloseWritable, Fault::Fail, "close of the written file fails"},
    {Op::Rename, Fault::Fail, "replace fails"},
    {Op::Rename, Fault::Busy, "replace busy"},
    {Op::Rename, Fault::Denied, "replace denied"},
    {Op::Remove, Fault::Fail, "delete fails"},
    {Op::Lock, Fault::Busy, "lock busy"},
    {Op::Lock, Fault::Fail, "lock unavailable"},
    {Op::Probe, Fault::Fail, "probe fails"},
    {Op::Probe, Fault::Busy, "probe unreachable"},
    {Op::RegistryOpen, Fault::Fail, "registry open fails"},
    {Op::RegistryQuery, Fault::Missing, "registry value unreadable"},
    {Op::RegistryQuery, Fault::Unterminated, "registry value unterminated"},
    {Op::RegistryCreate, Fault::Fail, "registry create fails"},
    {Op::RegistrySet, Fault::Fail, "registry write fails"},
};

class FaultScenarioTest : public PluginTest {
protected:
    struct Scenario {
        const char* Name;
        std::function<void()> Setup;    // after the fresh module is handed the environment
        std::function<void()> Prepare;  // before the act, and again before the rerun
        std::function<void()> Act;      // what runs under faults
        // False for a scenario that takes no heap memory at all (fixed
        // buffers only): its allocation loop has no site to fail.
        bool Allocates = true;
    };

    // A run's result: the document, the tracked editors, the positions
    // restored, the settings and their registry values after the act; then
    // the position files once the session has ended (ExitFAR), which
    // writes what a failed save left in memory only.
    std::string Outcome() {
        std::ostringstream out;
        out << "memory: " << Describe(ItemsOf(LoadedModule().Positions)) << "\n";
        out << "tracked:";
        for (int id = 1; id <= 3; ++id) {
            if (Tracked(id)) out << " " << id;
        }
        out << "\nrestored:";
        for (const EditorSetPosition& p : host().SetPositions) out << " " << p.CurLine << "," << p.CurPos;
        out << "\nbookmarks:";
        for (const hostkit::OneEditor::Mark& mark : host().Editor.Marks) out << " " << mark.Line;
        out << "\neditor table: " << host().Editor.AnsiMode << "," << host().Editor.TableNum << ","
            << host().Editor.Options << "\nviewer at: " << host().Viewer.FilePos;
        const Settings& s = LoadedModule().CurrentSettings;
        out << "\nsettings: " << s.ShowInPanels << s.Automatic << s.RemoveOld << s.CheckMask << " [" << s.Mask << "] "
            << Name(s.CfgFile) << "\nregistry:";
        for (const char* value : {"ShowInPanels", "Automatic", "RemoveOld", "CheckMask", "Mask", "CfgFile"}) {
            bool exists = false;
            std::string text = GetValue(value, &exists);
            out << " " << value << "=" << (exists ? Name(text) : std::string("-"));
        }
        out << "\n";
        ExitFAR();
        for (const std::string& file : Files()) out << Name(file) << ": " << Describe(DiskItems(file)) << "\n";
        out << "leftover temporary file: " << (LeftoverThere() ? "there" : "gone") << "\n";
        return out.str();
    }

    std::vector<std::string> Files() const { return {DefaultPositions(), File("other.cfg")}; }
    // The leftover temporary file (see FreshStart): there or not.
    bool LeftoverThere() const { return testing_support::FileExists(DefaultPositions() + ".2000000001.1.tmp"); }
    std::string Name(const std::string& path) const {
        const std::string folder = temp_.File("");
        return path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : path;
    }
    std::string Describe(const Items& items) const {
        std::string text;
        for (const auto& item : items) text += Name(item.first) + "=" + item.second + "; ";
        return text;
    }
    Items DiskItems(const std::string& file) {
        PositionFile* positions = LoadedCopy(file);
        Items items = ItemsOf(positions);
        ClosePositionFile(positions);
        return items;
    }
    // The text the writer makes of what the file at `path` reads into:
    // the file loaded and saved under another name.
    std::string Rewritten(const std::string& path) {
        const std::string copy = File("rewritten.cfg");
        testing_support::DeleteFilePath(copy);
        PositionFile* positions = LoadedCopy(path);
        EXPECT_TRUE(Save(positions, copy.c_str(), false));
        ClosePositionFile(positions);
        std::string text = ReadPositions(copy);
        testing_support::DeleteFilePath(copy);
        return text;
    }

    // A fresh module on a fresh environment, the position files and the
    // registry as every scenario starts from them.
    void FreshStart(const Scenario& scenario) {
        ResetModuleState(LoadedModule());
        if (env_) {
            EXPECT_EQ(env_->Live(), 0) << "blocks not released by the module";
        }
        env_.reset(new FaultEnv(platform::Env::Default()));
        env_->SkipFlushes(true);  // durability is not what these runs are about, and syncs are slow
        fakehost::ResetHost(temp_.File("Tarnwick.dll"), rootKey_);
        testing_support::RegistryDeleteTree(rootKey_.c_str());
        host().Tables = {"KOI8-R", "ISO-8859-5"};
        host().Editor.TotalLines = 100;
        WritePositions(ItemLine(a_, Pos{3, 1, 0, 0, 0}) + BookmarkedLine(b_, Pos{5, 2, 1, 0, 0}) +
                       ItemLine(c_, Pos{7, 3, 2, 0, 1}) + ViewerLine(a_, 20) + ViewerLine(c_, 30));
        testing_support::DeleteFilePath(File("other.cfg"));
        // What a host killed in a save left behind, for the next save to remove.
        ASSERT_TRUE(testing_support::WriteWholeFile(DefaultPositions() + ".2000000001.1.tmp", "<item"));
        LoadedModule().Env = env_.get();
        scenario.Setup();
    }

    // The text and items of every position file, for the checks after a
    // faulted run.
    struct DiskState {
        std::vector<std::string> Texts;
        std::vector<Items> ItemsPerFile;
    };
    DiskState Disk() {
        DiskState state;
        for (const std::string& file : Files()) {
            state.Texts.push_back(testing_support::FileExists(file) ? ReadPositions(file) : std::string());
            state.ItemsPerFile.push_back(DiskItems(file));
        }
        return state;
    }

    // Every item that was on disk is still there with its old values or
    // those of a run without faults (or gone where such a run removes it);
    // a file that changed is whole.
    void ExpectDiskKept(const DiskState& before, const DiskState& normal) {
        DiskState now = Disk();
        for (std::size_t f = 0; f < now.Texts.size(); ++f) {
            if (now.Texts[f] != before.Texts[f]) {
                EXPECT_EQ(Rewritten(Files()[f]), now.Texts[f]) << Name(Files()[f]) << " is not a whole text";
            }
            for (const auto& item : before.ItemsPerFile[f]) {
                auto found = now.ItemsPerFile[f].find(item.first);
                auto expected = normal.ItemsPerFile[f].find(item.first);
                if (found == now.ItemsPerFile[f].end()) {
                    EXPECT_TRUE(expected == normal.ItemsPerFile[f].end()) << Name(item.first) << " lost";
                    continue;
                }
                bool old = found->second == item.second;
                bool fresh = expected != normal.ItemsPerFile[f].end() && found->second == expected->second;
                EXPECT_TRUE(old || fresh) << Name(item.first) << " holds " << found->second;
            }
        }
    }

    // Runs the scenario without faults; the result and the number of calls
    // of each kind the act makes.
    struct Baseline {
        std::string Result;
        DiskState Disk;
        int Calls[static_cast<int>(Op::Count)];
    };
    Baseline RunClean(const Scenario& scenario) {
        Baseline baseline{};
        FreshStart(scenario);
        scenario.Prepare();
        int before[static_cast<int>(Op::Count)];
        for (int i = 0; i < static_cast<int>(Op::Count); ++i) before[i] = env_->Calls(static_cast<Op>(i));
        host().SetPositions.clear();
        scenario.Act();
        for (int i = 0; i < static_cast<int>(Op::Count); ++i) {
            baseline.Calls[i] = env_->Calls(static_cast<Op>(i)) - before[i];
        }
        baseline.Disk = Disk();
        baseline.Result = Outcome();
        return baseline;
    }

    // One run with the n-th call of `call` failing as `kind`, then the rerun.
    // False when a check failed.
    bool RunFaulted(const Scenario& scenario, const Baseline& baseline, Op call, Fault kind, int n) {
        const int failuresBefore = FailureCount();
        FreshStart(scenario);
        scenario.Prepare();
        DiskState before = Disk();
        env_->FailAt(call, n, kind);
        host().SetPositions.clear();
        scenario.Act();
        env_->ClearFaults();
        ExpectDiskKept(before, baseline.Disk);

        scenario.Prepare();
        host().SetPositions.clear();
        scenario.Act();
        EXPECT_EQ(Outcome(), baseline.Result) << "the rerun without faults";
        ResetModuleState(LoadedModule());
        EXPECT_EQ(env_->Live(), 0) << "blocks not released by the module";
        return FailureCount() == failuresBefore;
    }

    static int FailureCount() {
        return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    }

    std::vector<Scenario> Scenarios();

    // An editor item with three bookmarks and a code table.
    static std::string BookmarkedLine(const std::string& path, const Pos& pos) {
        std::string line = ItemLine(path, pos);
        return line.substr(0, line.size() - 3) + " bookmarks=\"0:2,0,0,0 4:40,1,5,0 9:90,2,9,1\" table=\"1 ISO-8859-5\">\r\n";
    }
    static std::string ViewerLine(const std::string& path, long long offset) {
        return "<item type=\"viewer\" path=\"" + path + "\" offset=\"" + std::to_string(offset) +
               "\" left=\"0\" hex=\"0\" wrap=\"0\">\r\n";
    }
    void ViewFile(int id, const std::string& path) {
        host().Viewer.ViewerID = id;
        host().Viewer.FileName = path;
        host().Viewer.Text = std::string(200, 'x');
        host().Viewer.FilePos = 0;
        ProcessViewerEvent(VE_READ, nullptr);
    }

    std::unique_ptr<FaultEnv> env_;
    std::string a_, b_, c_;
    int menusShown_ = 0;
};

// The current editor on `path` at `pos`, without an event.
void PlaceEditor(fakehost::FakeHost& host, int id, const std::string& path, const Pos& pos) {
    host.Editor.EditorID = id;
    host.Editor.FileName = path;
    host.Editor.CurLine = pos.Line;
    host.Editor.CurPos = pos.Column;
    host.Editor.TopScreenLine = pos.Top;
    host.Editor.LeftPos = pos.Left;
    host.Editor.Overtype = pos.Overtype;
    host.Editor.CurState = 0;
}

std::vector<FaultScenarioTest::Scenario> FaultScenarioTest::Scenarios() {
    a_ = ExistingFile("a.txt");
    b_ = ExistingFile("b.txt");
    c_ = File("c.txt");  // no such file: its item goes at a purge
    const std::string other = File("other.cfg");
    auto none = [] {};
    auto start = [this] { Start(); };
    // The plug-in's menu in the editor: Store.
    auto storeFromMenu = [this] {
        host().MenuScript = [](const fakehost::MenuShown&, int*) { return 0; };
        OpenPlugin(OPEN_EDITOR, 0);
    };
    // The menu from the panels: `command` (0 list, 1 purge) once, then cancel.
    auto panelsMenu = [this](int command) {
        menusShown_ = 0;
        host().MenuScript = [this, command](const fakehost::MenuShown& shown, int* breakCode) {
            if (shown.HasBottom) {
                // The saved positions: delete the entry of b.txt, if listed.
                for (std::size_t i = 0; i < shown.Texts.size(); ++i) {
                    if (shown.Texts[i].find("b.txt") != std::string::npos) {
                        *breakCode = 0;
                        return static_cast<int>(i);
                    }
                }
                return -1;
            }
            return menusShown_++ == 0 ? command : -1;
        };
        host().MessageScript = [](const fakehost::MessageShown&) { return 0; };
        OpenPlugin(OPEN_PLUGINSMENU, 0);
    };
    auto settingsInRegistry = [this] {
        SetValue("ShowInPanels", "1");
        SetValue("Automatic", "1");
        SetValue("RemoveOld", "0");
        SetValue("CheckMask", "1");
        SetValue("Mask", "*.txt,*.c");
        SetValue("CfgFile", DefaultPositions());
    };
    auto dialogOk = [this](std::function<void(FarDialogItem*)> edit) {
        host().DialogScriptAlways = [edit](FarDialogItem* items, int) {
            edit(items);
            return static_cast<int>(kRowOk);
        };
        Configure(0);
    };

    return {
        {"fresh load", start, none, [this] { OpenEditor(1, a_); }},
        {"merge of a changed file",
         [this] {
             Start();
             OpenEditor(1, a_);
         },
         [this, other] {
             // Another host changed b, removed c and added d.
             WritePositions(ItemLine(File("d.txt"), Pos{9, 9, 0, 0, 0}) + ItemLine(a_, Pos{3, 1, 0, 0, 0}) +
                            ItemLine(b_, Pos{50, 5, 4, 0, 0}));
             PlaceEditor(host(), 1, a_, Pos{11, 4, 2, 0, 0});
         },
         storeFromMenu},
        {"store from the menu",
         [this] {
             Start();
             OpenEditor(1, File("e.txt"));
         },
         [this] { PlaceEditor(host(), 1, File("e.txt"), Pos{12, 6, 3, 1, 0}); }, storeFromMenu},
        {"save on EE_SAVE",
         [this] {
             Start();
             OpenEditor(1, b_);
         },
         [this] { MoveTo(Pos{20, 8, 10, 0, 1}); }, [] { ProcessEditorEvent(EE_SAVE, nullptr); }},
        {"close", start,
         [this] {
             OpenEditor(1, c_);
             MoveTo(Pos{30, 2, 20, 0, 0});
         },
         [this] { CloseEditor(1); }},
        {"restore with bookmarks and a table", start,
         [this] {
             host().Editor = fakehost::SimulatedEditor{};
             host().Editor.TotalLines = 100;
         },
         [this] { OpenEditor(2, b_); }},
        {"restore by the text's search",
         [this, storeFromMenu] {
             Start();
             std::string text;
             for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\n";
             ASSERT_TRUE(testing_support::WriteWholeFile(a_, text));
             hostkit::SetEditorText(&host().Editor, text);
             OpenEditor(1, a_);
             MoveTo(Pos{200, 2, 190, 0, 0});
             storeFromMenu();
             host().MenuScript = nullptr;
             CloseEditor(1);
             // The file changed outside: 60 lines more above the place.
             text = std::string(60, '\n') + text;
             ASSERT_TRUE(testing_support::WriteWholeFile(a_, text));
             hostkit::SetEditorText(&host().Editor, text);
         },
         [this] { PlaceEditor(host(), 2, a_, Pos{0, 0, 0, 0, 0}); },
         [this] { OpenEditor(2, a_); }},
        {"viewer close", start,
         [this] {
             ViewFile(3, a_);
             host().Viewer.Hex = 1;
             host().Viewer.FilePos = 77;
         },
         [] {
             int id = 3;
             ProcessViewerEvent(VE_CLOSE, &id);
         }},
        {"list deletion", start, none, [panelsMenu] { panelsMenu(0); }},
        {"purge from the menu", start, none, [panelsMenu] { panelsMenu(1); }},
        {"purge at exit",
         [this] {
             Start();
             OpenEditor(1, a_);
         },
         none, [] { ExitFAR(); }},
        {"dialog OK with a new path",
         [this, other] {
             WritePositions(ItemLine(File("q.txt"), Pos{1, 1, 0, 0, 0}) + ItemLine(a_, Pos{2, 2, 0, 0, 0}), other);
             Start();
         },
         none,
         [dialogOk, other] {
             dialogOk([other](FarDialogItem* items) {
                 CopyBounded(items[kRowCfgFile].Data, other.c_str(), sizeof items[kRowCfgFile].Data);
             });
         }},
        {"settings load", settingsInRegistry, none, start, false},
        {"settings write",
         [this, settingsInRegistry] {
             settingsInRegistry();
             Start();
         },
         none,
         [dialogOk] {
             dialogOk([](FarDialogItem* items) {
                 items[kRowShowInPanels].Selected = 0;
                 items[kRowRemoveOld].Selected = 1;
                 CopyBounded(items[kRowMask].Data, "*.md", sizeof items[kRowMask].Data);
             });
         }},
    };
}

TEST_F(FaultScenarioTest, AllocationFailureAtEverySite) {
    for (const Scenario& scenario : Scenarios()) {
        const Baseline baseline = RunClean(scenario);
        const int sites = baseline.Calls[static_cast<int>(Op::Alloc)];
        if (!scenario.Allocates) {
            EXPECT_EQ(sites, 0) << scenario.Name << " now allocates: its sites must be failed too";
            continue;
        }
        // A scenario that allocates nothing would pass without a single fault.
        EXPECT_GT(sites, 0) << scenario.Name << " made no allocation: no site was failed";
        int failed = 0;
        for (int n = 1; n <= sites; ++n) {
            SCOPED_TRACE(std::string(scenario.Name) + ": allocation " + std::to_string(n) + " of " +
                         std::to_string(sites) + " fails");
            if (!RunFaulted(scenario, baseline, Op::Alloc, Fault::Fail, n)) ++failed;
            if (failed > 0) break;  // the first failing site tells enough
        }
        std::printf("[ faults   ] %s: %d allocation sites\n", scenario.Name, sites);
    }
}

TEST_F(FaultScenarioTest, IoFailureAtEveryCall) {
    constexpr std::size_t kFaultKinds = sizeof kIoFaults / sizeof kIoFaults[0];
    int callsOfKind[kFaultKinds] = {};
    for (const Scenario& scenario : Scenarios()) {
        const Baseline baseline = RunClean(scenario);
        std::string counts;
        int total = 0;
        for (std::size_t k = 0; k < kFaultKinds; ++k) {
            const FaultKind& fault = kIoFaults[k];
            const int calls = baseline.Calls[static_cast<int>(fault.Call)];
            callsOfKind[k] += calls;
            bool failed = false;
            for (int n = 1; n <= calls && !failed; ++n) {
                SCOPED_TRACE(std::string(scenario.Name) + ": " + fault.Name + " at call " + std::to_string(n) + " of " +
                             std::to_string(calls));
                failed = !RunFaulted(scenario, baseline, fault.Call, fault.Kind, n);
            }
            total += calls;
            if (calls > 0) counts += std::string(" ") + fault.Name + " " + std::to_string(calls) + ",";
        }
        std::printf("[ faults   ] %s: %d failed calls:%s\n", scenario.Name, total, counts.c_str());
        // A scenario that makes no system call would pass without a single fault.
        EXPECT_GT(total, 0) << scenario.Name << " made no system call: no call was failed";
    }
    // Every failure of the list is made somewhere.
    for (std::size_t k = 0; k < kFaultKinds; ++k) {
        EXPECT_GT(callsOfKind[k], 0) << "no scenario makes the call of \"" << kIoFaults[k].Name << "\"";
    }
}

}  // namespace
}  // namespace plugintest
