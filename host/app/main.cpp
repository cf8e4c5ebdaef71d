// tarnwick-host: a substitute for the real host, for building and trying
// the Tarnwick plug-in. It loads the module, hands it the host's services,
// simulates editors over real files and runs a script of user actions (or
// reads them from the console), drawing the plug-in's menus, messages and
// dialogs as text.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "core/console.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"
#include "script/line_frontend.h"
#include "script/script.h"
#include "script/script_state.h"
#include "session/session.h"
#include "session/session_system.h"
#include "tui/full_screen.h"

using namespace twhost;

namespace {

void Usage() {
    Say("usage: tarnwick-host [options]\n"
        "  --host 1.75|3x    the host to play: 1.75 (default), or the 3.x host's layer for 1.x plug-ins\n"
        "  --script FILE     run the commands in FILE ('-' for standard input); else read them interactively\n"
        "  --plugin-dir DIR  the folder with the module and its .lng files (default: beside this program)\n"
        "  --work DIR        work in DIR and keep it (default: a new temporary folder, deleted at the end)\n"
        "  --keep            keep the temporary work folder\n"
        "  --lang Eng|Rus    the language file (default Eng)\n"
        "  --root-key KEY    the registry root key given to the plug-in (kept after the run)\n"
        "  --user NAME       with --host 3x: run for a named user (its own root key, FARUSER)\n"
        "  --registry DIR    natively: the folder that holds the registry\n"
        "  --startup-size N  the StructSize reported in PluginStartupInfo\n"
        "  --trace           log every call between host and plug-in\n"
        "  --tui             the full-screen host: panels, editor, the plug-in's menus and dialogs\n"
        "  --log FILE        with --tui: write the host's output lines (and the trace) to FILE");
}

bool ParseOptions(int argc, char** argv, HostOptions* options) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string number;
        if (option == "--host") {
            if (!value(&number)) return false;
            if (number == "1.75") {
                options->Line = HostLine::Far175;
            } else if (number == "3x") {
                options->Line = HostLine::Far3;
            } else {
                return false;
            }
        } else if (option == "--script") {
            if (!value(&options->ScriptPath)) return false;
        } else if (option == "--plugin-dir") {
            if (!value(&options->PluginDir)) return false;
        } else if (option == "--work") {
            if (!value(&options->WorkDir)) return false;
        } else if (option == "--keep") {
            options->KeepWork = true;
        } else if (option == "--lang") {
            if (!value(&options->Language)) return false;
        } else if (option == "--root-key") {
            if (!value(&options->RootKey) || options->RootKey.empty()) return false;
        } else if (option == "--user") {
            if (!value(&options->UserName) || options->UserName.empty()) return false;
        } else if (option == "--registry") {
            if (!value(&options->RegistryDir)) return false;
        } else if (option == "--startup-size") {
            if (!value(&number)) return false;
            options->StartupSize = std::atoi(number.c_str());
        } else if (option == "--trace") {
            options->Trace = true;
        } else if (option == "--tui") {
            options->FullScreen = true;
        } else if (option == "--log") {
            if (!value(&options->LogPath)) return false;
        } else {
            return false;
        }
    }
    // Only the 3.x host runs for a named user.
    if (!options->UserName.empty() && options->Line != HostLine::Far3) return false;
    return !(options->FullScreen && !options->ScriptPath.empty());
}

void CleanUp(bool moduleInUse) { CleanUpHost(moduleInUse); }

}  // namespace

int main(int argc, char** argv) {
    HostState& host = Host();
    if (!ParseOptions(argc, argv, &host.Options)) {
        Usage();
        return kExitSetupFailed;
    }
    std::string error;
    // With --tui: the full-screen host and its log, kept to the end of main.
    std::unique_ptr<FullScreen> fullScreen;
    if (host.Options.FullScreen) {
        fullScreen = PrepareFullScreen(&error);
        if (fullScreen == nullptr) Fatal(kExitSetupFailed, "tarnwick-host: " + error);
    }
    PrepareHostProcess();
    SetExitCleanup(CleanUp);
    // The run's queued answers, and the front end that takes them; both live
    // until the process ends (a fatal exit leaves main without unwinding).
    ScriptState script;
    LineFrontend lineFrontend(script);
    SetUiFrontend(&lineFrontend);
    if (!PrepareWorkFolder(&error)) Fatal(kExitSetupFailed, "tarnwick-host: " + error);
    Say("work folder: " + host.WorkDir + (host.DeleteWorkDir ? " (deleted at the end)" : ""));
    Say("module: " + host.ModulePath);
    PrepareRegistry();
    if (!SelectLanguage(host.Options.Language, &error)) Say("(language: " + error + "; every message will be null)");
    if (!StartModule(&error)) Fatal(kExitSetupFailed, "tarnwick-host: cannot load the module: " + error);

    int status;
    if (host.Options.FullScreen) {
        status = fullScreen->Run();
    } else if (host.Options.ScriptPath.empty()) {
        status = RunCommands(script, std::cin, "console", true);
    } else if (host.Options.ScriptPath == "-") {
        status = RunCommands(script, std::cin, "stdin", false);
    } else {
        std::ifstream file(host.Options.ScriptPath, std::ios::binary);
        if (!file) Fatal(kExitSetupFailed, "tarnwick-host: cannot read " + host.Options.ScriptPath);
        status = RunCommands(script, file, FileNameOf(host.Options.ScriptPath), false);
    }
    if (status == 0 && ModuleLoaded()) {
        Say("(end of the commands: quitting)");
        if (!StopModule(&error)) {
            Complain("FAILED at quit: " + error);
            status = kExitScriptFailed;
        }
    }
    SetExitCleanup(nullptr);
    CleanUpHost(false);
    return status;
}
