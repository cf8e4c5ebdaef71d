// Calls into the loaded plug-in's exports, with the host's bookkeeping:
// the trace line, the last result (for expect-return), and the check that a
// module is loaded and has the export at all.
#pragma once

#include <string>

#include "plugin/host_abi.h"

namespace twhost {

// True while a module is loaded.
bool ModuleLoaded();
// True while an export of the plug-in is running (services are called from
// inside it).
bool InsidePlugin();

// Each returns false, with the reason in `error`, when no module is loaded
// or the export is missing.
bool CallProcessEditorEvent(int event, void* param, std::string* error);
// The viewer's events go only to a module that exports ProcessViewerEvent,
// as in the real host; without the export this does nothing and succeeds.
bool CallProcessViewerEvent(int event, void* param, std::string* error);
// An event whose Param points to the editor's or viewer's id (EE_CLOSE,
// EE_GOTFOCUS, EE_KILLFOCUS and the viewer's three): an int in the 1.75
// host, an INT_PTR in the 3.x layer.
bool CallProcessEditorEventWithId(int event, int id, std::string* error);
bool CallProcessViewerEventWithId(int event, int id, std::string* error);
bool CallOpenPlugin(int openFrom, tarnwick::INT_PTR_T* result, std::string* error);
bool CallConfigure(int item, int* result, std::string* error);
bool CallGetPluginInfo(tarnwick::PluginInfo* info, std::string* error);
bool CallExitFar(std::string* error);
void CallSetStartupInfo(const tarnwick::PluginStartupInfo* info);

std::string EventName(int event);
std::string ViewerEventName(int event);

}  // namespace twhost
