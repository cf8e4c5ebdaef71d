// The GetMsg service: the texts of the active language file by number.
#include <string>

#include "core/console.h"
#include "core/language_file.h"
#include "core/trace.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {

#define Trace(line) TWHOST_TRACE("    [ui] ", line)

const char* TW_STDCALL HostGetMsg(INT_PTR_T moduleNumber, int msgId) {
    CheckModuleNumber(moduleNumber, "GetMsg");
    const LanguageFile& language = ActiveLanguage();
    if (msgId < 0 || static_cast<std::size_t>(msgId) >= language.Messages.size()) {
        Trace("GetMsg(" + std::to_string(msgId) + ") = null (no such message)");
        return nullptr;
    }
    const char* text = language.Messages[static_cast<std::size_t>(msgId)].c_str();
    Trace("GetMsg(" + std::to_string(msgId) + ") = \"" + ForConsole(text) + "\"");
    return text;
}

}  // namespace twhost
