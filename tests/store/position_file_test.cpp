#include "store/position_file.h"

#include <gtest/gtest.h>

#include <cctype>

#include "common/test_support.h"
#include "store/replace_file.h"
#include "markup/markup_node.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {

using namespace markup;
namespace {

using store_testing::Host;
using store_testing::ItemLine;
using store_testing::ItemPaths;
using store_testing::Position;
using store_testing::StoredLine;
using store_testing::WriteAsOtherHost;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;
using Paths = std::vector<std::string>;

class PositionFileTest : public ::testing::Test {
protected:
    // A host that has read `content` from the position file.
    void LoadFrom(const std::string& content) {
        ASSERT_TRUE(WriteWholeFile(cfg, content));
        ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    Host host;
};

TEST_F(PositionFileTest, NoFileYetGivesEmptyDocumentAndFirstSaveWritesOneLine) {
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    ASSERT_NE(nullptr, Document(host.File));
    EXPECT_EQ(0, CountItems(host.File, "editor"));
    EXPECT_STREQ("", host.File.LoadedPath);

    ASSERT_TRUE(AddItem(host.File, "editor", "C:\\Data\\Plan.txt", Position(12, 4, 3, 0, 0)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), &host.Table, false));
    EXPECT_EQ(ItemLine("C:\\Data\\Plan.txt", 12, 4, 3, 0, 0), ReadWholeFile(cfg));

    // Reading it back into another host gives the same position.
    Host other;
    ASSERT_TRUE(Load(other.File, cfg.c_str(), &other.Table));
    EditorSetPosition read = Position(-7, -7, 99, -7, -7);
    ASSERT_TRUE(ReadItem(other.File, "EDITOR", "c:\\data\\PLAN.txt", &read));
    EXPECT_EQ(12, read.CurLine);
    EXPECT_EQ(4, read.CurPos);
    EXPECT_EQ(-1, read.CurTabPos);
    EXPECT_EQ(3, read.TopScreenLine);
    EXPECT_EQ(0, read.LeftPos);
    EXPECT_EQ(0, read.Overtype);
}

TEST_F(PositionFileTest, EmptyOrGarbageFilesLoadWithoutItems) {
    static const char binary[] = "\0\x01\xff<<>>\"=";
    const std::string contents[] = {"", "plain words, no markup at all", std::string(binary, sizeof binary - 1),
                                    "</item></item>"};
    for (const std::string& content : contents) {
        Host fresh;
        ASSERT_TRUE(WriteWholeFile(cfg, content));
        EXPECT_TRUE(Load(fresh.File, cfg.c_str(), &fresh.Table));
        EXPECT_NE(nullptr, Document(fresh.File));
        EXPECT_EQ(0, CountItems(fresh.File, "editor"));
        EXPECT_TRUE(AddItem(fresh.File, "editor", "x", Position(1)));
    }
}

TEST_F(PositionFileTest, ReadingItems) {
    LoadFrom("<item type=\"editor\" path=\"no-top\" line=\"5\" column=\"6\" left=\"7\" overtype=\"1\">\r\n"
             "<item type=\"editor\" path=\"bad-top\" line=\"1\" column=\"1\" top=\"abc\" left=\"0\" overtype=\"0\">\r\n"
             "<ITEM TYPE=\"Editor\" PATH=\"upper\" line=\"0x10\">\r\n"
             "<item type=\"other\" path=\"no-top\" line=\"99\">\r\n"
             "<item path=\"typeless\" line=\"1\">\r\n"
             "<entry type=\"editor\" path=\"wrong-name\">\r\n"
             "<box><item type=\"editor\" path=\"nested\" line=\"1\"></box>\r\n");
    EXPECT_EQ((Paths{"no-top", "bad-top", "upper"}), ItemPaths(host.File));
    EXPECT_EQ(3, CountItems(host.File, "editor"));
    EXPECT_EQ(1, CountItems(host.File, "OTHER"));
    EXPECT_EQ(0, CountItems(host.File, nullptr));

    EditorSetPosition position = Position(0, 0, 42, 0, 0);
    position.CurTabPos = 8;
    ASSERT_TRUE(ReadItem(host.File, "editor", "NO-TOP", &position));
    EXPECT_EQ(5, position.CurLine);
    EXPECT_EQ(42, position.TopScreenLine);  // missing: left as the caller had it
    EXPECT_EQ(1, position.Overtype);
    EXPECT_EQ(-1, position.CurTabPos);

    position = Position(0, 0, 42);
    ASSERT_TRUE(ReadItem(host.File, "editor", "bad-top", &position));
    EXPECT_EQ(0, position.TopScreenLine);  // not a number: 0
    EXPECT_EQ(16, StoredLine(host.File, "upper"));

    // Not an item: nested, wrongly named, or without a type.
    position = Position(-5);
    for (const char* path : {"nested", "wrong-name", "typeless", "absent"}) {
        EXPECT_FALSE(ReadItem(host.File, "editor", path, &position)) << path;
        EXPECT_FALSE(ItemExists(host.File, "editor", path)) << path;
    }
    EXPECT_EQ(-5, position.CurLine);

    // Another type is found but has no position to read.
    EXPECT_TRUE(ReadItem(host.File, "other", "no-top", &position));
    EXPECT_EQ(-5, position.CurLine);
    EXPECT_FALSE(ReadItemElement(nullptr, "editor", &position));
}

TEST_F(PositionFileTest, WritingAddingAndRemovingItems) {
    LoadFrom(ItemLine("C:\\Same.txt", 1) + ItemLine("c:\\same.TXT", 2) + ItemLine("other", 3));

    // The first of two case variants is the one reached.
    EXPECT_EQ(1, StoredLine(host.File, "C:\\SAME.txt"));
    ASSERT_TRUE(WriteItem(host.File, "editor", "c:\\same.txt", Position(10, 1, 2, 3, 1)));
    EXPECT_EQ((Paths{"c:\\same.txt", "c:\\same.TXT", "other"}), ItemPaths(host.File));
    EXPECT_EQ(10, StoredLine(host.File, "C:\\Same.txt"));

    // WriteItem only updates.
    EXPECT_FALSE(WriteItem(host.File, "editor", "new", Position(5)));
    EXPECT_FALSE(ItemExists(host.File, "editor", "new"));

    // AddItem puts the item in front of all others.
    ASSERT_TRUE(AddItem(host.File, "editor", "new", Position(5)));
    EXPECT_EQ((Paths{"new", "c:\\same.txt", "c:\\same.TXT", "other"}), ItemPaths(host.File));

    RemoveItem(host.File, "editor", "C:\\SAME.TXT");
    EXPECT_EQ((Paths{"new", "c:\\same.TXT", "other"}), ItemPaths(host.File));
    EXPECT_EQ(2, StoredLine(host.File, "c:\\same.txt"));
    RemoveItem(host.File, "editor", "absent");
    RemoveItem(host.File, "other", "other");  // type must match
    EXPECT_EQ(3, CountItems(host.File, "editor"));

    ASSERT_TRUE(Save(host.File, cfg.c_str(), &host.Table, false));
    EXPECT_EQ(ItemLine("new", 5) + ItemLine("c:\\same.TXT", 2) + ItemLine("other", 3), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, WriteFailsOnFullAttributeTable) {
    std::string line = "<item type=\"editor\" path=\"full\"";
    for (int i = 0; i < 30; ++i) line += " a" + std::to_string(i) + "=\"x\"";
    LoadFrom(line + ">\r\n");
    EXPECT_FALSE(WriteItem(host.File, "editor", "full", Position(3)));
    EXPECT_EQ(-1000, StoredLine(host.File, "full"));  // no line was added
    EXPECT_TRUE(ItemExists(host.File, "editor", "full"));
}

TEST_F(PositionFileTest, OperationsWithoutDocument) {
    EditorSetPosition position = Position(1);
    EXPECT_EQ(nullptr, FindItem(host.File, "editor", "x"));
    EXPECT_FALSE(ReadItem(host.File, "editor", "x", &position));
    EXPECT_FALSE(WriteItem(host.File, "editor", "x", position));
    EXPECT_FALSE(AddItem(host.File, "editor", "x", position));
    RemoveItem(host.File, "editor", "x");
    EXPECT_EQ(0, CountItems(host.File, "editor"));
    EXPECT_FALSE(Save(host.File, cfg.c_str(), &host.Table, false));

    // A purge without a document neither reads nor writes the file.
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine(dir.File("gone.txt"), 1)));
    EXPECT_EQ(0, PurgeMissing(host.File, &host.Table, cfg.c_str()));
    EXPECT_EQ(nullptr, Document(host.File));
    EXPECT_EQ(ItemLine(dir.File("gone.txt"), 1), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, UnchangedFileIsNotReadAgain) {
    LoadFrom(ItemLine("a", 1));
    MarkupNode* document = Document(host.File);
    platform::FileTime time;
    std::uint64_t size;
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));

    // Same size and time: taken as unchanged, the new line is not seen.
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("a", 2)));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(1, StoredLine(host.File, "a"));
    EXPECT_EQ(document, Document(host.File));
    if (testing_support::kIsWindows) {
        // The path compares ignoring case.
        std::string upper = cfg;
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(Load(host.File, upper.c_str(), &host.Table));
        EXPECT_EQ(1, StoredLine(host.File, "a"));
    }

    // A time that moved backward is a change.
    ASSERT_TRUE(store_testing::SetTime(cfg, store_testing::ShiftTime(time, -10)));
    EXPECT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(2, StoredLine(host.File, "a"));

    // So is another size at the same time.
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("a", 33)));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(33, StoredLine(host.File, "a"));
    EXPECT_EQ(document, Document(host.File));  // merged into, not rebuilt

    // Another host's save within the same tick of the file clock, of the
    // same size: the file was replaced by a new one, and that is seen.
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));
    std::string replaced = ItemLine("a", 44);
    ASSERT_EQ(size, replaced.size());
    ASSERT_EQ(platform::Status::Ok,
              store::ReplaceFileContent(platform::Env::Default(), cfg.c_str(), replaced.data(), static_cast<std::uint32_t>(replaced.size())));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(44, StoredLine(host.File, "a"));
}

TEST_F(PositionFileTest, MergeAddsNewItemsAndDropsVanishedOnesWithTheirRecords) {
    LoadFrom(ItemLine("B", 1) + ItemLine("C", 2));
    host.OpenEditor(1, "B");
    host.OpenEditor(2, "b");
    host.OpenEditor(3, "C");

    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("C", 2) + ItemLine("A", 7)));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ((Paths{"A", "C"}), ItemPaths(host.File));
    EXPECT_EQ(7, StoredLine(host.File, "A"));
    EXPECT_FALSE(host.HasRecordFor("B"));
    EXPECT_TRUE(host.HasRecordFor("C"));
}

TEST_F(PositionFileTest, ItemsTakenOverLandInFrontInReverseOrder) {
    LoadFrom(ItemLine("old1", 1) + ItemLine("old2", 2));
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("old1", 1) + ItemLine("old2", 2) + ItemLine("A", 3) +
                                          ItemLine("B", 4) + ItemLine("a", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    // A path the file holds twice is taken over once, with its first values.
    EXPECT_EQ((Paths{"B", "A", "old1", "old2"}), ItemPaths(host.File));
    EXPECT_EQ(3, StoredLine(host.File, "a"));
}

TEST_F(PositionFileTest, FileWinsUnlessTheFileIsOpenHere) {
    LoadFrom(ItemLine("F", 1) + ItemLine("G", 1) + ItemLine("F", 9));
    host.OpenEditor(4, "g");

    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("f", 5, 6, 7, 8, 1) + ItemLine("G", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(5, StoredLine(host.File, "F"));  // taken over, spelled as the file has it
    EXPECT_EQ((Paths{"f", "G", "F"}), ItemPaths(host.File));
    EXPECT_EQ(1, StoredLine(host.File, "G"));  // open in an editor here: memory's value stays

    EditorSetPosition position = Position(0);
    ASSERT_TRUE(ReadItem(host.File, "editor", "F", &position));
    EXPECT_EQ(6, position.CurPos);
    EXPECT_EQ(7, position.TopScreenLine);
    EXPECT_EQ(8, position.LeftPos);
    EXPECT_EQ(1, position.Overtype);
}

TEST_F(PositionFileTest, MergeFillsAttributesTheFileLacksFromMemoryOrZero) {
    LoadFrom(ItemLine("kept", 1, 2, 3, 4, 1));
    ASSERT_TRUE(WriteAsOtherHost(cfg, "<item type=\"editor\" path=\"kept\" line=\"10\">\r\n"
                                      "<item type=\"editor\" path=\"new\" column=\"4\">\r\n"));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), &host.Table, false));
    EXPECT_EQ(ItemLine("new", 0, 4, 0, 0, 0) + ItemLine("kept", 10, 2, 3, 4, 1), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, MergeReadsTheFilesFirstAttributeOfEachNameIgnoringCase) {
    LoadFrom(ItemLine("k", 1, 2, 7, 4, 1));
    // Names in another case and order, a name given twice (the first one
    // counts), a number that is not one (reads as 0), an attribute of no
    // field, and two fields the file lacks (memory's values stay).
    ASSERT_TRUE(WriteAsOtherHost(cfg, "<item PATH=\"k\" Line=\"10\" extra=\"e\" line=\"99\" type=\"EDITOR\" "
                                      "column=\"x\" TOP=\"3\">\r\n"));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EditorSetPosition position = Position(0);
    ASSERT_TRUE(ReadItem(host.File, "editor", "k", &position));
    EXPECT_EQ(10, position.CurLine);
    EXPECT_EQ(0, position.CurPos);
    EXPECT_EQ(3, position.TopScreenLine);
    EXPECT_EQ(4, position.LeftPos);
    EXPECT_EQ(1, position.Overtype);
    EXPECT_EQ((Paths{"k"}), ItemPaths(host.File));
}

TEST_F(PositionFileTest, DeletedFileDropsEditorItemsButNothingElse) {
    LoadFrom(ItemLine("a", 1) + ItemLine("b", 2) + ItemLine("x", 3, 0, 0, 0, 0, "bookmark") + "<note text=\"hi\">\r\n");
    host.OpenEditor(1, "a");
    ASSERT_TRUE(testing_support::DeleteFilePath(cfg));
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(0, CountItems(host.File, "editor"));
    EXPECT_EQ(1, CountItems(host.File, "bookmark"));
    EXPECT_FALSE(host.HasRecordFor("a"));
    EXPECT_STREQ("", host.File.LoadedPath);

    // Items in memory of other kinds are written back; the other file's
    // extras are not taken over.
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("y", 1, 0, 0, 0, 0, "bookmark") + ItemLine("c", 1)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), &host.Table, true));
    EXPECT_EQ(ItemLine("c", 1) + ItemLine("x", 3, 0, 0, 0, 0, "bookmark") + "<note text=\"hi\">\r\n",
              ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, SaveToAnotherPathMergesWithThatFile) {
    LoadFrom(ItemLine("a", 1) + ItemLine("b", 2));
    host.OpenEditor(1, "b");
    std::string other = dir.File("other.cfg");
    ASSERT_TRUE(WriteWholeFile(other, ItemLine("b", 20) + ItemLine("c", 30)));
    ASSERT_TRUE(Save(host.File, other.c_str(), &host.Table, true));
    EXPECT_EQ(ItemLine("c", 30) + ItemLine("b", 2), ReadWholeFile(other));

    // A path whose folder does not exist cannot be written.
    std::string unwritable = dir.File("no-such-folder") + testing_support::PathSeparator() + "x.cfg";
    EXPECT_FALSE(Save(host.File, unwritable.c_str(), &host.Table, true));
    EXPECT_FALSE(testing_support::FileExists(unwritable));
    EXPECT_FALSE(Save(host.File, dir.path().c_str(), &host.Table, false));  // a folder
}

TEST_F(PositionFileTest, PurgeMissingWithTable) {
    std::string present = dir.File("present.txt");
    std::string gone = dir.File("gone.txt");
    std::string open = dir.File("open.txt");
    ASSERT_TRUE(WriteWholeFile(present, "x"));
    LoadFrom(ItemLine(present, 1) + ItemLine(gone, 2) + ItemLine(open, 3) + ItemLine(gone, 4, 0, 0, 0, 0, "bookmark") +
             ItemLine(dir.File("gone2.txt"), 5));
    host.OpenEditor(1, open);

    EXPECT_EQ(2, PurgeMissing(host.File, &host.Table, cfg.c_str()));
    EXPECT_EQ((Paths{present, open}), ItemPaths(host.File));
    EXPECT_EQ(1, CountItems(host.File, "bookmark"));
    EXPECT_EQ(ItemLine(present, 1) + ItemLine(open, 3) + ItemLine(gone, 4, 0, 0, 0, 0, "bookmark"), ReadWholeFile(cfg));

    // Nothing to purge: the file is written all the same.
    std::string text = ReadWholeFile(cfg);
    ASSERT_TRUE(WriteWholeFile(cfg, text + "stray text"));
    EXPECT_EQ(0, PurgeMissing(host.File, &host.Table, cfg.c_str()));
    EXPECT_EQ(text, ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, PurgeMissingWithoutTableRemovesEveryType) {
    std::string gone = dir.File("gone.txt");
    LoadFrom(ItemLine(gone, 1) + ItemLine(gone, 2, 0, 0, 0, 0, "bookmark") + ItemLine(dir.path(), 3));
    EXPECT_EQ(2, PurgeMissing(host.File, nullptr, cfg.c_str()));
    EXPECT_EQ((Paths{dir.path()}), ItemPaths(host.File));  // a folder counts as existing
}

TEST_F(PositionFileTest, ReleasedDocumentIsBuiltAgainByTheNextLoad) {
    LoadFrom(ItemLine("a", 1));
    UnloadDocument(host.File);
    EXPECT_EQ(nullptr, Document(host.File));
    UnloadDocument(host.File);  // twice is harmless
    ASSERT_TRUE(Load(host.File, cfg.c_str(), &host.Table));
    EXPECT_EQ(1, StoredLine(host.File, "a"));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
