#include "plugin/text_place.h"

namespace tarnwick {
namespace plugin {

using store::kNearLines;
using store::kPrintLines;
using store::TextFingerprint;

namespace {

constexpr std::uint32_t kNoLine = 0;
constexpr int kTopScore = 2 + 2 * kNearLines;  // the line and all its neighbours
constexpr int kLeastScore = 2;                 // the line alone, or two neighbours
// The lines read in a direction's first turn; each later turn of that
// direction is twice as long, so that the cursor crosses the lines already
// read only a few times (EditorLines, plugin/host.h, moves it with the reads).
constexpr std::int32_t kFirstTurn = 32;

// What a neighbour's hash keeps of a line's (store::TextFingerprint).
std::uint32_t NearHash(std::uint32_t hash) {
    if (hash == kNoLine) return kNoLine;
    const std::uint32_t low = hash & 0xFFFF;
    return low != 0 ? low : 1;
}

bool HashAt(LineSource& source, std::int32_t total, std::int32_t line, std::uint32_t* hash) {
    if (line < 0 || line >= total) {
        *hash = kNoLine;
        return true;
    }
    LineText text;
    if (!source.Read(line, &text)) return false;
    *hash = HashLine(text);
    return true;
}

// The score of the candidate whose lines p-2..p+2 hash to `window` (top to
// bottom); `*own` tells whether p's own line matched.
int Score(const std::uint32_t* window, const TextFingerprint& print, bool* own) {
    const std::uint32_t* want = print.Hashes;
    *own = window[kNearLines] == want[kNearLines];
    int aligned = 0;
    for (int i = 0; i < kPrintLines; ++i) {
        if (i != kNearLines && NearHash(window[i]) == want[i]) ++aligned;
    }
    if (*own) return 2 + aligned;
    // The line deleted: the lines above stay, those below moved up onto p.
    int closed = 0;
    for (int i = 0; i < kNearLines; ++i) {
        if (NearHash(window[i]) == want[i]) ++closed;
    }
    for (int i = kNearLines + 1; i < kPrintLines; ++i) {
        if (NearHash(window[i - 1]) == want[i]) ++closed;
    }
    return aligned > closed ? aligned : closed;
}

struct Candidate {
    std::int32_t Line;
    std::int32_t Distance;  // from the line the search started at
    int Points;
    bool Own;
};

bool Better(const Candidate& a, const Candidate& b) {
    if (a.Points != b.Points) return a.Points > b.Points;
    if (a.Own != b.Own) return a.Own;
    if (a.Distance != b.Distance) return a.Distance < b.Distance;
    return a.Line < b.Line;
}

// One direction of the search: the lines it read last, oldest first.
struct Direction {
    std::int32_t Step;   // +1 down the file, -1 up
    std::int32_t Next;   // the next line it reads
    std::int32_t Reach;  // distance of the last candidate it scored
    bool Done;           // its candidates reach the file's end
    std::uint32_t Ring[kPrintLines];
};

struct Search {
    LineSource& Source;
    std::int32_t Total;
    std::int32_t Start;
    const TextFingerprint& Print;
    Candidate Best;
    Candidate BestOwn;      // the best of the lines that hold the line's own text
    std::int32_t OwnCount;  // how many do

    void Consider(std::int32_t line, const std::uint32_t* window) {
        Candidate candidate;
        candidate.Line = line;
        candidate.Distance = line > Start ? line - Start : Start - line;
        candidate.Points = Score(window, Print, &candidate.Own);
        if (Better(candidate, Best)) Best = candidate;
        if (candidate.Own) {
            ++OwnCount;
            if (OwnCount == 1 || Better(candidate, BestOwn)) BestOwn = candidate;
        }
    }

    // The line chosen once the search is over: the best candidate, except
    // that the line's own text, found once in the whole file, wins over
    // neighbours that only tell where it used to be (a line moved alone).
    const Candidate& Choice(bool wholeFile) const {
        if (!Best.Own && wholeFile && OwnCount == 1) return BestOwn;
        return Best;
    }

    // Reads the direction's next line and scores the candidate it completes.
    bool Advance(Direction& way) {
        std::uint32_t hash;
        if (!HashAt(Source, Total, way.Next, &hash)) return false;
        for (int i = 0; i + 1 < kPrintLines; ++i) way.Ring[i] = way.Ring[i + 1];
        way.Ring[kPrintLines - 1] = hash;
        const std::int32_t line = way.Next - kNearLines * way.Step;
        way.Next += way.Step;
        std::uint32_t window[kPrintLines];
        for (int i = 0; i < kPrintLines; ++i) window[i] = way.Ring[way.Step > 0 ? i : kPrintLines - 1 - i];
        Consider(line, window);
        way.Reach = line > Start ? line - Start : Start - line;
        way.Done = line + way.Step < 0 || line + way.Step >= Total;
        return true;
    }

    // Nothing left to read, or a perfect match that nothing nearer can beat.
    bool Finished(const Direction& down, const Direction& up) const {
        if (down.Done && up.Done) return true;
        if (Best.Points < kTopScore) return false;
        return (down.Done || down.Reach >= Best.Distance) && (up.Done || up.Reach >= Best.Distance);
    }
};

}  // namespace

std::uint32_t HashLine(const LineText& line) {
    std::int32_t length = line.Length > 0 && line.Text != nullptr ? line.Length : 0;
    while (length > 0) {
        const char last = line.Text[length - 1];
        if (last != ' ' && last != '\t' && last != '\r') break;
        --length;
    }
    std::uint32_t hash = 2166136261u;
    for (std::int32_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(line.Text[i]);
        hash *= 16777619u;
    }
    return hash != kNoLine ? hash : 1;
}

bool TakeHashes(LineSource& source, std::int32_t total, std::int32_t line, TextFingerprint* print) {
    if (line < 0 || line >= total) return false;
    std::uint32_t hashes[kPrintLines];
    // The cursor's line first, then outward.
    for (int k = 0; k < kPrintLines; ++k) {
        const int offset = (k + 1) / 2 * (k % 2 == 1 ? -1 : 1);
        std::uint32_t hash;
        if (!HashAt(source, total, line + offset, &hash)) return false;
        hashes[kNearLines + offset] = offset == 0 ? hash : NearHash(hash);
    }
    print->Line = line;
    for (int i = 0; i < kPrintLines; ++i) print->Hashes[i] = hashes[i];
    return true;
}

FoundPlace FindLine(LineSource& source, std::int32_t total, const TextFingerprint& print, std::int32_t* line) {
    if (total <= 0 || !store::HasHashes(print)) return FoundPlace::Lost;
    const std::int32_t start = print.Line < 0 ? 0 : print.Line >= total ? total - 1 : print.Line;
    Search search{source, total, start, print, Candidate{start, 0, 0, false}, Candidate{start, 0, 0, false}, 0};

    std::uint32_t window[kPrintLines];
    for (int i = 0; i < kPrintLines; ++i) {
        if (!HashAt(source, total, start - kNearLines + i, &window[i])) return FoundPlace::Failed;
    }
    search.Consider(start, window);
    if (start == print.Line && search.Best.Points == kTopScore) {
        *line = start;
        return FoundPlace::Same;
    }
    Direction down{1, start + kNearLines + 1, 0, start + 1 >= total, {}};
    Direction up{-1, start - kNearLines - 1, 0, start - 1 < 0, {}};
    for (int i = 0; i < kPrintLines; ++i) {
        down.Ring[i] = window[i];
        up.Ring[i] = window[kPrintLines - 1 - i];
    }
    std::int32_t turns[2] = {kFirstTurn, kFirstTurn};
    while (!search.Finished(down, up)) {
        // The direction that reached less goes on (down on a tie).
        const bool goDown = up.Done || (!down.Done && down.Reach <= up.Reach);
        Direction& way = goDown ? down : up;
        std::int32_t& turn = turns[goDown ? 0 : 1];
        for (std::int32_t i = 0; i < turn && !way.Done && !search.Finished(down, up); ++i) {
            if (!search.Advance(way)) return FoundPlace::Failed;
        }
        if (turn < total) turn *= 2;
    }
    const Candidate& chosen = search.Choice(down.Done && up.Done);
    if (chosen.Points < kLeastScore) return FoundPlace::Lost;
    *line = chosen.Line;
    return chosen.Line == print.Line ? FoundPlace::Same : FoundPlace::Moved;
}

}  // namespace plugin
}  // namespace tarnwick
