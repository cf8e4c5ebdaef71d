// The substitute host's process-wide state: the options it was started
// with, its work folder, the loaded plug-in and the record handed to it,
// its editors and viewers, its console, what the plug-in's UI showed, the language
// tables, its character tables, its own memory of files, and the front end. Every part of the host that keeps something
// between calls keeps it here.
//
// The host is single-threaded like the real one: every export is called on
// the main thread, and services run inside those calls.
#pragma once

#include <string>

#include <limits>
#include <memory>
#include <vector>

#include "core/char_tables.h"
#include "core/console.h"
#include "core/editors.h"
#include "core/host_memory.h"
#include "core/language_file.h"
#include "core/module_loader.h"
#include "core/shown_ui.h"
#include "core/ui_frontend.h"
#include "core/viewers.h"
#include "kit/code_pages.h"
#include "plugin/host_abi.h"

namespace twhost {

// Which host the substitute host plays: the 1.75 host itself, or the 3.x
// host's layer that loads 1.x plug-ins (its own registry root, table
// numbering, editor state flags, mask syntax and conversion of file names).
enum class HostLine { Far175, Far3 };

struct HostOptions {
    HostLine Line = HostLine::Far175;  // --host 1.75|3x
    std::string WorkDir;        // --work: use and keep this folder
    bool KeepWork = false;      // --keep: do not delete a temporary work folder
    std::string PluginDir;      // --plugin-dir: where the module and .lng files are
    std::string Language = "Eng";
    std::string ScriptPath;     // --script: empty for interactive input, "-" for stdin
    std::string RootKey;        // --root-key: fixed registry root key
    std::string UserName;       // --user: the 3.x host runs for this named user
    std::string RegistryDir;    // --registry: native registry folder
    int StartupSize = -1;       // --startup-size: StructSize reported to the plug-in
    bool Trace = false;         // --trace: log every export and service call
    bool FullScreen = false;    // --tui: the full-screen front end
    std::string LogPath;        // --log: with --tui, where the host's output lines go
};

// The number the 1.75 host gives the plug-in as ModuleNumber (the 3.x
// layer gives a pointer to an object of its own: HostState::ModuleNumber).
constexpr tarnwick::INT_PTR_T kHostModuleNumber = 3;

struct HostState {
    HostOptions Options;
    std::string WorkDir;          // absolute
    bool DeleteWorkDir = false;   // a temporary folder made by the host
    std::string ModuleDir;        // <work>/Plugins/Tarnwick
    std::string ModulePath;       // <work>/Plugins/Tarnwick/Tarnwick.dll
    std::string DefaultCfgPath;   // the position file beside the module
    std::string CfgPath;          // the file the cfg commands look at
    std::string RootKey;          // passed as PluginStartupInfo::RootKey
    bool DeleteRootKey = false;   // a per-run key under Wine, deleted at exit
    std::string RootKeyToDelete;  // the per-run key's top
    std::string UserName;         // the 3.x host's user (FARUSER), empty for none
    // Passed as PluginStartupInfo::ModuleNumber; every service that takes
    // one checks it.
    tarnwick::INT_PTR_T ModuleNumber = kHostModuleNumber;
    PluginModule Module;          // the loaded plug-in, if any
    bool Quit = false;            // the module was unloaded by quit
    tarnwick::PluginStartupInfo Startup{};
    tarnwick::FarStandardFunctions Functions{};
    long long LastResult = 0;     // result of the last export call
    bool HaveLastResult = false;
    int CallDepth = 0;            // exports running now (a service may call back)
    // The latest write time AgeLastWriteTime gave a file (as LastWriteTicks).
    long long LastGivenWriteTicks = std::numeric_limits<long long>::min();
    EditorSet Editors;
    ViewerSet Viewers;
    std::vector<CodeTable> Tables = DefaultCodeTables();  // the host's code tables, in order
    hostkit::CodePageSetup CodePages = DefaultCodePages(); // the 3.x layer's code pages
    std::vector<HostMemory> Memory;                       // the host's own memory of files
    bool EditorSavePosition = true;                       // the host's "save file position" setting
    ConsoleState Console;
    ShownUi Shown;
    // Every table ever made active stays alive: the plug-in may keep the
    // text pointers that GetMsg handed out. The last one is active.
    std::vector<std::unique_ptr<LanguageFile>> LanguageTables;
    UiFrontend* Frontend = nullptr;  // the one the services use
};

HostState& Host();

// True when the host plays the 3.x host's layer for 1.x plug-ins.
inline bool Plays3x() { return Host().Options.Line == HostLine::Far3; }

}  // namespace twhost
