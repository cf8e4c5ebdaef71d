// The host's own memory of files ("save bookmarks" and "save file
// position" in its settings): what it puts into an editor of a file before
// EE_READ. Scripts fill it to stand for what an earlier session of the
// host stored; this host never adds to it by itself.
#pragma once

#include <string>

#include "core/editors.h"

namespace twhost {

struct HostMemory {
    std::string Path;                                   // as the host reports it
    bool HasMarks = false;
    EditorMark Marks[tarnwick::kBookmarkSlots];
    bool HasTable = false;
    TableChoice Table;
};

void RememberHostBookmarks(const std::string& path, const EditorMark (&marks)[tarnwick::kBookmarkSlots]);
void RememberHostTable(const std::string& path, const TableChoice& table);
// Puts what the memory holds for the editor's file into it.
void ApplyHostMemory(SimEditor& editor);

}  // namespace twhost
