// A host process for the tests that need several real processes on one
// position file, started by those tests:
//   position_host host <folder> <id> <milliseconds> <results>
//       the plug-in through its exports, with a fake host whose module lies
//       in <folder>: stores (menu), closes and deletes (list) positions of
//       its own files as fast as it can, then ExitFAR; writes per file the
//       last position it stored, or that it deleted it, to <results>.
//   position_host reader <cfg> <milliseconds> <results>
//       only reads the file (fresh Loads and raw reads), counting torn ones.
//   position_host saver <cfg> <marker>
//       saves generation after generation of ten items until it is
//       killed, and writes <marker> after its first save.
//   position_host holdlock <cfg> <marker>
//       takes the update lock, writes <marker> and waits to be killed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/registry_tools.h"
#include "common/system_tools.h"
#include "common/test_support.h"
#include "fake_host.h"
#include "platform/env_wrapper.h"
#include "plugin/host_abi.h"
#include "store/position_file.h"

using namespace tarnwick;
namespace ts = tarnwick::testing_support;

namespace {

// A position file of the helper's own, without a host, closed on destruction.
class Positions {
public:
    explicit Positions(platform::Env* env = platform::Env::Default())
        : file_(store::OpenPositionFile({env, &AsciiComparison(), nullptr, 0})) {}
    ~Positions() { store::ClosePositionFile(file_); }
    Positions(const Positions&) = delete;
    Positions& operator=(const Positions&) = delete;
    operator store::PositionFile*() const { return file_; }

private:
    store::PositionFile* file_;
};

store::StoredPlace PlaceAtLine(int line) {
    store::StoredPlace place = store::EmptyPlace();
    place.Editor.Line = line;
    return place;
}

std::uint64_t NowMs() {
    platform::FileTime now = platform::Env::Default()->CurrentTime();
    return ((static_cast<std::uint64_t>(now.High) << 32) | now.Low) / 10000ULL;
}

// ---- The plug-in host ----------------------------------------------------

// What the menus of the next operation answer: the list of saved positions
// deletes the line `DeleteTarget` (once; empty: the list is left), the
// other menus take the next of `TopAnswers` (none left: Esc).
struct MenuPlan {
    std::string DeleteTarget;
    bool Deleted = false;
    std::vector<int> TopAnswers;
};

int AnswerMenu(MenuPlan& plan, const fakehost::MenuShown& shown, int* breakCode) {
    if (!shown.BreakKeys.empty()) {  // the list of saved positions
        const std::string target = plan.DeleteTarget;
        plan.DeleteTarget.clear();
        for (std::size_t i = 0; !target.empty() && i < shown.Texts.size(); ++i) {
            if (shown.Texts[i] != target) continue;
            plan.Deleted = true;
            if (breakCode != nullptr) *breakCode = 0;
            return static_cast<int>(i);
        }
        return -1;
    }
    if (plan.TopAnswers.empty()) return -1;
    int answer = plan.TopAnswers.front();
    plan.TopAnswers.erase(plan.TopAnswers.begin());
    return answer;
}

void Forget() {
    fakehost::FakeHost& host = fakehost::Host();
    host.Menus.clear();
    host.Messages.clear();
    host.MessageAnswers.clear();
    host.SetPositions.clear();
    host.ModuleNumbersSeen.clear();
}

// How many of this host's files the file on disk does not show as this host
// last left them, right after an operation: each one an update lost to
// another host's save (or one still waiting to be written).
long CountMismatches(const std::string& cfg, int id, const std::vector<int>& last) {
    Positions file;
    long mismatches = 0;
    if (store::Load(file, cfg.c_str())) {
        for (std::size_t k = 0; k < last.size(); ++k) {
            const std::string path = "C:\\h" + std::to_string(id) + "\\f" + std::to_string(k);
            store::StoredPlace place = PlaceAtLine(-1000);
            const bool there = store::ReadItem(file, store::ItemKind::Editor, path.c_str(), &place);
            if (last[k] >= 0 ? !there || place.Editor.Line != last[k] : last[k] == -2 && there) ++mismatches;
        }
    }
    return mismatches;
}

int RunHost(const std::string& folder, int id, int milliseconds, const std::string& results) {
    const std::string sep(1, ts::PathSeparator());
    ts::RegistryRootOverride registry(folder + sep + "registry" + std::to_string(id));
    const std::string rootKey = "Software\\TarnwickTests\\" + ts::UniqueName("host" + std::to_string(id));
    fakehost::ResetHost(folder + sep + "Tarnwick.dll", rootKey);
    // The files are made up: the purge at exit must leave them.
    platform::RegistryKey* key = platform::Env::Default()->RegistryCreateForWrite((rootKey + "\\Tarnwick").c_str());
    if (key == nullptr) return 2;
    platform::Env::Default()->RegistrySetString(key, "RemoveOld", "0");
    platform::Env::Default()->RegistryClose(key);
    fakehost::FakeHost& host = fakehost::Host();
    MenuPlan plan;
    host.MenuScript = [&plan](const fakehost::MenuShown& shown, int* breakCode) {
        return AnswerMenu(plan, shown, breakCode);
    };
    SetStartupInfo(&host.Info);

    const int files = 6;
    std::vector<int> last(files, -1);  // -1 never stored, -2 deleted
    int value = 0;
    long operations = 0;
    long mismatches = 0;
    const std::uint64_t end = NowMs() + static_cast<std::uint64_t>(milliseconds);
    for (int round = 0; NowMs() < end; ++round) {
        const int k = round % files;
        const std::string path = "C:\\h" + std::to_string(id) + "\\f" + std::to_string(k);
        Forget();
        if (round % 5 == 4 && last[k] >= 0) {
            plan.DeleteTarget = "editor: " + path;
            plan.Deleted = false;
            plan.TopAnswers = {2};  // the list
            host.MessageAnswers.push_back(0);  // yes, delete it
            OpenPlugin(OPEN_EDITOR, 0);
            if (plan.Deleted) last[k] = -2;
        } else {
            ++value;
            host.Editor = fakehost::SimulatedEditor{};
            host.Editor.EditorID = k + 1;
            host.Editor.FileName = path;
            host.Editor.CurLine = value;
            host.Editor.CurPos = id;
            ProcessEditorEvent(EE_READ, nullptr);
            host.Editor.CurLine = value;
            host.Editor.CurPos = id;
            host.Editor.TopScreenLine = 0;
            host.Editor.LeftPos = 0;
            host.Editor.Overtype = 0;
            plan.TopAnswers = {0};  // store the position
            OpenPlugin(OPEN_EDITOR, 0);
            int editorId = k + 1;
            ProcessEditorEvent(EE_CLOSE, &editorId);
            last[k] = value;
        }
        ++operations;
        mismatches += CountMismatches(folder + sep + "Tarnwick.cfg", id, last);
    }
    Forget();
    ExitFAR();
    ts::RegistryDeleteTree(rootKey.c_str());
    std::string text = "operations " + std::to_string(operations) + " mismatches " + std::to_string(mismatches) + "\n";
    for (int k = 0; k < files; ++k) {
        text += "C:\\h" + std::to_string(id) + "\\f" + std::to_string(k) + " " + std::to_string(last[k]) + "\n";
    }
    return ts::WriteWholeFile(results, text) ? 0 : 3;
}

// ---- The reader ------------------------------------------------------------

// Nothing but complete item lines, as the writer makes them.
bool IsWholeItemList(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return false;
        const std::string line = text.substr(at, end - at);
        if (line.compare(0, 6, "<item ") != 0 || line.back() != '>' || line.find(" overtype=\"") == std::string::npos) {
            return false;
        }
        at = end + 2;
    }
    return true;
}

// Keeps the bytes a Load reads, so that the reader checks what the Load
// itself saw.
class RecordingEnv : public platform::EnvWrapper {
public:
    RecordingEnv() : EnvWrapper(platform::Env::Default()) {}
    bool ReadFile(platform::File* file, void* buffer, std::uint32_t size, std::uint32_t* read) override {
        bool ok = EnvWrapper::ReadFile(file, buffer, size, read);
        if (ok) Read.append(static_cast<const char*>(buffer), *read);
        return ok;
    }
    std::string Read;
};

long CountLines(const std::string& text) {
    long lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

int RunReader(const std::string& cfg, int milliseconds, const std::string& results) {
    platform::Env* env = platform::Env::Default();
    long reads = 0;
    long torn = 0;
    const std::uint64_t end = NowMs() + static_cast<std::uint64_t>(milliseconds);
    while (NowMs() < end) {
        RecordingEnv recording;
        {
            Positions file(&recording);
            // What the Load read is whole item lines, each one an editor item.
            if (store::Load(file, cfg.c_str())) {
                ++reads;
                if (!IsWholeItemList(recording.Read) ||
                    store::CountItems(file, store::ItemKind::Editor) != CountLines(recording.Read)) {
                    ++torn;
                }
            }
        }
        platform::File* handle = nullptr;
        if (env->OpenForRead(cfg.c_str(), &handle) == platform::Status::Ok) {
            std::uint64_t size = 0;
            if (env->GetFileSize(handle, &size)) {
                std::string text(static_cast<std::size_t>(size), '\0');
                std::uint32_t got = 0;
                if (size == 0 || env->ReadFile(handle, &text[0], static_cast<std::uint32_t>(size), &got)) {
                    text.resize(got);
                    ++reads;
                    if (!IsWholeItemList(text)) ++torn;
                }
            }
            env->CloseFile(handle);
        }
        // A reader holds the file for a moment only, like a host reading it
        // at an event; a reader that never let go would starve every writer.
        ts::SleepMs(1);
    }
    const std::string text = "reads " + std::to_string(reads) + " torn " + std::to_string(torn) + "\n";
    return ts::WriteWholeFile(results, text) ? 0 : 3;
}

// ---- The saver that is killed ---------------------------------------------------

int RunSaver(const std::string& cfg, const std::string& marker) {
    Positions file;
    bool announced = false;
    for (;;) {
        store::UpdateScope update(file, cfg.c_str());
        if (!store::Load(file, cfg.c_str())) continue;
        store::StoredPlace place = store::EmptyPlace();
        store::ReadItem(file, store::ItemKind::Editor, "C:\\k\\f0", &place);
        place.Editor.Line += 1;
        for (int k = 0; k < 10; ++k) {
            const std::string path = "C:\\k\\f" + std::to_string(k);
            if (store::ReadItem(file, store::ItemKind::Editor, path.c_str(), nullptr)) {
                store::WriteItem(file, store::ItemKind::Editor, path.c_str(), place);
            } else {
                store::AddItem(file, store::ItemKind::Editor, path.c_str(), place);
            }
        }
        // The marker goes out after the first save, so that every kill
        // meets a file with items, however slowly this process started.
        if (store::Save(file, cfg.c_str(), false) && !announced) {
            if (!ts::WriteWholeFile(marker, "saving")) return 3;
            announced = true;
        }
    }
}

int RunLockHolder(const std::string& cfg, const std::string& marker) {
    Positions file;
    if (!store::BeginUpdate(file, cfg.c_str())) return 4;
    ts::WriteWholeFile(marker, "held");
    for (;;) ts::SleepMs(1000);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 5 && args[0] == "host") {
        return RunHost(args[1], std::atoi(args[2].c_str()), std::atoi(args[3].c_str()), args[4]);
    }
    if (args.size() == 4 && args[0] == "reader") return RunReader(args[1], std::atoi(args[2].c_str()), args[3]);
    if (args.size() == 3 && args[0] == "saver") return RunSaver(args[1], args[2]);
    if (args.size() == 3 && args[0] == "holdlock") return RunLockHolder(args[1], args[2]);
    std::fprintf(stderr, "usage: position_host host|reader|saver|holdlock ...\n");
    return 1;
}
