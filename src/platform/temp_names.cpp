#include "platform/temp_names.h"

#include "support/text.h"

namespace tarnwick {
namespace platform {

bool MakeTempName(Env* env, const char* path, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    if (path == nullptr) return false;
    char processId[11];
    char number[11];
    FormatUnsigned(env->ProcessId(), processId);
    FormatUnsigned(env->NextTempNumber(), number);
    // "<path>.<process id>.<number>.tmp", whole or not at all.
    const bool fits = CopyBounded(buffer, path, size) && AppendBounded(buffer, ".", size) &&
                      AppendBounded(buffer, processId, size) && AppendBounded(buffer, ".", size) &&
                      AppendBounded(buffer, number, size) && AppendBounded(buffer, ".tmp", size);
    if (!fits) buffer[0] = '\0';
    return fits;
}

}  // namespace platform
}  // namespace tarnwick
