// The document's index keeps "the first match in document order" exactly:
// every lookup agrees with a walk of the document from the front, through
// adds in front, removals, rewrites of a path in another case, merges and
// purges, duplicates and items of other types included.
#include "store/document_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "markup/markup_node.h"
#include "store/item_fields.h"
#include "store/item_rules.h"
#include "store/position_file_state.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using markup::GetAttribute;
using markup::MarkupNode;
using store_testing::Host;
using store_testing::ItemLine;
using store_testing::Position;
using store_testing::StoredLine;
using store_testing::WriteAsOtherHost;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

// The item's type when it is a qualifying item, else null.
const char* TypeOf(const MarkupNode* element) {
    ItemFields fields;
    FindFields(element, fields);
    return QualifyingType(element, fields);
}

// What a walk from the front finds: the reference the index must agree with.
MarkupNode* WalkFind(const PositionFile& file, const char* type, const char* path) {
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        const char* itemType = TypeOf(element);
        if (itemType != nullptr && AsciiComparison().Equal(itemType, type) &&
            AsciiComparison().Equal(GetAttribute(element, "path"), path)) {
            return element;
        }
    }
    return nullptr;
}

int WalkCount(const PositionFile& file, const char* type) {
    int count = 0;
    for (MarkupNode* element = FirstElement(file.Document); element != nullptr; element = element->GetNext()) {
        const char* itemType = TypeOf(element);
        if (itemType != nullptr && AsciiComparison().Equal(itemType, type)) ++count;
    }
    return count;
}

// Puts an item of type "other", which no kind names, in front of all
// others, as AddItem puts an editor item.
void AddOtherItem(PositionFile& file, const char* path) {
    MarkupNode* element = NewDetachedItem(file.Document, ItemKind::Editor, path, Position(1));
    ASSERT_NE(nullptr, element);
    ASSERT_TRUE(markup::SetAttribute(element, "type", "other"));
    LinkItemInFront(file, element);
}

class DocumentIndexTest : public ::testing::Test {
protected:
    PositionFile& file() { return *host.File.get(); }

    void LoadFrom(const std::string& content) {
        ASSERT_TRUE(WriteWholeFile(cfg, content));
        ASSERT_TRUE(Load(host.File, cfg.c_str()));
        ASSERT_TRUE(IndexesDocument(file().Index, file().Document));
    }

    // Every path of `paths`, in every spelling given, finds what a walk finds;
    // the items of another type are never found as editor items.
    void ExpectAgreesWithWalk(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            EXPECT_EQ(WalkFind(file(), "editor", path.c_str()), FindItem(file(), ItemKind::Editor, path.c_str()))
                << path;
        }
        EXPECT_EQ(WalkCount(file(), "editor"), CountItems(host.File, ItemKind::Editor));
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    Host host;
};

TEST_F(DocumentIndexTest, DuplicatesAndOtherTypesGiveTheFirstMatchThroughAddsAndRemovals) {
    LoadFrom(ItemLine("C:\\A.txt", 1, 0, 0, 0, 0, "other") + ItemLine("C:\\A.txt", 1) + ItemLine("C:\\B.txt", 5) +
             ItemLine("c:\\a.TXT", 2) + ItemLine("C:\\A.txt", 3));
    EXPECT_EQ(1, StoredLine(host.File, "C:\\A.txt"));
    EXPECT_EQ(4, CountItems(host.File, ItemKind::Editor));

    // A new item goes in front and is the first match from then on.
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "c:\\A.txt", Position(9)));
    EXPECT_EQ(9, StoredLine(host.File, "C:\\a.txt"));
    EXPECT_EQ(5, CountItems(host.File, ItemKind::Editor));

    // Each removal takes the first one; the next in document order shows.
    const int expected[] = {1, 2, 3, -1000};
    for (int line : expected) {
        RemoveItem(host.File, ItemKind::Editor, "C:\\A.TXT");
        EXPECT_EQ(line, StoredLine(host.File, "C:\\A.txt"));
        ExpectAgreesWithWalk({"C:\\A.txt", "C:\\B.txt"});
    }
    // The item of the other type was never in the way, and is still there.
    EXPECT_NE(nullptr, WalkFind(file(), "OTHER", "c:\\a.txt"));
    EXPECT_EQ(5, StoredLine(host.File, "C:\\B.txt"));
    EXPECT_EQ(1, CountItems(host.File, ItemKind::Editor));
}

TEST_F(DocumentIndexTest, PathRewrittenInAnotherCaseOrChangedByAMergeStaysInStep) {
    LoadFrom(ItemLine("C:\\Old.txt", 1) + ItemLine("C:\\Keep.txt", 2) + ItemLine("C:\\old.txt", 3));
    // Another case: the item's path is rewritten as the caller spells it.
    ASSERT_TRUE(WriteItem(host.File, ItemKind::Editor, "c:\\OLD.TXT", Position(7)));
    EXPECT_STREQ("c:\\OLD.TXT", GetAttribute(FindItem(file(), ItemKind::Editor, "C:\\Old.txt"), "path"));
    EXPECT_EQ(7, StoredLine(host.File, "C:\\old.txt"));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));  // on disk: no longer pending

    // Another path: another host renamed the item (the old path went, the
    // new one came); the merge leaves the index right.
    ASSERT_TRUE(WriteAsOtherHost(cfg, ItemLine("C:\\New.txt", 4) + ItemLine("C:\\Keep.txt", 2) +
                                          ItemLine("C:\\new.txt", 5)));
    ASSERT_TRUE(Load(host.File, cfg.c_str()));
    ASSERT_TRUE(IndexesDocument(file().Index, file().Document));
    EXPECT_EQ(nullptr, FindItem(file(), ItemKind::Editor, "C:\\Old.txt"));
    // Taken over in front, in reverse order: the last of the file's
    // spellings is the first match, once per path.
    EXPECT_EQ(4, StoredLine(host.File, "C:\\NEW.txt"));
    ExpectAgreesWithWalk({"C:\\Old.txt", "C:\\New.txt", "c:\\keep.TXT"});
    EXPECT_EQ(2, CountItems(host.File, ItemKind::Editor));
}

TEST_F(DocumentIndexTest, PurgeRemovesFromTheIndexToo) {
    std::string kept = dir.File("kept.txt");
    ASSERT_TRUE(WriteWholeFile(kept, "x"));
    LoadFrom(ItemLine(dir.File("gone.txt"), 1) + ItemLine(kept, 2) + ItemLine(dir.File("gone.txt"), 3));
    EXPECT_EQ(2, PurgeMissing(host.File, cfg.c_str()));
    EXPECT_EQ(nullptr, FindItem(file(), ItemKind::Editor, dir.File("gone.txt").c_str()));
    EXPECT_EQ(2, StoredLine(host.File, kept));
    EXPECT_EQ(1, CountItems(host.File, ItemKind::Editor));
}

// Random adds, removals, rewrites and merges over a few paths in several
// spellings; after each step every lookup and count agrees with a walk.
// Enough adds to make the index grow several times.
TEST_F(DocumentIndexTest, RandomEditsAgreeWithAWalkAtEveryStep) {
    const std::vector<std::string> paths = {"C:\\p0.txt", "c:\\P0.TXT", "C:\\p1.txt", "C:\\P1.txt",
                                            "C:\\p2.txt", "C:\\p3.txt", "c:\\p3.Txt"};
    std::mt19937 random(9);
    LoadFrom(ItemLine(paths[0], 0) + ItemLine(paths[1], 1) + ItemLine(paths[2], 2));
    for (int step = 0; step < 600; ++step) {
        const std::string& path = paths[random() % paths.size()];
        switch (random() % 6) {
        case 0:
        case 1:
            if (random() % 4 == 0) {
                AddOtherItem(file(), path.c_str());
            } else {
                ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, path.c_str(), Position(step)));
            }
            break;
        case 2:
            RemoveItem(host.File, ItemKind::Editor, path.c_str());
            break;
        case 3:
            WriteItem(host.File, ItemKind::Editor, path.c_str(), Position(step));
            break;
        case 4: {
            // Another host leaves a few of the paths, some twice.
            std::string content;
            for (int i = 0; i < 4; ++i) content += ItemLine(paths[random() % paths.size()], step + i);
            ASSERT_TRUE(WriteAsOtherHost(cfg, content));
            ASSERT_TRUE(Load(host.File, cfg.c_str()));
            break;
        }
        default:
            ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
            break;
        }
        ExpectAgreesWithWalk(paths);
        if (HasFailure()) FAIL() << "at step " << step;
    }
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
