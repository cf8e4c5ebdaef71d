#include <string>

#include "core/char_tables.h"
#include "core/console.h"
#include "core/oem_names.h"
#include "kit/unused_slots.h"
#include "services/host_services.h"
#include "services/traced_functions.h"

using namespace tarnwick;

namespace twhost {
namespace {

[[noreturn]] void UnusedSlotCalled(const char* record, const char* slot) {
    Fatal(kExitPluginFault, std::string("the plug-in called ") + record + "." + slot +
                                 ", a service this host does not offer to it", true);
}

}  // namespace

hostkit::StandInHost HostStandIn(const HostState& host) {
    hostkit::StandInHost standIn;
    standIn.ModuleName = NameForPlugin(host.ModulePath);
    standIn.ModuleNumber = host.ModuleNumber;
    standIn.RootKey = host.RootKey.c_str();
    standIn.StartupSize = host.Options.StartupSize >= 0 ? host.Options.StartupSize : kStartupInfoSize;
    standIn.Menu = HostMenu;
    standIn.Message = HostMessage;
    standIn.Dialog = HostDialog;
    standIn.GetMsg = HostGetMsg;
    standIn.EditorControl = HostEditorControl;
    standIn.ViewerControl = HostViewerControl;
    standIn.CharTable = HostCharTable;
    UseTracedStandardFunctions(&standIn);
    standIn.UnusedSlots = hostkit::FillUnusedSlots<UnusedSlotCalled>;
    return standIn;
}

}  // namespace twhost
