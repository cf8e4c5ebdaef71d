// Output of the substitute host: plain lines, plug-in texts converted for
// the console, and the fatal exit that cleans up on the way out.
#pragma once

#include <functional>
#include <string>

namespace twhost {

// Exit codes of the host.
constexpr int kExitScriptFailed = 1;   // a failed expectation or a bad command
constexpr int kExitSetupFailed = 2;    // options, files or the module could not be set up
constexpr int kExitPluginFault = 3;    // the plug-in broke the host's interface

// Where the console's lines go and what runs on a fatal exit (a member of
// the host's state).
struct ConsoleState {
    std::function<void(const std::string& line)> Sink;  // empty: standard output
    void (*Release)() = nullptr;                       // gives back the terminal
    void (*Cleanup)(bool moduleLoaded) = nullptr;      // run once on any exit
    bool CodePage866 = false;                          // the Russian language file is active
};

// Writes one line to standard output and flushes it.
void Say(const std::string& line);
// The full-screen host sends Say's lines to `sink` (empty: standard output
// again), and gives back the terminal with `release` before a fatal exit.
void SetOutputSink(std::function<void(const std::string& line)> sink);
void SetScreenRelease(void (*release)());
// Writes a line to standard error.
void Complain(const std::string& line);

// Converts text that comes from the plug-in or its language files into what
// the console shows. Natively, while the Russian language file is active,
// its code page 866 bytes become UTF-8; otherwise the text is unchanged.
std::string ForConsole(const char* text);
void SetConsoleCodePage866(bool on);

// The number of console columns the text takes (UTF-8 natively).
std::size_t DisplayWidth(const std::string& text);

// "0x1f" for 31.
std::string Hex(unsigned long value);

// Run once on any exit: removes the per-run registry key and the temporary
// work folder (set by main).
void SetExitCleanup(void (*cleanup)(bool moduleLoaded));

// Prints the message and ends the process with the code, after the cleanup.
// `insidePlugin` is set when called from a service, while a plug-in call is
// on the stack: the module is then not unloaded.
[[noreturn]] void Fatal(int code, const std::string& message, bool insidePlugin = false);

}  // namespace twhost
