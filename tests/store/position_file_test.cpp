#include "store/position_file.h"

#include <gtest/gtest.h>

#include <cctype>

#include "common/fault_env.h"
#include "common/test_support.h"
#include "store/replace_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::HasItem;
using store_testing::Host;
using store_testing::ItemLine;
using store_testing::ItemPaths;
using store_testing::Position;
using store_testing::StoredLine;
using store_testing::WriteAsOtherHost;
using testing_support::FaultEnv;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;
using Paths = std::vector<std::string>;

class PositionFileTest : public ::testing::Test {
protected:
    // A host that has read `content` from the position file.
    void LoadFrom(const std::string& content) {
        ASSERT_TRUE(WriteWholeFile(cfg, content));
        ASSERT_TRUE(Load(host.File, cfg.c_str()));
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    FaultEnv env{platform::Env::Default()};  // counts the host's reads
    Host host{&env};
};

TEST_F(PositionFileTest, NoFileYetGivesEmptyDocumentAndFirstSaveWritesOneLine) {
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(0, CountItems(host.File, ItemKind::Editor));

    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "C:\\Data\\Plan.txt", Position(12, 4, 3, 0, 0)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("C:\\Data\\Plan.txt", 12, 4, 3, 0, 0), ReadWholeFile(cfg));

    // Reading it back into another host gives the same position.
    Host other;
    ASSERT_TRUE(Load(other.File, cfg.c_str()));
    StoredPlace read = Position(-7, -7, 99, -7, -7);
    ASSERT_TRUE(ReadItem(other.File, ItemKind::Editor, "c:\\data\\PLAN.txt", &read));
    EXPECT_EQ(12, read.Editor.Line);
    EXPECT_EQ(4, read.Editor.Column);
    EXPECT_EQ(3, read.Editor.Top);
    EXPECT_EQ(0, read.Editor.Left);
    EXPECT_EQ(0, read.Editor.Overtype);
}

TEST_F(PositionFileTest, EmptyOrGarbageFilesLoadWithoutItems) {
    static const char binary[] = "\0\x01\xff<<>>\"=";
    const std::string contents[] = {"", "plain words, no markup at all", std::string(binary, sizeof binary - 1),
                                    "</item></item>"};
    for (const std::string& content : contents) {
        Host fresh;
        ASSERT_TRUE(WriteWholeFile(cfg, content));
        EXPECT_TRUE(Load(fresh.File, cfg.c_str()));
        EXPECT_EQ(0, CountItems(fresh.File, ItemKind::Editor));
        // A document was made: an item can be added.
        EXPECT_TRUE(AddItem(fresh.File, ItemKind::Editor, "x", Position(1)));
    }
}

// A file of items of every shape the reader meets.
class ReadingItemsTest : public PositionFileTest {
protected:
    void SetUp() override { LoadFrom(kText); }

    const std::string kText =
        "<item type=\"editor\" path=\"no-top\" line=\"5\" column=\"6\" left=\"7\" overtype=\"1\">\r\n"
        "<item type=\"editor\" path=\"bad-top\" line=\"1\" column=\"1\" top=\"abc\" left=\"0\" overtype=\"0\">\r\n"
        "<ITEM TYPE=\"Editor\" PATH=\"upper\" line=\"0x10\">\r\n"
        "<item type=\"other\" path=\"no-top\" line=\"99\">\r\n"
        "<item path=\"typeless\" line=\"1\">\r\n"
        "<entry type=\"editor\" path=\"wrong-name\">\r\n"
        "<box>\r\n <item type=\"editor\" path=\"nested\" line=\"1\">\r\n</box>\r\n";
};

TEST_F(ReadingItemsTest, EditorItemsAreCountedWhateverTheCaseOfTheirType) {
    EXPECT_EQ((Paths{"no-top", "bad-top", "upper"}), ItemPaths(host.File));
    EXPECT_EQ(3, CountItems(host.File, ItemKind::Editor));
}

TEST_F(ReadingItemsTest, AMissingAttributeLeavesTheFieldAsItWas) {
    StoredPlace position = Position(0, 0, 42, 0, 0);
    ASSERT_TRUE(ReadItem(host.File, ItemKind::Editor, "NO-TOP", &position));
    EXPECT_EQ(5, position.Editor.Line);
    EXPECT_EQ(42, position.Editor.Top);  // missing: left as the caller had it
    EXPECT_EQ(1, position.Editor.Overtype);
}

TEST_F(ReadingItemsTest, AValueThatIsNotANumberReadsAsZero) {
    StoredPlace position = Position(0, 0, 42);
    ASSERT_TRUE(ReadItem(host.File, ItemKind::Editor, "bad-top", &position));
    EXPECT_EQ(0, position.Editor.Top);
}

TEST_F(ReadingItemsTest, NamesIgnoreCaseAndANumberMayBeHexadecimal) {
    EXPECT_EQ(16, StoredLine(host.File, "upper"));
}

TEST_F(ReadingItemsTest, NestedWronglyNamedAndTypelessElementsAreNoItems) {
    StoredPlace position = Position(-5);
    for (const char* path : {"nested", "wrong-name", "typeless", "absent"}) {
        EXPECT_FALSE(ReadItem(host.File, ItemKind::Editor, path, &position)) << path;
        EXPECT_FALSE(HasItem(host.File, path)) << path;
    }
    EXPECT_EQ(-5, position.Editor.Line);
}

TEST_F(ReadingItemsTest, AnItemOfAnotherTypeIsNoEditorItemAndIsKeptAsItWas) {
    StoredPlace position = Position(-5);
    // The other type's item has the path of an editor item, whose place it
    // does not change; a save writes the text as it was read.
    ASSERT_TRUE(ReadItem(host.File, ItemKind::Editor, "no-top", &position));
    EXPECT_EQ(5, position.Editor.Line);
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(kText, ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, WritingAddingAndRemovingItems) {
    LoadFrom(ItemLine("C:\\Same.txt", 1) + ItemLine("c:\\same.TXT", 2) + ItemLine("other", 3));

    // The first of two case variants is the one reached.
    EXPECT_EQ(1, StoredLine(host.File, "C:\\SAME.txt"));
    ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "c:\\same.txt", Position(10, 1, 2, 3, 1)));
    EXPECT_EQ((Paths{"c:\\same.txt", "c:\\same.TXT", "other"}), ItemPaths(host.File));
    EXPECT_EQ(10, StoredLine(host.File, "C:\\Same.txt"));

    // WriteItem only updates.
    EXPECT_FALSE(WriteItem(host.File, ItemKind::Editor, "new", Position(5)));
    EXPECT_FALSE(HasItem(host.File, "new"));

    // AddItem puts the item in front of all others.
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "new", Position(5)));
    EXPECT_EQ((Paths{"new", "c:\\same.txt", "c:\\same.TXT", "other"}), ItemPaths(host.File));

    RemoveItem(host.File, ItemKind::Editor, "C:\\SAME.TXT");
    EXPECT_EQ((Paths{"new", "c:\\same.TXT", "other"}), ItemPaths(host.File));
    EXPECT_EQ(2, StoredLine(host.File, "c:\\same.txt"));
    RemoveItem(host.File, ItemKind::Editor, "absent");
    EXPECT_EQ(3, CountItems(host.File, ItemKind::Editor));

    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ItemLine("new", 5) + ItemLine("c:\\same.TXT", 2) + ItemLine("other", 3), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, WriteFailsOnFullAttributeTable) {
    std::string line = "<item type=\"editor\" path=\"full\"";
    for (int i = 0; i < 30; ++i) line += " a" + std::to_string(i) + "=\"x\"";
    LoadFrom(line + ">\r\n");
    EXPECT_FALSE(WriteItem(host.File, ItemKind::Editor, "full", Position(3)));
    EXPECT_EQ(-1000, StoredLine(host.File, "full"));  // no line was added
    EXPECT_TRUE(HasItem(host.File, "full"));
}

TEST_F(PositionFileTest, OperationsWithoutDocument) {
    StoredPlace position = Position(1);
    EXPECT_FALSE(ReadItem(host.File, ItemKind::Editor, "x", &position));
    EXPECT_FALSE(WriteItem(host.File, ItemKind::Editor, "x", position));
    EXPECT_FALSE(AddItem(host.File, ItemKind::Editor, "x", position));
    RemoveItem(host.File, ItemKind::Editor, "x");
    EXPECT_EQ(0, CountItems(host.File, ItemKind::Editor));
    EXPECT_FALSE(Save(host.File, cfg.c_str(), false));

    // A purge without a document neither reads nor writes the file.
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine(dir.File("gone.txt"), 1)));
    const int reads = env.Calls(FaultEnv::Op::Read);
    EXPECT_EQ(0, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ(reads, env.Calls(FaultEnv::Op::Read));
    EXPECT_FALSE(AddItem(host.File, ItemKind::Editor, "x", position));  // still no document
    EXPECT_EQ(ItemLine(dir.File("gone.txt"), 1), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, UnchangedFileIsNotReadAgain) {
    LoadFrom(ItemLine("a", 1));
    const int reads = env.Calls(FaultEnv::Op::Read);
    platform::FileTime time;
    std::uint64_t size;
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));

    // Same size and time: taken as unchanged, the new line is not seen.
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("a", 2)));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(1, StoredLine(host.File, "a"));
    EXPECT_EQ(reads, env.Calls(FaultEnv::Op::Read));
    if (testing_support::kIsWindows) {
        // The path compares ignoring case.
        std::string upper = cfg;
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(Load(host.File, upper.c_str()));
        EXPECT_EQ(1, StoredLine(host.File, "a"));
    }

    // A time that moved backward is a change.
    ASSERT_TRUE(store_testing::SetTime(cfg, store_testing::ShiftTime(time, -10)));
    EXPECT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(2, StoredLine(host.File, "a"));

    // So is another size at the same time.
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("a", 33)));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(33, StoredLine(host.File, "a"));

    // Another host's save within the same tick of the file clock, of the
    // same size: the file was replaced by a new one, and that is seen.
    ASSERT_TRUE(store_testing::GetTimeAndSize(cfg, &time, &size));
    std::string replaced = ItemLine("a", 44);
    ASSERT_EQ(size, replaced.size());
    ASSERT_EQ(platform::Status::Ok,
              store::ReplaceFileContent(platform::Env::Default(), cfg.c_str(), replaced.data(), static_cast<std::uint32_t>(replaced.size())));
    ASSERT_TRUE(store_testing::SetTime(cfg, time));
    EXPECT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(44, StoredLine(host.File, "a"));
}

TEST_F(PositionFileTest, MergeAddsNewItemsAndDropsVanishedOnesWithTheirRecords) {
    LoadFrom(ItemLine("B", 1) + ItemLine("C", 2));
    host.OpenEditor("B");
    host.OpenEditor("b");
    host.OpenEditor("C");

    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("C", 2) + ItemLine("A", 7)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ((Paths{"A", "C"}), ItemPaths(host.File));
    EXPECT_EQ(7, StoredLine(host.File, "A"));
    EXPECT_FALSE(host.HasRecordFor("B"));
    EXPECT_TRUE(host.HasRecordFor("C"));
}

TEST_F(PositionFileTest, ItemsTakenOverLandInFrontInReverseOrder) {
    LoadFrom(ItemLine("old1", 1) + ItemLine("old2", 2));
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("old1", 1) + ItemLine("old2", 2) + ItemLine("A", 3) +
                                          ItemLine("B", 4) + ItemLine("a", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    // A path the file holds twice is taken over once, with its first values.
    EXPECT_EQ((Paths{"B", "A", "old1", "old2"}), ItemPaths(host.File));
    EXPECT_EQ(3, StoredLine(host.File, "a"));
}

TEST_F(PositionFileTest, FileWinsUnlessTheFileIsOpenHere) {
    LoadFrom(ItemLine("F", 1) + ItemLine("G", 1) + ItemLine("F", 9));
    host.OpenEditor("g");

    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("f", 5, 6, 7, 8, 1) + ItemLine("G", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(5, StoredLine(host.File, "F"));  // taken over, spelled as the file has it
    EXPECT_EQ((Paths{"f", "G", "F"}), ItemPaths(host.File));
    EXPECT_EQ(1, StoredLine(host.File, "G"));  // open in an editor here: memory's value stays

    StoredPlace position = Position(0);
    ASSERT_TRUE(ReadItem(host.File, ItemKind::Editor, "F", &position));
    EXPECT_EQ(6, position.Editor.Column);
    EXPECT_EQ(7, position.Editor.Top);
    EXPECT_EQ(8, position.Editor.Left);
    EXPECT_EQ(1, position.Editor.Overtype);
}

TEST_F(PositionFileTest, MergeTakesTheFilesItemWholeNeverSomeAttributesFromEachSide) {
    LoadFrom(ItemLine("kept", 1, 2, 3, 4, 1));
    const std::string theirs = "<item type=\"editor\" path=\"kept\" line=\"10\">\r\n"
                               "<item type=\"editor\" path=\"new\" column=\"4\" note=\"n\">\r\n";
    ASSERT_TRUE(WriteAsOtherHost(cfg, theirs));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    // Memory's column, top, left and overtype of "kept" are gone with its
    // copy; "new" comes with the attribute this version does not know.
    EXPECT_EQ("<item type=\"editor\" path=\"new\" column=\"4\" note=\"n\">\r\n"
              "<item type=\"editor\" path=\"kept\" line=\"10\">\r\n",
              ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, MergeReadsTheFilesFirstAttributeOfEachNameIgnoringCase) {
    LoadFrom(ItemLine("k", 1, 2, 7, 4, 1));
    // Names in another case and order, a name given twice (the first one
    // counts), a number that is not one (reads as 0), an attribute of no
    // field, and two fields the file lacks (the reader's values stay:
    // memory's own went with its copy).
    ASSERT_TRUE(WriteAsOtherHost(cfg, "<item PATH=\"k\" Line=\"10\" extra=\"e\" line=\"99\" type=\"EDITOR\" "
                                      "column=\"x\" TOP=\"3\">\r\n"));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    StoredPlace position = Position(0, 0, 0, -5, -6);
    ASSERT_TRUE(ReadItem(host.File, ItemKind::Editor, "k", &position));
    EXPECT_EQ(10, position.Editor.Line);
    EXPECT_EQ(0, position.Editor.Column);
    EXPECT_EQ(3, position.Editor.Top);
    EXPECT_EQ(-5, position.Editor.Left);
    EXPECT_EQ(-6, position.Editor.Overtype);
    EXPECT_EQ((Paths{"k"}), ItemPaths(host.File));
}

TEST_F(PositionFileTest, DeletedFileDropsEditorItemsButNothingElse) {
    LoadFrom(ItemLine("a", 1) + ItemLine("b", 2) + ItemLine("x", 3, 0, 0, 0, 0, "bookmark") + "<note text=\"hi\">\r\n");
    host.OpenEditor("a");
    ASSERT_TRUE(testing_support::DeleteFilePath(cfg));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(0, CountItems(host.File, ItemKind::Editor));
    EXPECT_FALSE(host.HasRecordFor("a"));

    // Items in memory of other kinds are written back; the other file's
    // extras are not taken over.
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("y", 1, 0, 0, 0, 0, "bookmark") + ItemLine("c", 1)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), true));
    EXPECT_EQ(ItemLine("c", 1) + ItemLine("x", 3, 0, 0, 0, 0, "bookmark") + "<note text=\"hi\">\r\n",
              ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, SaveToAnotherPathMergesWithThatFile) {
    LoadFrom(ItemLine("a", 1) + ItemLine("b", 2));
    host.OpenEditor("b");
    std::string other = dir.File("other.cfg");
    ASSERT_TRUE(WriteWholeFile(other, ItemLine("b", 20) + ItemLine("c", 30)));
    ASSERT_TRUE(Save(host.File, other.c_str(), true));
    EXPECT_EQ(ItemLine("c", 30) + ItemLine("b", 2), ReadWholeFile(other));

    // A path whose folder does not exist cannot be written.
    std::string unwritable = dir.File("no-such-folder") + testing_support::PathSeparator() + "x.cfg";
    EXPECT_FALSE(Save(host.File, unwritable.c_str(), true));
    EXPECT_FALSE(testing_support::FileExists(unwritable));
    EXPECT_FALSE(Save(host.File, dir.path().c_str(), false));  // a folder
}

TEST_F(PositionFileTest, PurgeMissingWithAHostSparesOpenFilesAndOtherTypes) {
    std::string present = dir.File("present.txt");
    std::string gone = dir.File("gone.txt");
    std::string open = dir.File("open.txt");
    ASSERT_TRUE(WriteWholeFile(present, "x"));
    LoadFrom(ItemLine(present, 1) + ItemLine(gone, 2) + ItemLine(open, 3) + ItemLine(gone, 4, 0, 0, 0, 0, "bookmark") +
             ItemLine(dir.File("gone2.txt"), 5));
    host.OpenEditor(open);

    EXPECT_EQ(2, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ((Paths{present, open}), ItemPaths(host.File));
    EXPECT_EQ(ItemLine(present, 1) + ItemLine(open, 3) + ItemLine(gone, 4, 0, 0, 0, 0, "bookmark"), ReadWholeFile(cfg));

    // Nothing to purge: the file is written all the same.
    std::string text = ReadWholeFile(cfg);
    ASSERT_TRUE(WriteWholeFile(cfg, text + "stray text"));
    EXPECT_EQ(0, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ(text, ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, PurgeMissingWithoutAHostRemovesEveryType) {
    std::string gone = dir.File("gone.txt");
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine(gone, 1) + ItemLine(gone, 2, 0, 0, 0, 0, "bookmark") +
                                        ItemLine(dir.path(), 3)));
    store_testing::OpenedFile file;  // no host: nothing open, every type purged
    ASSERT_TRUE(Load(file, cfg.c_str()));
    EXPECT_EQ(2, PurgeMissing(file, cfg.c_str()));
    EXPECT_EQ((Paths{dir.path()}), ItemPaths(file));  // a folder counts as existing
    EXPECT_EQ(ItemLine(dir.path(), 3), ReadWholeFile(cfg));
}

TEST_F(PositionFileTest, ReopenedHandleIsBuiltAgainByTheNextLoad) {
    LoadFrom(ItemLine("a", 1));
    host.File.Reopen();
    EXPECT_EQ(-1000, StoredLine(host.File, "a"));
    // The file is unchanged since the last handle read it; the new one reads it all the same.
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    EXPECT_EQ(1, StoredLine(host.File, "a"));
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
