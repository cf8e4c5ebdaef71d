// The services of the host's PluginStartupInfo record that the plug-in
// uses: Menu, Message, Dialog, GetMsg, EditorControl, ViewerControl and
// CharTable (core/char_tables.h). Each checks what
// the plug-in hands it and stops the host with kExitPluginFault when the
// plug-in breaks the interface.
#pragma once

#include <string>

#include "core/host_state.h"
#include "kit/stand_in_host.h"
#include "plugin/host_abi.h"

namespace twhost {

// The host as the kit fills its records from: the module's path and number
// and the root key of `host`, the services below, the traced standard
// functions (traced_functions.h), and slots the plug-in must not call that
// stop the host with kExitPluginFault, naming the slot.
hostkit::StandInHost HostStandIn(const HostState& host);

int TW_STDCALL HostMenu(tarnwick::INT_PTR_T moduleNumber, int x, int y, int maxHeight, tarnwick::DWORD_T flags,
                        const char* title, const char* bottom, const char* helpTopic, const int* breakKeys,
                        int* breakCode, const tarnwick::FarMenuItemEx* items, int itemsNumber);
int TW_STDCALL HostMessage(tarnwick::INT_PTR_T moduleNumber, tarnwick::DWORD_T flags, const char* helpTopic,
                           const char* const* items, int itemsNumber, int buttonsNumber);
int TW_STDCALL HostDialog(tarnwick::INT_PTR_T moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                          tarnwick::FarDialogItem* items, int itemsNumber);
const char* TW_STDCALL HostGetMsg(tarnwick::INT_PTR_T moduleNumber, int msgId);
// ECTL_GETINFO, ECTL_SETPOSITION, ECTL_PROCESSKEY, ECTL_SETPARAM and
// ECTL_GETBOOKMARKS on the current editor; 0 for every command once the
// host is past its main loop at exit.
int TW_STDCALL HostEditorControl(int command, void* param);
// VCTL_GETINFO, VCTL_SETPOSITION, VCTL_SETMODE, VCTL_QUIT and VCTL_REDRAW
// on the host's current viewer; 0 when there is none, and for every
// command once the host is past its main loop at exit.
int TW_STDCALL HostViewerControl(int command, void* param);

// Shared by the services: the ModuleNumber check, and a text field of a
// record that must end within its `size` bytes (else the host stops).
void CheckModuleNumber(tarnwick::INT_PTR_T moduleNumber, const char* service);
std::string BoundedText(const char* text, std::size_t size, const std::string& what);
// "\"topic\"" or "none", for trace lines.
std::string HelpTopicText(const char* helpTopic);
// Fails when `count` items cannot be read at `items`.
void CheckItemList(const void* items, int count, const char* service);

}  // namespace twhost
