#include "platform/temp_names.h"

#include <cstdio>

namespace tarnwick {
namespace platform {

bool MakeTempName(Env* env, const char* path, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    if (path == nullptr) return false;
    const unsigned long processId = env->ProcessId();
    const unsigned long number = env->NextTempNumber();
    int written = std::snprintf(buffer, size, "%s.%lu.%lu.tmp", path, processId, number);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace platform
}  // namespace tarnwick
