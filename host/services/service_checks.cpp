#include <cstring>
#include <string>

#include "core/console.h"
#include "core/host_state.h"
#include "services/host_services.h"

using namespace tarnwick;

namespace twhost {

void CheckModuleNumber(INT_PTR_T moduleNumber, const char* service) {
    if (moduleNumber != Host().ModuleNumber) {
        Fatal(kExitPluginFault, std::string(service) + ": ModuleNumber " + std::to_string(static_cast<long long>(moduleNumber)) +
                                     " is not the one the host gave the plug-in (" +
                                     std::to_string(static_cast<long long>(Host().ModuleNumber)) + ")",
              true);
    }
}

std::string BoundedText(const char* text, std::size_t size, const std::string& what) {
    const void* end = std::memchr(text, '\0', size);
    if (end == nullptr) Fatal(kExitPluginFault, what + " is not terminated within its " + std::to_string(size) + " bytes", true);
    return std::string(text, static_cast<const char*>(end));
}

std::string HelpTopicText(const char* helpTopic) {
    return helpTopic != nullptr ? "\"" + std::string(helpTopic) + "\"" : "none";
}

void CheckItemList(const void* items, int count, const char* service) {
    if (count < 0 || (count > 0 && items == nullptr)) {
        Fatal(kExitPluginFault, std::string(service) + ": " + std::to_string(count) + " items at " +
                                     (items == nullptr ? "null" : "an address"),
              true);
    }
}

}  // namespace twhost
