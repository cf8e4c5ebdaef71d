#include "plugin/host_line.h"

#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

// The root every key of the 3.x host's layer lies under, for the default
// user and for a named one (`Users\<name>\Plugins`).
constexpr char kLayerRoot[] = "Software\\Far Manager\\";

}  // namespace

HostLine HostLineOf(const char* rootKey) {
    if (rootKey == nullptr) return HostLine::Far1;
    const int length = static_cast<int>(sizeof kLayerRoot - 1);
    if (StrLength(rootKey) < static_cast<std::size_t>(length)) return HostLine::Far1;
    return AsciiCompareNoCaseN(rootKey, kLayerRoot, length) == 0 ? HostLine::Far3Layer : HostLine::Far1;
}

}  // namespace plugin
}  // namespace tarnwick
