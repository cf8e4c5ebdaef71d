// The Windows environment: the object itself, the process heap and the process.
#include <windows.h>

#include "platform/env_win32.h"

namespace tarnwick {
namespace platform {

namespace {

// The one Win32Env. Constant-initialized, so that it is there before any
// code of the module runs; its only state is the counter of temporary
// names, so its destruction at unload does nothing.
win32::Win32Env g_default_env;

}  // namespace

Env* Env::Default() { return &g_default_env; }

namespace win32 {

void* Win32Env::AllocZeroed(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size != 0 ? size : 1);
}

void* Win32Env::Alloc(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1); }

void Win32Env::Release(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void Win32Env::SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

std::uint32_t Win32Env::ProcessId() { return GetCurrentProcessId(); }

bool Win32Env::ProcessRunning(std::uint32_t processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        // No such process: the id is not valid. Anything else (no
        // permission to look) cannot tell.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    // A process that ended but whose handle someone keeps still opens.
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

FileTime Win32Env::CurrentTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTime{now.dwLowDateTime, now.dwHighDateTime};
}

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
