// The service slots the plug-in has no business calling, in both records.
// Each is filled with its own small function that hands the record's and
// the slot's names to the stand-in's report, so that a wrong offset or a
// stray call shows at once, named, instead of running whatever happens to
// sit there.
//
// The slots take no arguments, so a slot function cannot be told whom to
// report to: the report is a template argument, and every stand-in gets
// slot functions of its own (FillUnusedSlots<Report>).
#pragma once

#include <cstddef>
#include <utility>

#include "plugin/host_abi.h"

namespace hostkit {

// Called with "PluginStartupInfo" or "FarStandardFunctions" and the slot.
using UnusedSlotReport = void (*)(const char* record, const char* slot);
// Fills every unused slot of both records.
using UnusedSlotFiller = void (*)(tarnwick::PluginStartupInfo* info, tarnwick::FarStandardFunctions* functions);

// The report of a stand-in that does not mind: nothing happens.
void IgnoreUnusedSlot(const char* record, const char* slot);

template <typename Record>
struct UnusedSlot {
    const char* Name;
    tarnwick::FarUnusedFn Record::*Member;
};

#define TW_KIT_STARTUP_SLOT(name) UnusedSlot<tarnwick::PluginStartupInfo>{#name, &tarnwick::PluginStartupInfo::name}
#define TW_KIT_FUNCTION_SLOT(name) \
    UnusedSlot<tarnwick::FarStandardFunctions>{#name, &tarnwick::FarStandardFunctions::name}

inline constexpr UnusedSlot<tarnwick::PluginStartupInfo> kUnusedStartupSlots[] = {
    TW_KIT_STARTUP_SLOT(Control),        TW_KIT_STARTUP_SLOT(SaveScreen),   TW_KIT_STARTUP_SLOT(RestoreScreen),
    TW_KIT_STARTUP_SLOT(GetDirList),     TW_KIT_STARTUP_SLOT(GetPluginDirList), TW_KIT_STARTUP_SLOT(FreeDirList),
    TW_KIT_STARTUP_SLOT(Viewer),         TW_KIT_STARTUP_SLOT(Editor),       TW_KIT_STARTUP_SLOT(CmpName),
    TW_KIT_STARTUP_SLOT(Text),           TW_KIT_STARTUP_SLOT(ShowHelp),
    TW_KIT_STARTUP_SLOT(AdvControl),     TW_KIT_STARTUP_SLOT(InputBox),     TW_KIT_STARTUP_SLOT(DialogEx),
    TW_KIT_STARTUP_SLOT(SendDlgMessage), TW_KIT_STARTUP_SLOT(DefDlgProc),
};

inline constexpr UnusedSlot<tarnwick::FarStandardFunctions> kUnusedFunctionSlots[] = {
    TW_KIT_FUNCTION_SLOT(atoi),           TW_KIT_FUNCTION_SLOT(atoi64),
    TW_KIT_FUNCTION_SLOT(itoa64),         TW_KIT_FUNCTION_SLOT(qsort),
    TW_KIT_FUNCTION_SLOT(bsearch),        TW_KIT_FUNCTION_SLOT(qsortex),
    TW_KIT_FUNCTION_SLOT(snprintf),       TW_KIT_FUNCTION_SLOT(LIsLower),
    TW_KIT_FUNCTION_SLOT(LIsUpper),       TW_KIT_FUNCTION_SLOT(LIsAlpha),
    TW_KIT_FUNCTION_SLOT(LIsAlphanum),    TW_KIT_FUNCTION_SLOT(LUpper),
    TW_KIT_FUNCTION_SLOT(LLower),         TW_KIT_FUNCTION_SLOT(LUpperBuf),
    TW_KIT_FUNCTION_SLOT(LLowerBuf),      TW_KIT_FUNCTION_SLOT(LStrupr),
    TW_KIT_FUNCTION_SLOT(ExpandEnvironmentStr), TW_KIT_FUNCTION_SLOT(LTrim),
    TW_KIT_FUNCTION_SLOT(RTrim),          TW_KIT_FUNCTION_SLOT(Trim),
    TW_KIT_FUNCTION_SLOT(TruncStr),       TW_KIT_FUNCTION_SLOT(QuoteSpaceOnly),
    TW_KIT_FUNCTION_SLOT(PointToName),    TW_KIT_FUNCTION_SLOT(GetPathRoot),
    TW_KIT_FUNCTION_SLOT(AddEndSlash),    TW_KIT_FUNCTION_SLOT(CopyToClipboard),
    TW_KIT_FUNCTION_SLOT(PasteFromClipboard), TW_KIT_FUNCTION_SLOT(FarKeyToName),
    TW_KIT_FUNCTION_SLOT(FarNameToKey),   TW_KIT_FUNCTION_SLOT(FarInputRecordToKey),
    TW_KIT_FUNCTION_SLOT(XLat),           TW_KIT_FUNCTION_SLOT(GetFileOwner),
    TW_KIT_FUNCTION_SLOT(GetNumberOfLinks), TW_KIT_FUNCTION_SLOT(FarRecursiveSearch),
    TW_KIT_FUNCTION_SLOT(MkTemp),         TW_KIT_FUNCTION_SLOT(DeleteBuffer),
    TW_KIT_FUNCTION_SLOT(MkLink),         TW_KIT_FUNCTION_SLOT(ConvertNameToReal),
    TW_KIT_FUNCTION_SLOT(GetReparsePointInfo),
};

#undef TW_KIT_STARTUP_SLOT
#undef TW_KIT_FUNCTION_SLOT

namespace detail {

template <UnusedSlotReport Report, std::size_t Slot>
void TW_STDCALL UnusedStartupSlot() {
    Report("PluginStartupInfo", kUnusedStartupSlots[Slot].Name);
}

template <UnusedSlotReport Report, std::size_t Slot>
void TW_STDCALL UnusedFunctionSlot() {
    Report("FarStandardFunctions", kUnusedFunctionSlots[Slot].Name);
}

template <UnusedSlotReport Report, std::size_t... S, std::size_t... F>
void FillUnusedSlots(tarnwick::PluginStartupInfo* info, tarnwick::FarStandardFunctions* functions,
                     std::index_sequence<S...>, std::index_sequence<F...>) {
    ((info->*kUnusedStartupSlots[S].Member = UnusedStartupSlot<Report, S>), ...);
    ((functions->*kUnusedFunctionSlots[F].Member = UnusedFunctionSlot<Report, F>), ...);
}

}  // namespace detail

// Fills every unused slot of both records (the lists above: every slot of
// the type FarUnusedFn) with a function of its own that calls `Report`.
template <UnusedSlotReport Report>
void FillUnusedSlots(tarnwick::PluginStartupInfo* info, tarnwick::FarStandardFunctions* functions) {
    detail::FillUnusedSlots<Report>(info, functions,
                                    std::make_index_sequence<std::size(kUnusedStartupSlots)>(),
                                    std::make_index_sequence<std::size(kUnusedFunctionSlots)>());
}

}  // namespace hostkit
