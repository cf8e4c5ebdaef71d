// The test system tools on Windows.
#include "common/system_tools.h"

#include <windows.h>

namespace tarnwick {
namespace testing_support {

namespace {

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// The first drive letter from Z down to D that no drive is mapped to; 0 when
// there is none.
char UnmappedDriveLetter() {
    DWORD drives = GetLogicalDrives();
    for (char letter = 'Z'; letter >= 'D'; --letter) {
        if ((drives & (1u << (letter - 'A'))) == 0) return letter;
    }
    return 0;
}

}  // namespace

const bool kIsWindows = true;

char PathSeparator() { return '\\'; }

std::string FileSystemRoot() { return "C:\\"; }

unsigned long ClockCount() { return GetTickCount(); }

std::uint64_t NowTicks() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::string MakeTempFolder(const std::string& prefix) {
    char base[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, base);
    std::string root = (n > 0 && n < MAX_PATH) ? std::string(base) : std::string(".\\");
    if (!root.empty() && root.back() != '\\') root += '\\';
    static int counter = 0;
    std::string path = root + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool MakeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

void RemoveFolderTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

bool SetLastWriteTime(const std::string& path, const platform::FileTime& time) {
    HANDLE handle = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FILETIME value;
    value.dwLowDateTime = time.Low;
    value.dwHighDateTime = time.High;
    BOOL ok = SetFileTime(handle, nullptr, nullptr, &value);
    CloseHandle(handle);
    return ok != 0;
}

std::string UndecidablePath(const std::string& folder) {
    (void)folder;
    char letter = UnmappedDriveLetter();
    return letter == 0 ? std::string() : std::string(1, letter) + ":\\Data\\Plan.txt";
}

std::string UnmappedDrivePath() {
    char letter = UnmappedDriveLetter();
    return letter == 0 ? std::string() : std::string(1, letter) + ":\\nothing\\a.txt";
}

ForeignWriter::ForeignWriter(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        handle_ = reinterpret_cast<std::intptr_t>(handle);
        held_ = true;
    }
}

ForeignWriter::~ForeignWriter() { Unlock(); }

void ForeignWriter::Unlock() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
    handle_ = -1;
    held_ = false;
}

ForeignReader::ForeignReader(const std::string& path, bool shareWriting) {
    DWORD share = FILE_SHARE_READ | (shareWriting ? FILE_SHARE_WRITE : 0);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    handle_ = handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

ForeignReader::~ForeignReader() { Release(); }

void ForeignReader::Release() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
    handle_ = -1;
}

std::string ProgramFolder() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return ".\\";
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string SiblingProgram(const std::string& name) { return ProgramFolder() + name + ".exe"; }

ChildProcess::~ChildProcess() {
    if (started_) Kill();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments) {
    if (started_) return false;
    // Arguments hold no quotes or spaces in these tests but paths; each one
    // is quoted whole.
    std::string line = "\"" + program + "\"";
    for (const std::string& argument : arguments) line += " \"" + argument + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    handle_ = reinterpret_cast<std::intptr_t>(info.hProcess);
    id_ = info.dwProcessId;
    started_ = true;
    return true;
}

void ChildProcess::Kill() {
    if (!started_) return;
    TerminateProcess(AsHandle(handle_), 137);
    Wait();
}

int ChildProcess::Wait() {
    if (!started_) return -1;
    HANDLE process = AsHandle(handle_);
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    bool got = GetExitCodeProcess(process, &code) != 0;
    CloseHandle(process);
    handle_ = 0;
    started_ = false;
    return got && code != 137 ? static_cast<int>(code) : -1;
}

void SleepMs(unsigned milliseconds) { Sleep(milliseconds); }

RegistryRootOverride::RegistryRootOverride(const std::string& folder) { (void)folder; }

RegistryRootOverride::~RegistryRootOverride() {}

}  // namespace testing_support
}  // namespace tarnwick
