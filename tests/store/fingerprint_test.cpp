// The text's fingerprint of an editor item (the `hash` and `stamp`
// attributes): its exact text, what reading makes of malformed or missing
// values, that it never outlives the place it was taken at, and that the
// merge takes it with its position.
#include "store/position_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::ItemLine;
using store_testing::OpenedFile;
using store_testing::Position;
using store_testing::WriteAsOtherHost;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

// A place at `line` with a fingerprint taken there.
StoredPlace Printed(int line, std::uint32_t own, std::int64_t size = 0, std::int64_t time = 0) {
    StoredPlace place = Position(line, 4, line > 3 ? line - 3 : 0);
    TextFingerprint& print = place.Editor.Print;
    print.Line = line;
    const std::uint32_t hashes[kPrintLines] = {0, 0x1a2b, own, 0xffff, 0x0001};
    for (int i = 0; i < kPrintLines; ++i) print.Hashes[i] = hashes[i];
    print.Size = size;
    print.Time = time;
    return place;
}

bool SamePrint(const TextFingerprint& a, const TextFingerprint& b) {
    if (a.Line != b.Line || a.Size != b.Size || a.Time != b.Time) return false;
    for (int i = 0; i < kPrintLines; ++i) {
        if (a.Hashes[i] != b.Hashes[i]) return false;
    }
    return true;
}

class FingerprintTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(file, cfg.c_str())); }

    StoredPlace ReadFromText(const std::string& text, const char* path, StoredPlace place = EmptyPlace()) {
        EXPECT_TRUE(WriteWholeFile(cfg, text));
        OpenedFile fresh;
        EXPECT_TRUE(Load(fresh, cfg.c_str()));
        EXPECT_TRUE(ReadItem(fresh, ItemKind::Editor, path, &place));
        return place;
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    OpenedFile file;
};

TEST_F(FingerprintTest, IsWrittenAfterTheTableAsTwoAttributesAndReadBackExactly) {
    const StoredPlace place = Printed(120, 0xc0ffee12, 1843, 133512345678901234LL);
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "a.c", place));
    ASSERT_TRUE(Save(file, cfg.c_str(), false));
    const std::string line = ItemLine("a.c", 120, 4, 117);
    EXPECT_EQ(line.substr(0, line.size() - 3) +
                  " hash=\"120 0000 1a2b c0ffee12 ffff 0001\" stamp=\"1843 133512345678901234\">\r\n",
              ReadWholeFile(cfg));

    OpenedFile fresh;
    ASSERT_TRUE(Load(fresh, cfg.c_str()));
    StoredPlace read = EmptyPlace();
    ASSERT_TRUE(ReadItem(fresh, ItemKind::Editor, "a.c", &read));
    EXPECT_TRUE(SamePrint(read.Editor.Print, place.Editor.Print));
    ASSERT_NE(nullptr, PrintOf(read.Editor));
    EXPECT_TRUE(HasStamp(read.Editor.Print));
}

TEST_F(FingerprintTest, WithoutAStampOnlyTheHashesAreWritten) {
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "a.c", Printed(7, 0x00000001)));
    ASSERT_TRUE(Save(file, cfg.c_str(), false));
    const std::string text = ReadWholeFile(cfg);
    EXPECT_NE(std::string::npos, text.find(" hash=\"7 0000 1a2b 00000001 ffff 0001\">"));
    EXPECT_EQ(std::string::npos, text.find("stamp"));
}

TEST_F(FingerprintTest, MalformedValuesReadAsNoFingerprintOrNoStamp) {
    const char* const badHashes[] = {
        "",
        "12",
        "12 0000 1a2b c0ffee12 ffff",             // four hashes
        "12 0000 1a2b c0ffee12 ffff 0001 0002",   // six
        "12 000 1a2b c0ffee12 ffff 0001",         // a neighbour of 3 digits
        "12 0000 1a2b c0ffee1 ffff 0001",         // the line of 7
        "12 0000 1a2b c0ffee12 ffff 0001 ",       // a trailing space
        "12  0000 1a2b c0ffee12 ffff 0001",       // two spaces
        "-1 0000 1a2b c0ffee12 ffff 0001",        // a negative line
        "4294967296 0000 1a2b c0ffee12 ffff 0001",
        "12 0000 1a2b 00000000 ffff 0001",        // a line's hash of 0
        "12 0000 1g2b c0ffee12 ffff 0001",
    };
    for (const char* bad : badHashes) {
        SCOPED_TRACE(bad);
        StoredPlace caller = Printed(12, 0x12345678, 5, 6);
        const StoredPlace read = ReadFromText(
            "<item type=\"editor\" path=\"a\" line=\"12\" hash=\"" + std::string(bad) + "\" stamp=\"5 6\">\r\n", "a",
            caller);
        EXPECT_FALSE(HasHashes(read.Editor.Print));
        EXPECT_EQ(nullptr, PrintOf(read.Editor));
    }
    // Hex digits of either case are read.
    const StoredPlace upper =
        ReadFromText("<item type=\"editor\" path=\"a\" line=\"12\" hash=\"12 0000 1A2B C0FFEE12 FFFF 0001\">\r\n", "a");
    EXPECT_EQ(0xc0ffee12u, upper.Editor.Print.Hashes[kNearLines]);
    EXPECT_EQ(0xffffu, upper.Editor.Print.Hashes[kNearLines + 1]);

    const char* const badStamps[] = {"", "5", "5 ", "-5 6", "5 0", "5 -6", "5  6", "5 6 7", "x 6",
                                     "5 99999999999999999999"};
    for (const char* bad : badStamps) {
        SCOPED_TRACE(bad);
        const StoredPlace read = ReadFromText("<item type=\"editor\" path=\"a\" line=\"12\" hash=\"12 0000 1a2b c0ffee12 "
                                              "ffff 0001\" stamp=\"" + std::string(bad) + "\">\r\n",
                                              "a");
        EXPECT_TRUE(HasHashes(read.Editor.Print));
        EXPECT_FALSE(HasStamp(read.Editor.Print));
    }
}

TEST_F(FingerprintTest, AnItemWithoutOneClearsTheCallersAndReadsAsToday) {
    const std::string today = ItemLine("old.txt", 120, 4, 101, 0, 0);
    const StoredPlace read = ReadFromText(today, "old.txt", Printed(120, 0x12345678, 5, 6));
    EXPECT_FALSE(HasHashes(read.Editor.Print));
    EXPECT_FALSE(HasStamp(read.Editor.Print));
    EXPECT_EQ(120, read.Editor.Line);
}

TEST_F(FingerprintTest, OneTakenAtAnotherLineIsNotThePlacesAndIsNotWritten) {
    // An older host moved the place and kept the attributes it does not know.
    const StoredPlace read =
        ReadFromText("<item type=\"editor\" path=\"a\" line=\"40\" hash=\"12 0000 1a2b c0ffee12 ffff 0001\" "
                     "stamp=\"5 6\">\r\n",
                     "a");
    EXPECT_EQ(nullptr, PrintOf(read.Editor));

    // Such a place written, or one without a fingerprint, takes the item's away.
    OpenedFile again;
    ASSERT_TRUE(Load(again, cfg.c_str()));
    ASSERT_TRUE(WriteItem(again, ItemKind::Editor, "a", read));
    ASSERT_TRUE(Save(again, cfg.c_str(), false));
    const std::string text = ReadWholeFile(cfg);
    EXPECT_EQ(std::string::npos, text.find("hash"));
    EXPECT_EQ(std::string::npos, text.find("stamp"));
}

TEST_F(FingerprintTest, TheMergeTakesAnItemsPositionAndFingerprintTogether) {
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "a", Printed(5, 0x55555555, 10, 20)));
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "b", Printed(6, 0x66666666, 10, 20)));
    ASSERT_TRUE(Save(file, cfg.c_str(), false));

    // Another host moved a (with a new fingerprint) and b (with none: an
    // older version, which also dropped the attributes it did not know).
    const StoredPlace moved = Printed(9, 0x99999999, 11, 21);
    const std::string line = ItemLine("a", 9, 4, 6);
    ASSERT_TRUE(WriteAsOtherHost(cfg, line.substr(0, line.size() - 3) +
                                          " hash=\"9 0000 1a2b 99999999 ffff 0001\" stamp=\"11 21\">\r\n" +
                                          ItemLine("b", 30)));
    ASSERT_TRUE(Load(file, cfg.c_str()));
    StoredPlace a = EmptyPlace();
    ASSERT_TRUE(ReadItem(file, ItemKind::Editor, "a", &a));
    EXPECT_EQ(9, a.Editor.Line);
    EXPECT_TRUE(SamePrint(a.Editor.Print, moved.Editor.Print));
    StoredPlace b = EmptyPlace();
    ASSERT_TRUE(ReadItem(file, ItemKind::Editor, "b", &b));
    EXPECT_EQ(30, b.Editor.Line);
    EXPECT_FALSE(HasHashes(b.Editor.Print));
    EXPECT_FALSE(HasStamp(b.Editor.Print));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
