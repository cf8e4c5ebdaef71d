#include "core/console.h"

#include <cstdio>
#include <cstdlib>

#include "core/host_state.h"

namespace twhost {
void SetOutputSink(std::function<void(const std::string& line)> sink) { Host().Console.Sink = std::move(sink); }
void SetScreenRelease(void (*release)()) { Host().Console.Release = release; }

void Say(const std::string& line) {
    if (Host().Console.Sink) {
        Host().Console.Sink(line);
        return;
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Complain(const std::string& line) {
    std::fflush(stdout);
    std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

std::string Hex(unsigned long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%lx", value);
    return buffer;
}

void SetExitCleanup(void (*cleanup)(bool)) { Host().Console.Cleanup = cleanup; }

void Fatal(int code, const std::string& message, bool insidePlugin) {
    void (*release)() = Host().Console.Release;
    Host().Console.Release = nullptr;
    if (release != nullptr) release();
    Complain(message);
    void (*cleanup)(bool) = Host().Console.Cleanup;
    Host().Console.Cleanup = nullptr;
    if (cleanup != nullptr) cleanup(insidePlugin);
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace twhost
