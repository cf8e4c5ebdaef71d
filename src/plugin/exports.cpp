// The entry points the host calls, with C linkage and the host's calling
// convention. Each one does nothing (and calls no host service) when the
// host's tables were not taken: a host too old for this plug-in, or a call
// before SetStartupInfo.

#include "plugin/config_dialog.h"
#include "plugin/editor_events.h"
#include "plugin/host.h"
#include "plugin/host_abi.h"
#include "plugin/module_exit.h"
#include "plugin/plugin_menu.h"
#include "plugin/module.h"
#include "plugin/settings.h"
#include "plugin/viewer_events.h"

namespace {

// The plug-in's one menu string and one configuration string: its title.
const char* g_menuStrings[1];

// The module object: zero at load, like all static storage.
tarnwick::plugin::Module g_module;

}  // namespace

tarnwick::plugin::Module& tarnwick::plugin::LoadedModule() { return g_module; }

extern "C" {

void TW_STDCALL SetStartupInfo(const tarnwick::PluginStartupInfo* Info) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    Module& m = g_module;
    if (!TakeHostTables(m, Info)) return;
    PrepareModule(m);
    BuildPluginKey(m, m.HostInfo.RootKey);
    BuildDefaultCfgFile(m, m.HostInfo.ModuleName);
    LoadSettings(m);
}

void TW_STDCALL GetPluginInfo(tarnwick::PluginInfo* Info) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    Module& m = g_module;
    if (Info == nullptr || !HostServicesReady(m)) return;
    Info->StructSize = static_cast<int>(sizeof(PluginInfo));
    Info->Flags = PF_EDITOR | PF_VIEWER;
    if (m.CurrentSettings.ShowInPanels == 0) Info->Flags |= PF_DISABLEPANELS;
    g_menuStrings[0] = GetMsgText(m, kMsgTitle);
    Info->PluginMenuStrings = g_menuStrings;
    Info->PluginMenuStringsNumber = 1;
    Info->PluginConfigStrings = g_menuStrings;
    Info->PluginConfigStringsNumber = 1;
}

tarnwick::INT_PTR_T TW_STDCALL OpenPlugin(int OpenFrom, tarnwick::INT_PTR_T Item) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    Module& m = g_module;
    (void)Item;
    if (HostServicesReady(m)) RunPluginMenu(m, OpenFrom);
    return kInvalidHandle;
}

int TW_STDCALL ProcessEditorEvent(int Event, void* Param) {
    tarnwick::plugin::Module& m = g_module;
    if (tarnwick::plugin::HostServicesReady(m)) tarnwick::plugin::HandleEditorEvent(m, Event, Param);
    return 0;
}

int TW_STDCALL ProcessViewerEvent(int Event, void* Param) {
    tarnwick::plugin::Module& m = g_module;
    if (tarnwick::plugin::HostServicesReady(m)) tarnwick::plugin::HandleViewerEvent(m, Event, Param);
    return 0;
}

int TW_STDCALL Configure(int ItemNumber) {
    (void)ItemNumber;
    tarnwick::plugin::Module& m = g_module;
    // Without the host's tables nothing can be shown: nothing changed.
    if (!tarnwick::plugin::HostServicesReady(m)) return 0;
    tarnwick::plugin::ShowConfigDialog(m);
    return 1;
}

void TW_STDCALL ExitFAR(void) {
    tarnwick::plugin::Module& m = g_module;
    if (!tarnwick::plugin::HostServicesReady(m)) return;
    tarnwick::plugin::PurgeAtExit(m);
    tarnwick::plugin::SavePendingAtExit(m);
}

int TW_STDCALL LibMain(void* Module, tarnwick::DWORD_T Reason, void* Reserved) {
    (void)Module;
    (void)Reason;
    (void)Reserved;
    return 1;
}


}  // extern "C"
