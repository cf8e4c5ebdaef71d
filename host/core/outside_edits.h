// A text file changed by another program while no editor has it open: lines
// inserted, deleted, replaced or moved, the file cut short, or written again
// unchanged. The script's external-edit-file command and the full-screen
// host's changing sample file use these.
#pragma once

#include <string>

namespace twhost {

// One change to a file's lines. Line numbers are 0-based, as the host
// reports them.
struct OutsideEdit {
    enum class Kind {
        Insert,    // Count new lines before line At (Text, or numbered lines when empty)
        Delete,    // Count lines from line At
        Replace,   // line At becomes Text
        Move,      // Count lines from line At, put before line To of what is left
        Truncate,  // only the first Count lines are kept
        Touch      // the same bytes written again
    };
    Kind What = Kind::Touch;
    int At = 0;
    int Count = 0;
    int To = 0;
    std::string Text;
};

// Applies `edit` to the file at `path` and writes it whole, keeping its line
// end and whether its last line ends with one, with a last-write time
// later than before (AgeLastWriteTime). False, with the reason in `error`,
// when the file cannot be read or written or a line number lies outside
// it (the file is then left as it was).
bool EditFileOutside(const std::string& path, const OutsideEdit& edit, std::string* error);

// "inserted 3 lines before line 10" for the host's output.
std::string DescribeOutsideEdit(const OutsideEdit& edit);

}  // namespace twhost
