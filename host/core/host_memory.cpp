#include "core/host_memory.h"

#include <algorithm>

#include "core/host_state.h"
#include "kit/standard_functions.h"

namespace twhost {
namespace {

bool SamePath(const std::string& a, const std::string& b) { return hostkit::CompareIgnoringCase(a.c_str(), b.c_str(), -1) == 0; }

HostMemory& EntryOf(const std::string& path) {
    std::vector<HostMemory>& memory = Host().Memory;
    auto found = std::find_if(memory.begin(), memory.end(), [&](const HostMemory& m) { return SamePath(m.Path, path); });
    if (found != memory.end()) return *found;
    memory.push_back(HostMemory{});
    memory.back().Path = path;
    return memory.back();
}

}  // namespace

void RememberHostBookmarks(const std::string& path, const EditorMark (&marks)[tarnwick::kBookmarkSlots]) {
    HostMemory& entry = EntryOf(path);
    entry.HasMarks = true;
    std::copy(std::begin(marks), std::end(marks), entry.Marks);
}

void RememberHostTable(const std::string& path, const TableChoice& table) {
    HostMemory& entry = EntryOf(path);
    entry.HasTable = true;
    entry.Table = table;
}

void ApplyHostMemory(SimEditor& editor) {
    for (const HostMemory& entry : Host().Memory) {
        if (!SamePath(entry.Path, editor.FileName)) continue;
        if (entry.HasMarks) std::copy(std::begin(entry.Marks), std::end(entry.Marks), editor.Marks);
        if (entry.HasTable) editor.Table = entry.Table;
    }
}

}  // namespace twhost
