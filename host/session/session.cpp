#include "session/session.h"

#include "core/console.h"
#include "core/editors.h"
#include "core/files.h"
#include "core/host_state.h"
#include "core/language_file.h"
#include "core/plugin_calls.h"
#include "kit/standard_functions.h"
#include "services/host_services.h"
#include "session/session_system.h"

using namespace tarnwick;

namespace twhost {
namespace {

// The module's file in the plug-in folder: Tarnwick.dll, or natively the
// shared library the build makes.
std::string FindModuleFile(const std::string& folder) {
    for (const char* name : ModuleFileNames()) {
        std::string path = JoinPath(folder, name);
        if (FileExists(path)) return path;
    }
    return std::string();
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           hostkit::CompareIgnoringCase(text.c_str() + text.size() - end.size(), end.c_str(), -1) == 0;
}

void FillStartupInfo() {
    HostState& host = Host();
    hostkit::FillStartupRecords(HostStandIn(host), &host.Startup, &host.Functions);
}

}  // namespace

bool PrepareWorkFolder(std::string* error) {
    HostState& host = Host();
    if (!host.Options.WorkDir.empty()) {
        host.WorkDir = AbsolutePath(host.Options.WorkDir);
        if (!MakeFolders(host.WorkDir)) {
            *error = "cannot make the work folder " + host.WorkDir;
            return false;
        }
    } else {
        if (!MakeTemporaryFolder(&host.WorkDir, error)) return false;
        host.DeleteWorkDir = !host.Options.KeepWork;
    }
    std::string pluginDir = host.Options.PluginDir.empty() ? ExecutableFolder() : AbsolutePath(host.Options.PluginDir);
    std::string module = FindModuleFile(pluginDir);
    if (module.empty()) {
        *error = "no plug-in module in " + pluginDir + " (give the folder with --plugin-dir)";
        return false;
    }
    host.ModuleDir = JoinPath(JoinPath(host.WorkDir, "Plugins"), "Tarnwick");
    if (!MakeFolders(host.ModuleDir)) {
        *error = "cannot make " + host.ModuleDir;
        return false;
    }
    // The module keeps the name Tarnwick.dll on every system (dlopen does not
    // mind), so its position file is Tarnwick.cfg beside it.
    host.ModulePath = JoinPath(host.ModuleDir, "Tarnwick.dll");
    if (host.ModulePath.size() >= static_cast<std::size_t>(kPathSize)) {
        *error = "the module path " + host.ModulePath + " is longer than the host's 259 characters";
        return false;
    }
    if (!CopyOneFile(module, host.ModulePath)) {
        *error = "cannot copy " + module + " to " + host.ModulePath;
        return false;
    }
    int languages = 0;
    for (const std::string& name : ListFiles(pluginDir)) {
        if (EndsWithIgnoringCase(name, ".lng") && hostkit::CompareIgnoringCase(name.c_str(), "Tarnwick", 8) == 0) {
            if (!CopyOneFile(JoinPath(pluginDir, name), JoinPath(host.ModuleDir, name))) {
                *error = "cannot copy " + name + " to " + host.ModuleDir;
                return false;
            }
            ++languages;
        }
    }
    if (languages == 0) Say("(no language files beside the module in " + pluginDir + ": every message will be null)");
    host.DefaultCfgPath = host.ModulePath.substr(0, host.ModulePath.size() - 3) + "cfg";
    host.CfgPath = host.DefaultCfgPath;
    return true;
}

std::string HostRootKey(HostLine line, const std::string& user) {
    if (line == HostLine::Far175) return "Software\\Far\\Plugins";
    return user.empty() ? "Software\\Far Manager\\Plugins" : "Software\\Far Manager\\Users\\" + user + "\\Plugins";
}

void PrepareRegistry() {
    HostState& host = Host();
    host.UserName = Plays3x() ? host.Options.UserName : std::string();
    PrepareRegistryPlace(host);
    if (Plays3x()) {
        SetUserVariable(host.UserName);
        Say("user: " + (host.UserName.empty() ? std::string("none (FARUSER cleared)") : host.UserName + " (FARUSER)"));
    }
}

bool SelectLanguage(const std::string& language, std::string* error) {
    HostState& host = Host();
    std::string path = JoinPath(host.ModuleDir, "Tarnwick" + language + ".lng");
    LanguageFile file;
    if (!ReadLanguageFile(path, &file, error)) {
        SetActiveLanguage(LanguageFile{});
        return false;
    }
    SetActiveLanguage(file);
    SetConsoleCodePage866(file.Language == "Russian");
    return true;
}

bool StartModule(std::string* error) {
    HostState& host = Host();
    if (!LoadPluginModule(host.ModulePath, &host.Module, error)) return false;
    // The 3.x layer's ModuleNumber is the address of its object for the
    // plug-in; the host's record of the module stands in for it.
    host.ModuleNumber = Plays3x() ? reinterpret_cast<INT_PTR_T>(&host.Module) : kHostModuleNumber;
    FillStartupInfo();
    host.Quit = false;
    CallSetStartupInfo(&host.Startup);
    return true;
}

bool StopModule(std::string* error) {
    HostState& host = Host();
    bool ok = true;
    std::string problem;
    // As the real host exits: editors with unsaved changes close first (after
    // the save question) and answer normally; the main loop ends; then the
    // other editors and every viewer close while EditorControl and
    // ViewerControl answer 0, their events carrying only the id; ExitFAR last.
    std::vector<int> modified, unmodified, viewers;
    for (const auto& editor : AllEditors()) ((editor->CurState & ECSTATE_MODIFIED) != 0 ? modified : unmodified).push_back(editor->Id);
    for (const auto& viewer : AllViewers()) viewers.push_back(viewer->Id);
    for (int id : modified) {
        Say("  closing editor " + std::to_string(id) + " (unsaved changes)");
        if (!CloseEditor(id, &problem)) ok = false;
    }
    host.Editors.Exiting = host.Viewers.Exiting = true;
    for (int id : unmodified) {
        Say("  closing editor " + std::to_string(id));
        if (!CloseEditor(id, &problem)) ok = false;
    }
    for (int id : viewers) {
        Say("  closing viewer " + std::to_string(id));
        if (!CloseViewer(id, &problem)) ok = false;
    }
    DropAllEditors();
    DropAllViewers();
    if (host.Module.ExitFAR != nullptr && !CallExitFar(&problem)) ok = false;
    host.Editors.Exiting = host.Viewers.Exiting = false;
    if (!UnloadPluginModule(host.ModulePath, &host.Module)) {
        problem = "the system kept the module in memory after unloading it";
        ok = false;
    }
    host.Quit = true;
    if (!ok) *error = problem;
    return ok;
}

void CleanUpHost(bool moduleInUse) {
    HostState& host = Host();
    if (!moduleInUse && host.Module.Handle != nullptr) {
        UnloadPluginModule(host.ModulePath, &host.Module);
    }
    RemoveRegistryPlace(host);
    if (host.DeleteWorkDir && !host.WorkDir.empty()) {
        DeleteTree(host.WorkDir);
        host.DeleteWorkDir = false;
    }
}

}  // namespace twhost
