#include "core/sample_files.h"

#include "core/files.h"

namespace twhost {

bool MakeSampleFile(const std::string& path, int lines, std::string* error, bool lf) {
    if (lines < 1 || lines > 1000000) {
        *error = "a sample file has 1 to 1000000 lines";
        return false;
    }
    MakeFolders(FolderOf(path));
    std::string content;
    const std::string words = " The quick brown fox jumps over the lazy dog.";
    for (int i = 1; i <= lines; ++i) {
        std::string line = "Line " + std::to_string(i) + " of " + FileNameOf(path) + ":" + words;
        if (i % 10 == 0) {
            for (int k = 0; k < 3; ++k) line += words;  // some long lines, to scroll sideways
        }
        content += line;
        if (i < lines) content += lf ? std::string("\n") : NativeLineEnd();
    }
    if (!WriteWholeFile(path, content)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace twhost
