// The Windows environment's update lock: a file beside the position file,
// opened with no sharing and deleted by the system when its handle closes.
#include <windows.h>

#include "platform/env_win32.h"

namespace tarnwick {
namespace platform {

struct LockFile {
    HANDLE handle;
};

namespace win32 {

Status Win32Env::TryLockFile(const char* path, LockFile** lock) {
    if (lock == nullptr) return Status::Unavailable;
    *lock = nullptr;
    if (path == nullptr || path[0] == '\0' || lstrlenA(path) >= MAX_PATH) return Status::Unavailable;
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return Status::Busy;
        case ERROR_ACCESS_DENIED: {
            // A lock file that is there but refused is being deleted by its
            // last holder: it is gone in a moment. Without one (or with a
            // folder of that name), the lock cannot be had here.
            DWORD attributes = GetFileAttributesA(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return Status::Unavailable;
            }
            return Status::Busy;
        }
        default:
            return Status::Unavailable;
        }
    }
    LockFile* made = static_cast<LockFile*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LockFile)));
    if (made == nullptr) {
        CloseHandle(handle);
        return Status::Unavailable;
    }
    made->handle = handle;
    *lock = made;
    return Status::Ok;
}

void Win32Env::UnlockFile(LockFile* lock) {
    if (lock == nullptr) return;
    CloseHandle(lock->handle);  // deletes the file
    HeapFree(GetProcessHeap(), 0, lock);
}

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
