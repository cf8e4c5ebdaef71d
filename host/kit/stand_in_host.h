// The stand-in host kit: the PluginStartupInfo record and the
// FarStandardFunctions table a stand-in host hands the plug-in, filled from
// one description of what the stand-in is and which services it supplies.
// The substitute host, the tests' fake host and the benchmarks' null host
// are all built from it, so a new host service is added here once.
//
// A stand-in names only the services it performs itself; every other one
// gets the kit's default: a harmless stub for the record's services, the
// real host's behaviour (standard_functions.h) for the standard functions,
// and for the slots the plug-in must not call, functions that report the
// call (unused_slots.h).
//
//   hostkit::StandInHost host;
//   host.ModuleName = "C:\\Far\\Plugins\\Tarnwick\\Tarnwick.dll";
//   host.RootKey = rootKey.c_str();
//   host.Menu = MyMenu;
//   hostkit::FillStartupRecords(host, &info, &functions);
//   SetStartupInfo(&info);
#pragma once

#include <string>

#include "kit/unused_slots.h"
#include "plugin/host_abi.h"

namespace hostkit {

struct StandInHost {
    // ---- Who the plug-in is told it is ----
    std::string ModuleName;                  // copied into ModuleName, cut to 259 characters
    tarnwick::INT_PTR_T ModuleNumber = 1;
    const char* RootKey = "";                // REQUIRES: outlives the record
    int StartupSize = tarnwick::kStartupInfoSize;  // StructSize of the record

    // ---- The record's services; null takes the default ----
    tarnwick::FarMenuFn Menu = nullptr;                    // default: left with Esc (-1)
    tarnwick::FarMessageFn Message = nullptr;              // default: left with Esc (-1)
    tarnwick::FarDialogFn Dialog = nullptr;                // default: left with Esc (-1)
    tarnwick::FarGetMsgFn GetMsg = nullptr;                // default: "" for every message
    tarnwick::FarEditorControlFn EditorControl = nullptr;  // default: 0 (no editor) for every command
    tarnwick::FarCharTableFn CharTable = nullptr;          // default: a host without code tables
    tarnwick::FarViewerControlFn ViewerControl = nullptr;  // default: 0 (no viewer) for every command

    // ---- The standard functions; null takes the real host's ----
    tarnwick::FarItoaFn Itoa = nullptr;
    tarnwick::FarSprintfFn Sprintf = nullptr;
    tarnwick::FarSscanfFn Sscanf = nullptr;
    tarnwick::FarLStrlwrFn LStrlwr = nullptr;
    tarnwick::FarLStricmpFn LStricmp = nullptr;
    tarnwick::FarLStrnicmpFn LStrnicmp = nullptr;
    tarnwick::FarUnquoteFn Unquote = nullptr;
    tarnwick::FarTruncPathStrFn TruncPathStr = nullptr;
    tarnwick::FarProcessNameFn ProcessName = nullptr;

    // ---- The slots the plug-in must not call ----
    // FillUnusedSlots<Report> for the stand-in's own report; null ignores
    // the calls.
    UnusedSlotFiller UnusedSlots = nullptr;
};

// Fills both records completely from `host` (every byte: what the
// description does not name is zero) and points info->FSF at `functions`.
// REQUIRES: `functions` outlives the plug-in's use of `info`.
void FillStartupRecords(const StandInHost& host, tarnwick::PluginStartupInfo* info,
                        tarnwick::FarStandardFunctions* functions);

}  // namespace hostkit
