// Hostile position files through Load and Save: very deep, very long, very
// wide, huge values, huge files, zero bytes, names built to collide in the
// parser's index. Each of them fits the memory limit, at either size below,
// so each loads, within memory bounded by the file's size and the limit;
// each case states what the document holds and what becomes of the file: a
// file the reader keeps as it stands is saved back unchanged, any other is
// first copied to its ".bak" byte for byte. A file larger than the limit is
// refused and left untouched.
//
// ctest runs them at a hundredth of their size with a small memory limit.
// TARNWICK_HOSTILE_FULL=1 runs the full sizes with the default limit and
// prints the time and peak memory of each Load and Save (timings are
// printed, never asserted).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "common/counting_env.h"
#include "common/test_support.h"
#include "store/position_file.h"
#include "store_test_support.h"

namespace tarnwick {
namespace store {
namespace {

using store_testing::OpenedFile;
using testing_support::CountingEnv;

bool FullSize() {
    const char* full = std::getenv("TARNWICK_HOSTILE_FULL");
    return full != nullptr && full[0] == '1';
}

// Full counts in a full run, a hundredth of them otherwise.
std::size_t Scaled(std::size_t full) { return FullSize() ? full : full / 100; }

std::string Nested(std::size_t levels) {
    std::string text;
    text.reserve(levels * 7);
    for (std::size_t i = 0; i < levels; ++i) text += "<a>";
    for (std::size_t i = 0; i < levels; ++i) text += "</a>";
    return text;
}

std::string Items(std::size_t count) {
    std::string text;
    text.reserve(count * 120);
    for (std::size_t i = 0; i < count; ++i) {
        text += store_testing::ItemLine("C:\\Users\\someone\\Documents\\Projects\\p" + std::to_string(i) + "\\notes.txt",
                                        static_cast<int>(i % 5000), 4, 3);
    }
    return text;
}

std::string ManyAttributes(std::size_t count) {
    std::string text = "<item type=\"editor\" path=\"C:\\wide.txt\"";
    for (std::size_t i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"1\"";
    return text + ">\r\n";
}

std::string HugeValue(std::size_t bytes) {
    return "<item type=\"editor\" path=\"C:\\big.txt\" note=\"" + std::string(bytes, 'v') + "\">\r\n" +
           store_testing::ItemLine("C:\\after.txt", 2);
}

// Mostly text outside tags, with an item every 4 KB.
std::string HugeFile(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 4096);
    std::size_t n = 0;
    while (text.size() < bytes) {
        text += store_testing::ItemLine("C:\\f" + std::to_string(n++) + ".txt", 1);
        text += std::string(4000, 'x');
        text += "\r\n";
    }
    return text;
}

// Items with zero bytes in names, values and between tags.
std::string ZeroBytes(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line = store_testing::ItemLine("C:\\z" + std::to_string(i) + ".txt", 5);
        line[1 + (i % 5)] = '\0';        // in the element name (or its first byte)
        if (i % 3 == 0) line[7] = '\0';  // in an attribute name
        if (i % 4 == 0) line.insert(line.size() - 4, 1, '\0');  // in a value
        text += line;
        text += std::string(1, '\0');
    }
    return text;
}

// Element names that differ only in bytes above 0x7F, all open, then as
// many closing tags of such names that match none of them.
std::string Colliding(std::size_t pairs) {
    std::string opening;
    std::string closing;
    for (std::size_t i = 0; i < pairs; ++i) {
        std::string name = "n";
        for (std::size_t k = i, d = 0; d < 14; ++d, k /= 64) name += static_cast<char>(0x80 + k % 64);
        opening += "<" + name + ">\r\n";
        name[14] = static_cast<char>(0xFF);
        closing += "</" + name + ">\r\n";
    }
    return opening + closing;
}

// How many times `what` occurs in `text`.
int Occurrences(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
    return count;
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

class PositionFileHostileTest : public ::testing::Test {
protected:
    // Writes `text` to a file, which must load; hands the document to
    // `check`, saves it and checks that what was written reads back into
    // the same text. Returns the file's path.
    std::string LoadCheckAndSave(const char* label, const std::string& text,
                                 const std::function<void(PositionFile*)>& check) {
        const std::string path = temp_.File(std::string(label) + ".cfg");
        EXPECT_TRUE(testing_support::WriteWholeFile(path, text));
        const std::uint64_t limit = FullSize() ? kDefaultMemoryLimit : kSmallLimit;

        CountingEnv env(platform::Env::Default());
        const std::uint64_t memoryLimit = FullSize() ? 0 : kSmallLimit;
        OpenedFile file(&env, nullptr, memoryLimit);
        EXPECT_NE(nullptr, static_cast<PositionFile*>(file));
        if (file == nullptr) return path;
        const std::uint64_t handleBytes = env.Live();
        auto start = std::chrono::steady_clock::now();
        const bool loaded = Load(file, path.c_str());
        const double loadMs = Milliseconds(start);
        const std::uint64_t loadPeak = env.Peak();
        const std::uint64_t documentBytes = env.Live() - handleBytes;
        EXPECT_TRUE(loaded) << label << " was refused";
        // Memory stays within the text, the document the limit allows and
        // the parser's index (a few words per element, at most one element
        // per two bytes).
        EXPECT_LE(loadPeak, text.size() + limit + 16 * text.size() + (1u << 20)) << label;
        EXPECT_LE(documentBytes, limit) << label;
        check(file);

        env.ResetCounts();
        start = std::chrono::steady_clock::now();
        EXPECT_TRUE(Save(file, path.c_str(), true)) << label;
        const double saveMs = Milliseconds(start);
        const std::uint64_t savePeak = env.Peak();
        // What was written reads back into the same text.
        {
            OpenedFile again(platform::Env::Default(), nullptr, memoryLimit);
            const std::string written = testing_support::ReadWholeFile(path);
            EXPECT_TRUE(Load(again, path.c_str())) << label;
            const std::string other = temp_.File(std::string(label) + "-again.cfg");
            EXPECT_TRUE(Save(again, other.c_str(), false)) << label;
            EXPECT_TRUE(testing_support::ReadWholeFile(other) == written) << label;
        }

        file.Close();
        EXPECT_EQ(env.Live(), 0u) << label;
        std::printf("hostile %-10s %8.1f MB  load %-7s %8.1f ms peak %7.1f MB  save %8.1f ms peak %7.1f MB\n", label,
                    text.size() / 1e6, loaded ? "ok" : "refused", loadMs, loadPeak / 1e6, saveMs, savePeak / 1e6);
        return path;
    }

    // The file was saved back exactly as it was, with no backup made.
    static void ExpectSavedUnchanged(const std::string& path, const std::string& text) {
        EXPECT_TRUE(testing_support::ReadWholeFile(path) == text) << path;
        EXPECT_FALSE(testing_support::FileExists(path + ".bak")) << path;
    }

    // The file held what the reader does not keep: its bytes were copied to
    // the backup, byte for byte, before the save replaced it.
    static void ExpectKeptAsBackup(const std::string& path, const std::string& text) {
        ASSERT_TRUE(testing_support::FileExists(path + ".bak")) << path;
        EXPECT_TRUE(testing_support::ReadWholeFile(path + ".bak") == text) << path;
    }

    static constexpr std::uint64_t kSmallLimit = 4u << 20;
    testing_support::TempDir temp_;
};

TEST_F(PositionFileHostileTest, ADeeplyNestedFileLoadsWholeAndReadsBackAsTheSameTree) {
    const std::string text = Nested(Scaled(1000000));
    const std::string path = LoadCheckAndSave("nested", text, [](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), 0);
    });
    // The writer indents the levels; nothing of the tree is lost, so no
    // backup is made.
    EXPECT_EQ(testing_support::ReadWholeFile(path).compare(0, 6, "<a>\r\n "), 0) << "the outermost element is kept";
    EXPECT_FALSE(testing_support::FileExists(path + ".bak"));
}

TEST_F(PositionFileHostileTest, AFileOfManyItemsLoadsWholeAndIsSavedUnchanged) {
    const std::size_t count = Scaled(1000000);
    const std::string text = Items(count);
    const std::string path = LoadCheckAndSave("items", text, [count](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), static_cast<int>(count));
        EXPECT_EQ(store_testing::StoredLine(file, "C:\\Users\\someone\\Documents\\Projects\\p0\\notes.txt"), 0);
        const std::string last = "C:\\Users\\someone\\Documents\\Projects\\p" + std::to_string(count - 1) + "\\notes.txt";
        EXPECT_EQ(store_testing::StoredLine(file, last), static_cast<int>((count - 1) % 5000));
    });
    ExpectSavedUnchanged(path, text);
}

TEST_F(PositionFileHostileTest, AnItemWithThousandsOfAttributesLoadsAndItsFileIsKeptAsABackup) {
    const std::string text = ManyAttributes(Scaled(1000000));
    const std::string path = LoadCheckAndSave("attributes", text, [](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), 1);
        EXPECT_TRUE(ReadItem(file, ItemKind::Editor, "C:\\wide.txt", nullptr));
    });
    // An element keeps 32 attributes (type, path, a0 to a29): the rest are
    // lost to the document.
    const std::string saved = testing_support::ReadWholeFile(path);
    EXPECT_NE(saved.find(" a29=\"1\""), std::string::npos);
    EXPECT_EQ(saved.find(" a30="), std::string::npos);
    ExpectKeptAsBackup(path, text);
}

TEST_F(PositionFileHostileTest, AHugeValueLoadsWholeAndIsSavedUnchanged) {
    const std::string text = HugeValue(Scaled(50u << 20));
    const std::string path = LoadCheckAndSave("value", text, [](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), 2);
        EXPECT_EQ(store_testing::StoredLine(file, "C:\\after.txt"), 2);
    });
    ExpectSavedUnchanged(path, text);
}

TEST_F(PositionFileHostileTest, AHugeFileOfTextBetweenItemsLoadsEveryItemAndIsKeptAsABackup) {
    const std::string text = HugeFile(Scaled(100u << 20));
    const int items = Occurrences(text, "<item ");
    const std::string path = LoadCheckAndSave("file", text, [items](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), items);
        EXPECT_EQ(store_testing::StoredLine(file, "C:\\f0.txt"), 1);
        EXPECT_EQ(store_testing::StoredLine(file, "C:\\f" + std::to_string(items - 1) + ".txt"), 1);
    });
    // Text outside tags is not kept.
    ExpectKeptAsBackup(path, text);
}

TEST_F(PositionFileHostileTest, ZeroBytesCutEveryItemAndTheFileIsKeptAsABackup) {
    const std::string text = ZeroBytes(Scaled(1000000));
    const std::string path = LoadCheckAndSave("zeros", text, [](PositionFile* file) {
        // Each line loses its element name or its type to a zero byte.
        EXPECT_EQ(CountItems(file, ItemKind::Editor), 0);
    });
    EXPECT_FALSE(testing_support::ReadWholeFile(path).empty()) << "the elements are kept";
    ExpectKeptAsBackup(path, text);
}

TEST_F(PositionFileHostileTest, NamesCollidingInTheIndexLoadAndTheFileIsKeptAsABackup) {
    const std::string text = Colliding(Scaled(350000));
    const std::string path = LoadCheckAndSave("colliding", text, [](PositionFile* file) {
        EXPECT_EQ(CountItems(file, ItemKind::Editor), 0);
    });
    EXPECT_FALSE(testing_support::ReadWholeFile(path).empty()) << "the elements are kept";
    // The closing tags match nothing, and such tags are not kept.
    ExpectKeptAsBackup(path, text);
}

// A file larger than the memory limit is not even read: the peak stays far
// below its size, and the document loaded before stays.
TEST_F(PositionFileHostileTest, FileLargerThanTheLimitIsNotRead) {
    const std::string path = temp_.File("large.cfg");
    const std::string text = Items(20000);
    ASSERT_TRUE(testing_support::WriteWholeFile(path, text));
    const std::string keepPath = temp_.File("keep.cfg");
    ASSERT_TRUE(testing_support::WriteWholeFile(keepPath, store_testing::ItemLine("C:\\keep.txt", 7)));
    CountingEnv env(platform::Env::Default());
    OpenedFile file(&env, nullptr, text.size() - 1);
    ASSERT_TRUE(Load(file, keepPath.c_str()));
    env.ResetCounts();
    EXPECT_FALSE(Load(file, path.c_str()));
    EXPECT_LT(env.Peak(), env.Live() + 4096);
    EXPECT_EQ(store_testing::StoredLine(file, "C:\\keep.txt"), 7);
    EXPECT_FALSE(Save(file, path.c_str(), true));
    EXPECT_TRUE(testing_support::ReadWholeFile(path) == text);
    // Under the default limit it is read.
    OpenedFile roomy(&env, nullptr, 0);
    EXPECT_TRUE(Load(roomy, path.c_str()));
    EXPECT_EQ(CountItems(roomy, ItemKind::Editor), 20000);
}

}  // namespace
}  // namespace store
}  // namespace tarnwick
