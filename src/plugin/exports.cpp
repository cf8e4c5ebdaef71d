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
#include "plugin/plugin_state.h"
#include "plugin/settings.h"

namespace {

// The plug-in's one menu string and one configuration string: its title.
const char* g_menuStrings[1];

}  // namespace

extern "C" {

void TW_STDCALL SetStartupInfo(const tarnwick::PluginStartupInfo* Info) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    if (!TakeHostTables(Info)) return;
    BuildPluginKey(HostInfo.RootKey);
    BuildDefaultCfgFile(HostInfo.ModuleName);
    LoadSettings();
}

void TW_STDCALL GetPluginInfo(tarnwick::PluginInfo* Info) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    if (Info == nullptr || !HostServicesReady()) return;
    Info->StructSize = static_cast<int>(sizeof(PluginInfo));
    Info->Flags = PF_EDITOR;
    if (CurrentSettings.ShowInPanels == 0) Info->Flags |= PF_DISABLEPANELS;
    g_menuStrings[0] = GetMsgText(0);
    Info->PluginMenuStrings = g_menuStrings;
    Info->PluginMenuStringsNumber = 1;
    Info->PluginConfigStrings = g_menuStrings;
    Info->PluginConfigStringsNumber = 1;
}

tarnwick::INT_PTR_T TW_STDCALL OpenPlugin(int OpenFrom, tarnwick::INT_PTR_T Item) {
    using namespace tarnwick;
    using namespace tarnwick::plugin;
    (void)Item;
    if (HostServicesReady()) RunPluginMenu(OpenFrom);
    return INVALID_HANDLE;
}

int TW_STDCALL ProcessEditorEvent(int Event, void* Param) {
    if (tarnwick::plugin::HostServicesReady()) tarnwick::plugin::HandleEditorEvent(Event, Param);
    return 0;
}

int TW_STDCALL Configure(int ItemNumber) {
    (void)ItemNumber;
    // Without the host's tables nothing can be shown: nothing changed.
    if (!tarnwick::plugin::HostServicesReady()) return 0;
    tarnwick::plugin::ShowConfigDialog();
    return 1;
}

void TW_STDCALL ExitFAR(void) {
    if (tarnwick::plugin::HostServicesReady()) tarnwick::plugin::PurgeAtExit();
}

int TW_STDCALL LibMain(void* Module, tarnwick::DWORD_T Reason, void* Reserved) {
    (void)Module;
    (void)Reason;
    (void)Reserved;
    return 1;
}


}  // extern "C"
