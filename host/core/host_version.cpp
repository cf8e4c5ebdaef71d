#include "core/host_version.h"

#include <cstdio>
#include <cstdlib>

namespace twhost {

int DeclaredHostVersion() {
    const char* given = std::getenv("TARNWICK_HOST_VERSION");
    if (given == nullptr || given[0] == '\0') return kHostFarVersion;
    int major = 0, minor = 0, build = 0;
    char extra = '\0';
    if (std::sscanf(given, "%d.%d.%d%c", &major, &minor, &build, &extra) != 3 || major < 0 || major > 255 ||
        minor < 0 || minor > 255 || build < 0 || build > 0xFFFF) {
        return kHostFarVersion;
    }
    return tarnwick::MakeFarVersion(major, minor, build);
}

std::string FarVersionText(int version) {
    using namespace tarnwick;
    char text[40];
    std::snprintf(text, sizeof text, "%d.%02d build %d", FarVersionMajor(version), FarVersionMinor(version),
                  FarVersionBuild(version));
    return text;
}

bool HostIsNewEnough(int host, int wanted) {
    using namespace tarnwick;
    if (FarVersionMajor(host) != FarVersionMajor(wanted)) return FarVersionMajor(host) > FarVersionMajor(wanted);
    if (FarVersionMinor(host) != FarVersionMinor(wanted)) return FarVersionMinor(host) > FarVersionMinor(wanted);
    return FarVersionBuild(host) >= FarVersionBuild(wanted);
}

}  // namespace twhost
