#include "services/traced_functions.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "core/console.h"
#include "core/host_state.h"
#include "core/trace.h"
#include "kit/mask_list_3x.h"
#include "kit/standard_functions.h"

using namespace tarnwick;

namespace twhost {
namespace {

// Each service's trace line is built only while tracing is on.
#define Trace(line) TWHOST_TRACE("    [fsf] ", line)

std::string Quoted(const char* text) { return text == nullptr ? "(null)" : "\"" + ForConsole(text) + "\""; }

int TW_CDECL HostSprintf(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = std::vsprintf(buffer, format, args);
    va_end(args);
    Trace("sprintf(" + Quoted(format) + ") = " + std::to_string(written));
    return written;
}

int TW_CDECL HostSscanf(const char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int converted = std::vsscanf(buffer, format, args);
    va_end(args);
    Trace("sscanf(" + Quoted(buffer) + ", " + Quoted(format) + ") = " + std::to_string(converted));
    return converted;
}

char* TW_STDCALL HostItoa(int value, char* buffer, int radix) {
    hostkit::Itoa(value, buffer, radix);
    if (buffer == nullptr || radix < 2 || radix > 36) return buffer;  // traced only when it wrote digits
    Trace("itoa(" + std::to_string(value) + ", " + std::to_string(radix) + ") = " + Quoted(buffer));
    return buffer;
}

void TW_STDCALL HostLStrlwr(char* text) {
    if (text == nullptr) return;
    hostkit::LStrlwr(text);
    Trace("LStrlwr -> " + Quoted(text));
}

int TW_STDCALL HostLStricmp(const char* a, const char* b) {
    int result = hostkit::LStricmp(a, b);
    Trace("LStricmp(" + Quoted(a) + ", " + Quoted(b) + ") = " + std::to_string(result));
    return result;
}

int TW_STDCALL HostLStrnicmp(const char* a, const char* b, int count) {
    int result = hostkit::LStrnicmp(a, b, count);
    Trace("LStrnicmp(" + Quoted(a) + ", " + Quoted(b) + ", " + std::to_string(count) + ") = " + std::to_string(result));
    return result;
}

void TW_STDCALL HostUnquote(char* text) {
    if (text == nullptr) return;
    hostkit::Unquote(text);
    Trace("Unquote -> " + Quoted(text));
}

char* TW_STDCALL HostTruncPathStr(char* text, int maxLength) {
    if (text == nullptr) return text;
    hostkit::TruncatePath(text, maxLength, Plays3x());
    Trace("TruncPathStr(" + std::to_string(maxLength) + ") -> " + Quoted(text));
    return text;
}

int TW_STDCALL HostProcessName(const char* masks, char* name, DWORD_T flags) {
    const DWORD_T known = PN_CMPNAMELIST | PN_SKIPPATH;
    if ((flags & ~known) != 0) {
        Fatal(kExitPluginFault, "ProcessName: flags " + Hex(flags) +
                                    " ask for a mode this host does not perform (only name matching)", true);
    }
    if (masks == nullptr || name == nullptr) {
        Fatal(kExitPluginFault, "ProcessName: null mask or name", true);
    }
    // The 3.x host's layer hands a list to its own mask parser, which has
    // no length limit.
    if (Plays3x() && (flags & PN_CMPNAMELIST) != 0) {
        const char* subject = (flags & PN_SKIPPATH) != 0 ? hostkit::NamePart(name) : name;
        hostkit::MaskListMatch match = hostkit::MatchMaskList3x(masks, subject);
        int result = match == hostkit::MaskListMatch::Match ? 1 : 0;
        Trace("ProcessName(" + Quoted(masks) + ", " + Quoted(name) + ", " + Hex(flags) + ") = " + std::to_string(result) +
              (match == hostkit::MaskListMatch::Invalid ? " (invalid list)" : ""));
        return result;
    }
    // The real host copies each mask of a list into 260 bytes unchecked.
    std::size_t longest = (flags & PN_CMPNAMELIST) != 0 ? hostkit::LongestMaskInList(masks) : 0;
    if (longest >= static_cast<std::size_t>(kPathSize)) {
        Fatal(kExitPluginFault, "ProcessName: the list holds a mask of " + std::to_string(longest) +
                                    " characters, which overflows the real host's 260-byte mask buffer", true);
    }
    int result = hostkit::ProcessName(masks, name, flags);
    Trace("ProcessName(" + Quoted(masks) + ", " + Quoted(name) + ", " + Hex(flags) + ") = " +
          std::to_string(result));
    return result;
}

}  // namespace

void UseTracedStandardFunctions(hostkit::StandInHost* host) {
    host->Itoa = HostItoa;
    host->Sprintf = HostSprintf;
    host->Sscanf = HostSscanf;
    host->LStrlwr = HostLStrlwr;
    host->LStricmp = HostLStricmp;
    host->LStrnicmp = HostLStrnicmp;
    host->Unquote = HostUnquote;
    host->TruncPathStr = HostTruncPathStr;
    host->ProcessName = HostProcessName;
}

}  // namespace twhost
