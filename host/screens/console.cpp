#include "screens/console.h"

#include <cstdio>
#include <cstdlib>

namespace twhost {
namespace {

void (*g_cleanup)(bool) = nullptr;
void (*g_sink)(const std::string&) = nullptr;
void (*g_release)() = nullptr;

}  // namespace

void SetOutputSink(void (*sink)(const std::string& line)) { g_sink = sink; }
void SetScreenRelease(void (*release)()) { g_release = release; }

void Say(const std::string& line) {
    if (g_sink != nullptr) {
        g_sink(line);
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

void SetExitCleanup(void (*cleanup)(bool)) { g_cleanup = cleanup; }

void Fatal(int code, const std::string& message, bool insidePlugin) {
    void (*release)() = g_release;
    g_release = nullptr;
    if (release != nullptr) release();
    Complain(message);
    void (*cleanup)(bool) = g_cleanup;
    g_cleanup = nullptr;
    if (cleanup != nullptr) cleanup(insidePlugin);
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace twhost
