#include "changed_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/env.h"
#include "store/replace_file.h"

namespace benchfiles {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ChangeFile(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::file_time_type before = fs::exists(path) ? fs::last_write_time(path) : fs::file_time_type::clock::now();
    tarnwick::store::ReplaceFileContent(tarnwick::platform::Env::Default(), path.c_str(), text.data(),
                                        static_cast<std::uint32_t>(text.size()));
    fs::last_write_time(path, before + std::chrono::seconds(2));
}

}  // namespace benchfiles
