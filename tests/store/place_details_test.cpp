// The details of a place beyond the editor's five numbers: the numbered
// bookmarks and the character table of editor items, and viewer items, as
// written, read back, read from hand-made text and kept by items of
// today's form.
#include "store/position_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/test_support.h"
#include "markup/markup_node.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::ItemLine;
using store_testing::OpenedFile;
using store_testing::Position;
using store_testing::ViewerAt;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

CharTableChoice Table(TableKind kind, int number = -1, const char* name = "") {
    CharTableChoice table{};
    table.Kind = kind;
    table.Number = number;
    std::strncpy(table.Name, name, kTableNameSize - 1);
    return table;
}

class PlaceDetailsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(file, cfg.c_str())); }

    // Saves, then reads the item of (kind, path) with a fresh handle from
    // the file, starting from EmptyPlace().
    StoredPlace SavedAndReadBack(ItemKind kind, const char* path) {
        EXPECT_TRUE(Save(file, cfg.c_str(), false));
        OpenedFile fresh;
        EXPECT_TRUE(Load(fresh, cfg.c_str()));
        StoredPlace place = EmptyPlace();
        EXPECT_TRUE(ReadItem(fresh, kind, path, &place));
        return place;
    }
    // Reads the item of (kind, path) from a file holding `text`.
    StoredPlace ReadFromText(const std::string& text, ItemKind kind, const char* path) {
        EXPECT_TRUE(WriteWholeFile(cfg, text));
        OpenedFile fresh;
        EXPECT_TRUE(Load(fresh, cfg.c_str()));
        StoredPlace place = EmptyPlace();
        EXPECT_TRUE(ReadItem(fresh, kind, path, &place));
        return place;
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    OpenedFile file;
};

TEST_F(PlaceDetailsTest, BookmarksAreWrittenOnlyForSetSlotsAndReadBackExactly) {
    StoredPlace place = Position(1);
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "none", place));
    place.Editor.Marks.Slot[0] = Bookmark{12, 4, 3, 0};
    place.Editor.Marks.Slot[7] = Bookmark{200, 0, 10, 0};
    ASSERT_TRUE(AddItem(file, ItemKind::Editor, "two", place));
    ASSERT_TRUE(Save(file, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("two", 1).substr(0, ItemLine("two", 1).size() - 3) +
                  " bookmarks=\"0:12,4,3,0 7:200,0,10,0\">\r\n" + ItemLine("none", 1),
              ReadWholeFile(cfg));

    // All ten, with the extremes of every number.
    for (int i = 0; i < kBookmarkCount; ++i) {
        place.Editor.Marks.Slot[i] = Bookmark{i == 9 ? INT32_MAX : i, INT32_MIN, -1, i * 1000};
    }
    ASSERT_TRUE(WriteItem(file, ItemKind::Editor, "none", place));
    StoredPlace read = SavedAndReadBack(ItemKind::Editor, "none");
    EXPECT_TRUE(SameBookmarks(read.Editor.Marks, place.Editor.Marks));
    EXPECT_EQ(1, read.Editor.Line);
}

TEST_F(PlaceDetailsTest, BookmarksAreReadLenientlyEntryByEntry) {
    // Kept: slot 1, slot 2 (its later entry wins), slot 4 (extra spaces
    // around it). Skipped: a slot out of range, a number that does not fit,
    // too few or too many numbers, garbage, hexadecimal, a negative slot.
    // Slot 3 is unset by its later negative line.
    const std::string text =
        "<item type=\"editor\" path=\"a\" bookmarks=\""
        "1:5,6,7,8 2:1,1,1,1 10:1,1,1,1 3:9,9,9,9 5:4294967296,0,0,0 6:1,2,3 2:20,21,22,23  "
        "  4:40,41,42,43 7:1,2,3,4,5 x 8:0x10,0,0,0 -1:1,1,1,1 3:-1,0,0,0 9:1,,2,3\">\r\n";
    const Bookmarks marks = ReadFromText(text, ItemKind::Editor, "a").Editor.Marks;
    Bookmarks expected = NoBookmarks();
    expected.Slot[1] = Bookmark{5, 6, 7, 8};
    expected.Slot[2] = Bookmark{20, 21, 22, 23};
    expected.Slot[4] = Bookmark{40, 41, 42, 43};
    EXPECT_TRUE(SameBookmarks(marks, expected));

    // An attribute with nothing usable unsets every slot the caller had.
    StoredPlace place = Position(0);
    place.Editor.Marks.Slot[5] = Bookmark{1, 1, 1, 1};
    ASSERT_TRUE(WriteWholeFile(cfg, "<item type=\"editor\" path=\"a\" bookmarks=\"junk\">\r\n"));
    OpenedFile fresh;
    ASSERT_TRUE(Load(fresh, cfg.c_str()));
    ASSERT_TRUE(ReadItem(fresh, ItemKind::Editor, "a", &place));
    EXPECT_TRUE(SameBookmarks(place.Editor.Marks, NoBookmarks()));
}

TEST_F(PlaceDetailsTest, TablesRoundTripAndWhatCannotBeWrittenIsNotStored) {
    const CharTableChoice tables[] = {Table(TableKind::Oem), Table(TableKind::Ansi), Table(TableKind::Unicode),
                                      Table(TableKind::Code, 3, "KOI8 R  (Cyrillic)")};
    for (const CharTableChoice& table : tables) {
        StoredPlace place = Position(2);
        place.Editor.Table = table;
        ASSERT_TRUE(AddItem(file, ItemKind::Editor, "t", place));
        const CharTableChoice read = SavedAndReadBack(ItemKind::Editor, "t").Editor.Table;
        EXPECT_EQ(table.Kind, read.Kind);
        if (table.Kind == TableKind::Code) {
            EXPECT_EQ(3, read.Number);
            EXPECT_STREQ("KOI8 R  (Cyrillic)", read.Name);
        }
        RemoveItem(file, ItemKind::Editor, "t");
    }
    EXPECT_NE(ReadWholeFile(dir.File("Tarnwick.cfg")).find("table=\"3 KOI8 R  (Cyrillic)\""), std::string::npos);

    // A name with a quote, or none, is no table to store.
    for (const CharTableChoice& table : {Table(TableKind::Code, 1, "say \"hi\""), Table(TableKind::Code, 1, "")}) {
        StoredPlace place = Position(2);
        place.Editor.Table = table;
        ASSERT_TRUE(AddItem(file, ItemKind::Editor, "q", place));
        ASSERT_TRUE(Save(file, cfg.c_str(), false));
        EXPECT_EQ(ReadWholeFile(cfg).find("table="), std::string::npos);
        RemoveItem(file, ItemKind::Editor, "q");
    }
}

TEST_F(PlaceDetailsTest, TableTextsAreReadIgnoringTheKeywordsCaseAndMalformedOnesAreUnknown) {
    struct Case {
        const char* Text;
        TableKind Kind;
        int Number;
        const char* Name;
    };
    const std::string longName(300, 'n');
    const std::string longText = "7 " + longName;
    const Case cases[] = {
        {"OEM", TableKind::Oem, -1, ""},          {"Ansi", TableKind::Ansi, -1, ""},
        {"UNICODE", TableKind::Unicode, -1, ""},  {"12 a b ", TableKind::Code, 12, "a b "},
        {"-2 x", TableKind::Code, -2, "x"},       {"", TableKind::Unknown, -1, ""},
        {"oem ", TableKind::Unknown, -1, ""},     {"3", TableKind::Unknown, -1, ""},
        {"3 ", TableKind::Unknown, -1, ""},       {" 3 x", TableKind::Unknown, -1, ""},
        {"x3 y", TableKind::Unknown, -1, ""},     {"99999999999 big", TableKind::Unknown, -1, ""},
        {longText.c_str(), TableKind::Code, 7, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const std::string text = std::string("<item type=\"editor\" path=\"a\" table=\"") + c.Text + "\">\r\n";
        const CharTableChoice read = ReadFromText(text, ItemKind::Editor, "a").Editor.Table;
        EXPECT_EQ(c.Kind, read.Kind);
        EXPECT_EQ(c.Number, read.Number);
        if (c.Name != nullptr) {
            EXPECT_STREQ(c.Name, read.Name);
        } else {
            EXPECT_EQ(std::string(kTableNameSize - 1, 'n'), read.Name);  // cut to the record
        }
    }
}

TEST_F(PlaceDetailsTest, ViewerItemsHoldA64BitOffsetAndTheirModes) {
    StoredPlace place = ViewerAt(5000000000LL, 3, 1, kWrapWords);
    place.Viewer.Table = Table(TableKind::Unicode);
    ASSERT_TRUE(AddItem(file, ItemKind::Viewer, "v.bin", place));
    ASSERT_TRUE(Save(file, cfg.c_str(), false));
    EXPECT_EQ("<item type=\"viewer\" path=\"v.bin\" offset=\"5000000000\" left=\"3\" hex=\"1\" wrap=\"2\" "
              "table=\"unicode\">\r\n",
              ReadWholeFile(cfg));
    // A viewer item is no editor item, nor the other way round.
    EXPECT_EQ(1, CountItems(file, ItemKind::Viewer));
    EXPECT_EQ(0, CountItems(file, ItemKind::Editor));
    EXPECT_FALSE(ReadItem(file, ItemKind::Editor, "v.bin", nullptr));

    for (std::int64_t offset : {INT64_MAX, INT64_MIN, std::int64_t{-1}, std::int64_t{2147483648LL}}) {
        ASSERT_TRUE(WriteItem(file, ItemKind::Viewer, "v.bin", ViewerAt(offset, 0, 0, kWrapLines)));
        const ViewerPlace read = SavedAndReadBack(ItemKind::Viewer, "v.bin").Viewer;
        EXPECT_EQ(offset, read.Offset);
        EXPECT_EQ(kWrapLines, read.Wrap);
        EXPECT_EQ(TableKind::Unknown, read.Table.Kind);
    }
    // An offset that is not a decimal that fits reads as 0.
    for (const char* text : {"9223372036854775808", "0x10", "12a", ""}) {
        SCOPED_TRACE(text);
        StoredPlace read = ReadFromText(std::string("<item type=\"VIEWER\" path=\"v\" offset=\"") + text + "\">\r\n",
                                        ItemKind::Viewer, "v");
        EXPECT_EQ(0, read.Viewer.Offset);
    }
}

TEST_F(PlaceDetailsTest, ReadingAKindFillsOnlyItsOwnMemberAndWhatTheItemHolds) {
    ASSERT_TRUE(WriteWholeFile(cfg, "<item type=\"viewer\" path=\"p\" offset=\"9\" line=\"4\">\r\n"
                                    "<item type=\"editor\" path=\"p\" line=\"5\" offset=\"7\" hex=\"1\">\r\n"));
    OpenedFile fresh;
    ASSERT_TRUE(Load(fresh, cfg.c_str()));
    StoredPlace place = EmptyPlace();
    place.Viewer.Hex = 1;
    place.Editor.Column = 8;
    ASSERT_TRUE(ReadItem(fresh, ItemKind::Viewer, "p", &place));
    EXPECT_EQ(9, place.Viewer.Offset);
    EXPECT_EQ(1, place.Viewer.Hex);   // the item lacks it
    EXPECT_EQ(0, place.Editor.Line);  // an editor field of a viewer item is not read
    ASSERT_TRUE(ReadItem(fresh, ItemKind::Editor, "p", &place));
    EXPECT_EQ(5, place.Editor.Line);
    EXPECT_EQ(8, place.Editor.Column);
    EXPECT_EQ(9, place.Viewer.Offset);
}

TEST_F(PlaceDetailsTest, AnItemOfTodaysFormReadsAsBeforeAndIsWrittenBackUnchanged) {
    const std::string today = ItemLine("old.txt", 120, 4, 101, 0, 0);
    StoredPlace place = ReadFromText(today, ItemKind::Editor, "old.txt");
    EXPECT_EQ(120, place.Editor.Line);
    EXPECT_TRUE(SameBookmarks(place.Editor.Marks, NoBookmarks()));
    EXPECT_EQ(TableKind::Unknown, place.Editor.Table.Kind);
    // Stored again with nothing new to say, it keeps its form byte for byte.
    OpenedFile again;
    ASSERT_TRUE(Load(again, cfg.c_str()));
    ASSERT_TRUE(WriteItem(again, ItemKind::Editor, "old.txt", place));
    ASSERT_TRUE(Save(again, cfg.c_str(), false));
    EXPECT_EQ(today, ReadWholeFile(cfg));
}

TEST_F(PlaceDetailsTest, WritingRemovesDetailsThatHaveNothingToSayAndKeepsUnknownAttributes) {
    ASSERT_TRUE(WriteWholeFile(cfg, "<item type=\"editor\" path=\"a\" bookmarks=\"1:1,1,1,1\" note=\"x\" "
                                    "Table=\"oem\" line=\"3\" table=\"ansi\" offset=\"5\">\r\n"));
    OpenedFile again;
    ASSERT_TRUE(Load(again, cfg.c_str()));
    ASSERT_TRUE(WriteItem(again, ItemKind::Editor, "a", Position(4)));
    ASSERT_TRUE(Save(again, cfg.c_str(), false));
    // Every table attribute goes, the duplicate too; an attribute of
    // another kind's field stays.
    EXPECT_EQ("<item type=\"editor\" path=\"a\" note=\"x\" line=\"4\" offset=\"5\" column=\"0\" top=\"0\" left=\"0\" "
              "overtype=\"0\">\r\n",
              ReadWholeFile(cfg));
}

TEST_F(PlaceDetailsTest, AnItemAtTheAttributeLimitMakesRoomByLosingWhatHasNothingToSay) {
    std::string text = "<item type=\"editor\" path=\"a\" line=\"1\" column=\"0\" top=\"0\" left=\"0\" overtype=\"0\" "
                       "table=\"oem\"";
    for (int i = 0; i < markup::kMaxAttributes - 8; ++i) text += " x" + std::to_string(i) + "=\"0\"";
    text += ">\r\n";
    ASSERT_TRUE(WriteWholeFile(cfg, text));
    OpenedFile again;
    ASSERT_TRUE(Load(again, cfg.c_str()));
    StoredPlace place = Position(9);
    place.Editor.Marks.Slot[2] = Bookmark{5, 0, 0, 0};
    EXPECT_TRUE(WriteItem(again, ItemKind::Editor, "a", place));  // the table's place takes the bookmarks
    StoredPlace read = EmptyPlace();
    ASSERT_TRUE(ReadItem(again, ItemKind::Editor, "a", &read));
    EXPECT_EQ(9, read.Editor.Line);
    EXPECT_EQ(5, read.Editor.Marks.Slot[2].Line);
    EXPECT_EQ(TableKind::Unknown, read.Editor.Table.Kind);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
