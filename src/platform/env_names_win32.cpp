// The Windows environment's test that a name in the file API's 8-bit code
// page names one file (Env::NamesOneFile). A host that converts file names
// from UTF-16 hands over `?` or a look-alike for a character the code page
// lacks: such a name may name no file, or another one.
#include <windows.h>

#include "platform/env_win32.h"

namespace tarnwick {
namespace platform {
namespace win32 {

namespace {

// Room for a path of MAX_PATH characters in either form (a double-byte
// code page takes two bytes a character).
constexpr int kWideSize = MAX_PATH + 1;
constexpr int kNarrowSize = 2 * MAX_PATH + 2;
constexpr UINT kUtf8Page = 65001;

// `wide` as the code page writes it, look-alikes and `?` included, read
// back into UTF-16: the name the host would hand over for it, widened.
bool AsHandedOver(UINT page, const wchar_t* wide, wchar_t* out) {
    char narrow[kNarrowSize];
    if (WideCharToMultiByte(page, 0, wide, -1, narrow, kNarrowSize, nullptr, nullptr) <= 0) return false;
    return MultiByteToWideChar(page, 0, narrow, -1, out, kWideSize) > 0;
}

// True when the code page writes `wide` without a look-alike or a default
// character, so that reading it back gives the same name.
bool SurvivesConversion(UINT page, const wchar_t* wide) {
    char narrow[kNarrowSize];
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, -1, narrow, kNarrowSize, nullptr, &usedDefault) <= 0 ||
        usedDefault) {
        return false;
    }
    wchar_t back[kWideSize];
    return MultiByteToWideChar(page, 0, narrow, -1, back, kWideSize) > 0 && lstrcmpW(back, wide) == 0;
}

// The folder part of `path`, with its separator, followed by `pattern`.
bool FolderPattern(const wchar_t* path, const wchar_t* pattern, wchar_t* out, const wchar_t** name) {
    int cut = 0;
    for (int i = 0; path[i] != L'\0'; ++i) {
        if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':') cut = i + 1;
    }
    *name = path + cut;
    int length = lstrlenW(pattern);
    if (cut + length + 1 > kWideSize || (*name)[0] == L'\0') return false;
    for (int i = 0; i < cut; ++i) out[i] = path[i];
    for (int i = 0; i <= length; ++i) out[cut + i] = pattern[i];
    return true;
}

}  // namespace

bool Win32Env::NamesOneFile(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    const UINT page = AreFileApisANSI() ? GetACP() : GetOEMCP();
    wchar_t wide[kWideSize];
    if (MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, path, -1, wide, kWideSize) <= 0) return false;
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // UTF-8 expresses every name: nothing is lost on the way.
    if (page == kUtf8Page) return true;

    // Every entry that turns into the same name is a candidate. In a
    // single-byte code page each character stays one, so only names of the
    // same length (and short names) need to be looked at.
    const wchar_t* name = nullptr;
    wchar_t pattern[kWideSize];
    CPINFO info;
    const bool singleByte = GetCPInfo(page, &info) && info.MaxCharSize == 1;
    wchar_t sameLength[kWideSize];
    int length = 0;
    for (const wchar_t* p = wide; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/' || *p == L':') length = 0; else ++length;
    }
    for (int i = 0; i < length; ++i) sameLength[i] = L'?';
    sameLength[length] = L'\0';
    if (!FolderPattern(wide, singleByte ? sameLength : L"*", pattern, &name)) return false;

    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    int candidates = 0;
    bool exact = false;
    do {
        wchar_t handedOver[kWideSize];
        if (!AsHandedOver(page, entry.cFileName, handedOver) || lstrcmpiW(handedOver, name) != 0) continue;
        ++candidates;
        exact = SurvivesConversion(page, entry.cFileName) && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } while (candidates < 2 && FindNextFileW(search, &entry));
    FindClose(search);
    return candidates == 1 && exact;
}

}  // namespace win32
}  // namespace platform
}  // namespace tarnwick
