#include "core/files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/host_state.h"
#include "platform/env.h"

namespace fs = std::filesystem;

namespace twhost {

// The one call of the host into the plug-in's platform layer.
unsigned long ProcessNumber() { return static_cast<unsigned long>(tarnwick::platform::Env::Default()->ProcessId()); }

std::string ResolvePath(const std::string& base, const std::string& name) {
    fs::path path(name);
    if (!path.is_absolute()) path = fs::path(base) / path;
    path = path.lexically_normal();
    path.make_preferred();
    return path.string();
}

std::string AbsolutePath(const std::string& name) {
    std::error_code error;
    fs::path path = fs::absolute(fs::path(name), error);
    if (error) return name;
    path = path.lexically_normal();
    path.make_preferred();
    std::string text = path.string();
    // "C:\dir\" and "/dir/" lose their trailing separator, but a root keeps it.
    while (text.size() > 1 && text.back() == PathSeparator() && fs::path(text).has_relative_path()) text.pop_back();
    return text;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == PathSeparator() || folder.back() == '/') return folder + name;
    return folder + PathSeparator() + name;
}

std::string FolderOf(const std::string& path) { return fs::path(path).parent_path().string(); }
std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

bool MakeTemporaryFolder(std::string* folder, std::string* error) {
    std::error_code code;
    fs::path temp = fs::temp_directory_path(code);
    if (code) {
        *error = "no temporary folder: " + code.message();
        return false;
    }
    unsigned long process = ProcessNumber();
    unsigned long long tick = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = temp / ("tarnwick-host-" + std::to_string(process) + "-" +
                                     std::to_string((tick + attempt) % 1000000007ULL));
        if (fs::create_directory(candidate, code)) {
            *folder = AbsolutePath(candidate.string());
            return true;
        }
    }
    *error = "could not make a folder under " + temp.string();
    return false;
}

bool MakeFolders(const std::string& folder) {
    std::error_code error;
    fs::create_directories(fs::path(folder), error);
    return fs::is_directory(fs::path(folder), error);
}

bool DeleteTree(const std::string& folder) {
    std::error_code error;
    fs::remove_all(fs::path(folder), error);
    if (!error) return true;
    // Something could not go (a module still loaded on Windows): remove all
    // the rest, deepest first, and leave only what refuses.
    std::vector<fs::path> entries;
    for (fs::recursive_directory_iterator it(fs::path(folder), error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) fs::remove(*it, error);
    return !fs::remove(fs::path(folder), error) ? false : !error;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

bool ReadWholeFile(const std::string& path, std::string* content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *content = buffer.str();
    return !in.bad();
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return !out.fail();
}

bool CopyOneFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::copy_file(fs::path(from), fs::path(to), fs::copy_options::overwrite_existing, error);
    return !error;
}

bool DeleteOneFile(const std::string& path) {
    std::error_code error;
    return fs::remove(fs::path(path), error) && !error;
}

std::vector<std::string> ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder), error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
    }
    return names;
}

long long LastWriteTicks(const std::string& path) {
    std::error_code error;
    fs::file_time_type time = fs::last_write_time(fs::path(path), error);
    if (error) return 0;
    return static_cast<long long>(time.time_since_epoch().count());
}

bool AgeLastWriteTime(const std::string& path, long long oldTicks) {
    // Later than the file's time before the write, than every time this
    // process gave a file before, and than the clock: so the new time is
    // newer than any time a reader of the file can have seen.
    long long& givenTicks = Host().LastGivenWriteTicks;
    fs::file_time_type lastGiven{fs::file_time_type::duration(givenTicks)};
    std::error_code error;
    fs::file_time_type now = fs::last_write_time(fs::path(path), error);
    if (error) return false;
    fs::file_time_type old{fs::file_time_type::duration(oldTicks)};
    fs::file_time_type wanted = std::max({now, old, lastGiven}) + std::chrono::seconds(2);
    fs::last_write_time(fs::path(path), wanted, error);
    if (error) return false;
    givenTicks = static_cast<long long>(wanted.time_since_epoch().count());
    return true;
}

}  // namespace twhost
