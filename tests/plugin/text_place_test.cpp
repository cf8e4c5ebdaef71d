// The fingerprint of the lines around a place and the search for them in a
// changed file, over lines held in a list (no host).
#include "plugin/text_place.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace plugin {
namespace {

using store::kNearLines;
using store::TextFingerprint;

// Lines from a list; counts the reads of each line and can fail one read.
class ListLines : public LineSource {
public:
    explicit ListLines(std::vector<std::string> lines) : Lines(std::move(lines)), Reads(Lines.size(), 0) {}
    bool Read(std::int32_t line, LineText* text) override {
        EXPECT_GE(line, 0);
        EXPECT_LT(line, Total());
        if (++calls_ == FailAt) return false;
        ++Reads[static_cast<std::size_t>(line)];
        text->Text = Lines[static_cast<std::size_t>(line)].data();
        text->Length = static_cast<std::int32_t>(Lines[static_cast<std::size_t>(line)].size());
        return true;
    }
    std::int32_t Total() const { return static_cast<std::int32_t>(Lines.size()); }
    int MostReadsOfALine() const {
        int most = 0;
        for (int n : Reads) most = n > most ? n : most;
        return most;
    }
    long long AllReads() const {
        long long all = 0;
        for (int n : Reads) all += n;
        return all;
    }

    std::vector<std::string> Lines;
    std::vector<int> Reads;
    int FailAt = 0;  // the n-th read fails (0: none)

private:
    int calls_ = 0;
};

std::uint32_t Hash(const std::string& text) {
    return HashLine(LineText{text.data(), static_cast<std::int32_t>(text.size())});
}

// Lines "line 0", "line 1", ...: all different.
std::vector<std::string> Numbered(int count, const std::string& prefix = "line ") {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
}

TextFingerprint PrintAt(const std::vector<std::string>& lines, int line) {
    ListLines source(lines);
    TextFingerprint print{};
    EXPECT_TRUE(TakeHashes(source, source.Total(), line, &print));
    return print;
}

// Where the text printed at `line` of `before` is found in `after`; `*reads`
// gets the number of lines read.
FoundPlace Find(const std::vector<std::string>& before, int line, const std::vector<std::string>& after,
                std::int32_t* found, long long* reads = nullptr) {
    const TextFingerprint print = PrintAt(before, line);
    ListLines source(after);
    *found = -1;
    const FoundPlace result = FindLine(source, source.Total(), print, found);
    EXPECT_LE(source.MostReadsOfALine(), 1) << "a line read twice";
    if (reads != nullptr) *reads = source.AllReads();
    return result;
}

TEST(LineHash, IgnoresTrailingSpacesTabsAndCarriageReturnsOnly) {
    EXPECT_EQ(Hash("int x;"), Hash("int x;  \t "));
    EXPECT_EQ(Hash("int x;"), Hash("int x;\r"));
    EXPECT_EQ(Hash(""), Hash(" \t\r"));
    EXPECT_NE(Hash("int x;"), Hash(" int x;"));
    EXPECT_NE(Hash("int x;"), Hash("int  x;"));
    EXPECT_NE(Hash("a"), Hash("b"));
    EXPECT_NE(0u, Hash(""));
    // A line longer than any buffer is hashed whole.
    const std::string longLine(1 << 20, 'x');
    EXPECT_NE(Hash(longLine), Hash(longLine + "y"));
    EXPECT_EQ(Hash(longLine), Hash(longLine + "   "));
}

TEST(TakeHashes, HashesTheLineFullyAndItsNeighboursIn16BitsWithNoLineBeyondTheFile) {
    const std::vector<std::string> lines = {"first", "second", "third"};
    const TextFingerprint top = PrintAt(lines, 0);
    EXPECT_EQ(0, top.Line);
    EXPECT_EQ(0u, top.Hashes[0]);
    EXPECT_EQ(0u, top.Hashes[1]);
    EXPECT_EQ(Hash("first"), top.Hashes[kNearLines]);
    EXPECT_EQ(Hash("second") & 0xFFFF, top.Hashes[3]);
    EXPECT_EQ(Hash("third") & 0xFFFF, top.Hashes[4]);
    const TextFingerprint one = PrintAt({"only"}, 0);
    EXPECT_EQ(Hash("only"), one.Hashes[kNearLines]);
    EXPECT_EQ(0u, one.Hashes[0] | one.Hashes[1] | one.Hashes[3] | one.Hashes[4]);

    ListLines source(lines);
    TextFingerprint print{};
    EXPECT_FALSE(TakeHashes(source, source.Total(), 3, &print));
    source.FailAt = 2;
    EXPECT_FALSE(TakeHashes(source, source.Total(), 1, &print));
    EXPECT_FALSE(store::HasHashes(print));
}

TEST(FindLine, AnUnchangedLineIsTheSameAfterReadingOnlyItsNeighbourhood) {
    const std::vector<std::string> lines = Numbered(1000);
    std::int32_t found;
    long long reads = 0;
    EXPECT_EQ(FoundPlace::Same, Find(lines, 500, lines, &found, &reads));
    EXPECT_EQ(500, found);
    EXPECT_EQ(5, reads);
}

TEST(FindLine, FollowsALineMovedDownOrUp) {
    const std::vector<std::string> before = Numbered(1000);
    std::vector<std::string> down = before;
    down.insert(down.begin() + 10, 37, "inserted");
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 500, down, &found));
    EXPECT_EQ(537, found);

    std::vector<std::string> up = before;
    up.erase(up.begin() + 100, up.begin() + 300);
    EXPECT_EQ(FoundPlace::Moved, Find(before, 500, up, &found));
    EXPECT_EQ(300, found);
}

TEST(FindLine, StopsOnceNothingNearerCanMatchBetter) {
    const std::vector<std::string> before = Numbered(100000);
    std::vector<std::string> after = before;
    after.insert(after.begin(), 40, "new");
    std::int32_t found;
    long long reads = 0;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 50000, after, &found, &reads));
    EXPECT_EQ(50040, found);
    EXPECT_LT(reads, 400);
}

TEST(FindLine, AmongDuplicatesTakesTheOneWhoseNeighboursMatchThenTheNearest) {
    // The same line in three places; only one keeps its neighbours.
    std::vector<std::string> before = Numbered(200);
    before[100] = "}";
    before[90] = "}";
    before[110] = "}";
    std::vector<std::string> after = before;
    after.insert(after.begin() + 105, 3, "added");  // moves the right one to 113
    after[99] = "changed";                          // and changes a neighbour of the stored line's place
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Same, Find(before, 100, after, &found));  // the copy that kept most neighbours
    EXPECT_EQ(100, found);

    std::vector<std::string> shifted = before;
    shifted.insert(shifted.begin(), 5, "top");
    EXPECT_EQ(FoundPlace::Moved, Find(before, 100, shifted, &found));
    EXPECT_EQ(105, found);

    // Neighbours all changed around every copy: the nearest copy of the line.
    std::vector<std::string> bare(200, "x");
    bare[100] = "target";
    std::vector<std::string> copies(200, "y");
    copies[60] = "target";
    copies[130] = "target";
    EXPECT_EQ(FoundPlace::Moved, Find(bare, 100, copies, &found));
    EXPECT_EQ(130, found);
}

TEST(FindLine, GoesWhereTheNeighboursOfADeletedLineAreNow) {
    const std::vector<std::string> before = Numbered(300);
    std::vector<std::string> after = before;
    after.erase(after.begin() + 150);         // the line itself
    after.insert(after.begin() + 20, 7, "n");  // and the text above grew
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 150, after, &found));
    EXPECT_EQ(157, found);  // the line that took its place

    // The line replaced by another: the new one.
    std::vector<std::string> replaced = before;
    replaced[150] = "rewritten";
    replaced.insert(replaced.begin(), 3, "n");
    EXPECT_EQ(FoundPlace::Moved, Find(before, 150, replaced, &found));
    EXPECT_EQ(153, found);
}

// A line moved far on its own: where it was, its old neighbours now close
// up around another line, but its own text, found once in the whole file,
// wins; a text found more than once does not outweigh the neighbours.
TEST(FindLine, ALineMovedAloneIsFoundByItsOwnTextWhenItIsUnique) {
    std::vector<std::string> before = Numbered(400);
    std::vector<std::string> after = before;
    after.erase(after.begin() + 300);
    after.insert(after.begin() + 5, before[300]);
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 300, after, &found));
    EXPECT_EQ(5, found);

    before[300] = "}";
    after = before;
    after.erase(after.begin() + 300);
    after.insert(after.begin() + 5, "}");
    after.insert(after.begin() + 50, "}");
    EXPECT_EQ(FoundPlace::Moved, Find(before, 300, after, &found));
    EXPECT_EQ(302, found) << "where its neighbours are, as for a deleted line";
}

// Lines of any length are hashed whole: no buffer cuts them, so two long
// lines that differ only at their ends are told apart.
TEST(FindLine, LongLinesAreComparedWhole) {
    const std::string head(1 << 20, 'x');
    std::vector<std::string> before = Numbered(50);
    before[20] = head + "first";
    before[30] = head + "second";
    std::vector<std::string> after = before;
    after.insert(after.begin(), 4, "new");
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 30, after, &found));
    EXPECT_EQ(34, found);
}

TEST(FindLine, WithNothingLikeItTheStoredLineStays) {
    const std::vector<std::string> before = Numbered(300);
    const std::vector<std::string> other = Numbered(300, "other ");
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Lost, Find(before, 150, other, &found));
    EXPECT_EQ(FoundPlace::Lost, Find(before, 150, {""}, &found));  // an empty file holds one empty line
    ListLines none({});
    EXPECT_EQ(FoundPlace::Lost, FindLine(none, 0, PrintAt(before, 150), &found));
}

TEST(FindLine, FindsTheLineInAFileThatShrankBelowTheStoredLine) {
    const std::vector<std::string> before = Numbered(300);
    std::vector<std::string> after(before.begin() + 200, before.begin() + 260);  // 60 lines
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Moved, Find(before, 250, after, &found));
    EXPECT_EQ(50, found);
    // The last line of the old file, now the last of a shorter one.
    EXPECT_EQ(FoundPlace::Moved, Find(before, 299, std::vector<std::string>(before.begin() + 280, before.end()), &found));
    EXPECT_EQ(19, found);
}

TEST(FindLine, AFileOfOneLine) {
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Same, Find({"only"}, 0, {"only"}, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ(FoundPlace::Moved, Find({"only"}, 0, {"a", "b", "only", "c"}, &found));
    EXPECT_EQ(2, found);
    EXPECT_EQ(FoundPlace::Moved, Find({"a", "b", "only", "c"}, 2, {"only"}, &found));
    EXPECT_EQ(0, found);
}

TEST(FindLine, TrailingBlanksAndLineEndsDoNotMoveThePlace) {
    const std::vector<std::string> before = {"a", "b\t", "c", "d  ", "e"};
    const std::vector<std::string> after = {"a\r", "b", "c   \r", "d", "e\t\t"};  // CR LF read as LF, blanks gone
    std::int32_t found;
    EXPECT_EQ(FoundPlace::Same, Find(before, 2, after, &found));
    EXPECT_EQ(2, found);
}

TEST(FindLine, AFailedReadGivesUp) {
    const std::vector<std::string> before = Numbered(500);
    std::vector<std::string> after = before;
    after.insert(after.begin(), 100, "new");
    const TextFingerprint print = PrintAt(before, 250);
    for (int n = 1; n <= 120; ++n) {
        ListLines source(after);
        source.FailAt = n;
        std::int32_t found = -7;
        EXPECT_EQ(FoundPlace::Failed, FindLine(source, source.Total(), print, &found)) << n;
        EXPECT_EQ(-7, found);
    }
}

}  // namespace
}  // namespace plugin
}  // namespace tarnwick
