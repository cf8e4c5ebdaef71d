// Finding an editor's place again by its text: the fingerprint of the
// lines around the cursor (store::TextFingerprint) and the search for the
// line that fingerprint describes in a file that changed since. Neither
// knows the host: the lines come from a LineSource, which the host layer
// implements over the editor (plugin/host.h, EditorLines) and tests over a
// list of strings.
#pragma once

#include <cstdint>

#include "store/stored_place.h"

namespace tarnwick {
namespace plugin {

// One line as the editor holds it: its bytes, not terminated, without the
// end of line. Valid until the source is asked again.
struct LineText {
    const char* Text;
    std::int32_t Length;
};

// The lines of one file, numbered from 0.
class LineSource {
public:
    // Line `line`, which lies within the file; false when it cannot be read
    // now (the caller then gives up and changes nothing).
    virtual bool Read(std::int32_t line, LineText* text) = 0;

protected:
    ~LineSource() = default;
};

// The hash of a line's text (FNV-1a, 32 bits) with its trailing spaces,
// tabs and CRs left out, so that they, and CR LF against LF, never tell
// two lines apart. Never 0, which stands for no line.
std::uint32_t HashLine(const LineText& line);

// The fingerprint's hashes of line `line` of a file of `total` lines and of
// its neighbours (Line and Hashes of `*print`; its stamp is left alone).
// Reads at most kPrintLines lines, nearest the cursor first. False, and
// `*print` untouched, when `line` is not in the file or a line cannot be
// read.
bool TakeHashes(LineSource& source, std::int32_t total, std::int32_t line, store::TextFingerprint* print);

enum class FoundPlace {
    Same,    // the stored line is the best match: restore as stored
    Moved,   // found at another line
    Lost,    // nothing matches well enough: restore at the stored line
    Failed,  // a line could not be read: restore at the stored line
};

// Looks for the line `print` describes (taken at print.Line) in a file of
// `total` lines and puts it in `*line` (Same and Moved only).
//
// Each candidate line p scores 2 when its own hash is the fingerprint's
// line's and 1 for each neighbour whose hash matches at its offset from p;
// when p's own hash does not match, the neighbours below may also match
// one line up (the line was deleted: p is the line that took its place).
// The best candidate has the highest score, then its own line matching,
// then the least distance from print.Line (the line above on a tie); it
// must score at least 2. Lines are read outward from the stored line (or
// the last line, when the file is now shorter), each at most once, the
// two directions in turns of doubling length; the search stops as soon
// as a candidate matching all five lines is found and every line nearer
// the stored one has been scored, else at the file's ends. No memory is
// taken: each direction keeps the last five hashes it read.
FoundPlace FindLine(LineSource& source, std::int32_t total, const store::TextFingerprint& print, std::int32_t* line);

}  // namespace plugin
}  // namespace tarnwick
