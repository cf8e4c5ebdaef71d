// Files at the position file's path that the plug-in did not write: copied
// once before a save replaces them, told apart from position files.
#include "store/foreign_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/fault_env.h"
#include "common/system_tools.h"
#include "common/test_support.h"
#include "store/position_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::Host;
using store_testing::ItemLine;
using store_testing::Position;
using testing_support::FaultEnv;
using testing_support::ListFolder;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

class ForeignFileTest : public ::testing::Test {
protected:
    // Loads `content` from the position file, adds a position and saves.
    bool StoreOver(const std::string& content) {
        EXPECT_TRUE(WriteWholeFile(cfg, content));
        EXPECT_TRUE(Load(host.File, cfg.c_str()));
        EXPECT_TRUE(AddItem(host.File, ItemKind::Editor, "C:\\a.txt", Position(5)));
        return Save(host.File, cfg.c_str(), false);
    }

    TempDir dir;
    std::string cfg = dir.File("Tarnwick.cfg");
    std::string bak = cfg + ".bak";
    FaultEnv env{platform::Env::Default()};  // outlives the host that may use it
    Host host;
};

TEST_F(ForeignFileTest, InspectTellsTheKinds) {
    platform::Env* env = platform::Env::Default();
    const CaseComparison& ascii = AsciiComparison();
    EXPECT_EQ(InspectFileAt(env, ascii, cfg.c_str()), FileKind::Absent);
    ASSERT_TRUE(WriteWholeFile(cfg, ""));
    EXPECT_EQ(InspectFileAt(env, ascii, cfg.c_str()), FileKind::PositionFile);
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("C:\\a.txt", 1) + ItemLine("C:\\b.txt", 2)));
    EXPECT_EQ(InspectFileAt(env, ascii, cfg.c_str()), FileKind::PositionFile);
    ASSERT_TRUE(WriteWholeFile(cfg, "Dear diary,\r\ntoday I <b>edited</b> a file.\r\n"));
    EXPECT_EQ(InspectFileAt(env, ascii, cfg.c_str()), FileKind::Foreign);
    // A damaged position file: its last item cut off inside a value.
    ASSERT_TRUE(WriteWholeFile(cfg, ItemLine("C:\\a.txt", 1) + "<item type=\"editor\" path=\"C:\\b"));
    EXPECT_EQ(InspectFileAt(env, ascii, cfg.c_str()), FileKind::Foreign);
    EXPECT_EQ(InspectFileAt(env, ascii, dir.path().c_str()), FileKind::Unreadable) << "a folder";
}

TEST_F(ForeignFileTest, OwnFilesAreReplacedWithoutACopy) {
    ASSERT_TRUE(StoreOver(ItemLine("C:\\b.txt", 1)));
    ASSERT_TRUE(StoreOver(""));
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"Tarnwick.cfg"});
}

TEST_F(ForeignFileTest, AForeignFileIsCopiedOnceBeforeItIsReplaced) {
    std::string diary = "Dear diary,\r\nnothing of Tarnwick here.\r\n";
    ASSERT_TRUE(StoreOver(diary));
    EXPECT_EQ(ReadWholeFile(bak), diary);
    EXPECT_EQ(ReadWholeFile(cfg), ItemLine("C:\\a.txt", 5));

    // The file is the plug-in's own now: later saves make no copy.
    ASSERT_TRUE(AddItem(host.File, ItemKind::Editor, "C:\\b.txt", Position(6)));
    ASSERT_TRUE(Save(host.File, cfg.c_str(), false));
    EXPECT_EQ(ReadWholeFile(bak), diary);

    // Another foreign text later: the first copy is the one kept.
    Host other;
    ASSERT_TRUE(WriteWholeFile(cfg, std::string("garbage\0\xFF", 9)));
    ASSERT_TRUE(Load(other.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(other.File, ItemKind::Editor, "C:\\c.txt", Position(7)));
    ASSERT_TRUE(Save(other.File, cfg.c_str(), false));
    EXPECT_EQ(ReadWholeFile(bak), diary);
    EXPECT_EQ(ReadWholeFile(cfg), ItemLine("C:\\c.txt", 7));
}

TEST_F(ForeignFileTest, ForeignTextWrittenByAnotherProgramAfterTheLoadIsCopiedToo) {
    ASSERT_TRUE(StoreOver(ItemLine("C:\\b.txt", 1)));
    // The path is read afresh when the document reflects another path.
    Host other;
    std::string elsewhere = dir.File("elsewhere.cfg");
    ASSERT_TRUE(WriteWholeFile(elsewhere, "not positions"));
    ASSERT_TRUE(Save(host.File, elsewhere.c_str(), false));
    EXPECT_EQ(ReadWholeFile(elsewhere + ".bak"), "not positions");
}

TEST_F(ForeignFileTest, NoCopyNoReplace) {
    Host faulty(&env);
    std::string diary = "Dear diary";
    ASSERT_TRUE(WriteWholeFile(cfg, diary));
    ASSERT_TRUE(Load(faulty.File, cfg.c_str()));
    ASSERT_TRUE(AddItem(faulty.File, ItemKind::Editor, "C:\\a.txt", Position(5)));

    // The copy's own file cannot be made: the foreign file stays.
    env.FailAt(FaultEnv::Op::Create, 1, FaultEnv::Fault::Fail);
    EXPECT_FALSE(Save(faulty.File, cfg.c_str(), false));
    EXPECT_EQ(ReadWholeFile(cfg), diary);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"Tarnwick.cfg"});

    // A backup path too long for the path buffers: no copy, no save.
    std::string longName = dir.File(std::string(259 - dir.File("").size() - 2, 'n'));
    ASSERT_TRUE(WriteWholeFile(longName, diary));
    EXPECT_EQ(InspectFile(faulty.File, longName.c_str()), FileKind::Foreign);
    EXPECT_FALSE(KeepBackupCopy(&env, longName.c_str()));

    EXPECT_TRUE(Save(faulty.File, cfg.c_str(), false));
    EXPECT_EQ(ReadWholeFile(bak), diary);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
