// Registry access below HKEY_CURRENT_USER: the real registry on Windows (a
// private key per test), the folder substitute elsewhere (a private root
// folder per test).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/test_support.h"
#include "platform/platform.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace tarnwick {
namespace platform {
namespace {

using testing_support::TempDir;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(_WIN32)
        const char* previous = std::getenv("TARNWICK_REGISTRY_ROOT");
        had_previous_ = previous != nullptr;
        if (had_previous_) previous_ = previous;
        root_ = dir_.File("registry");
        setenv("TARNWICK_REGISTRY_ROOT", root_.c_str(), 1);
#endif
        base_ = "Software\\TarnwickTests\\" + testing_support::UniqueName("registry");
    }

    void TearDown() override {
        RegistryDeleteTree(base_.c_str());
#if !defined(_WIN32)
        if (had_previous_) {
            setenv("TARNWICK_REGISTRY_ROOT", previous_.c_str(), 1);
        } else {
            unsetenv("TARNWICK_REGISTRY_ROOT");
        }
#endif
    }

    std::string Key(const std::string& sub) const { return sub.empty() ? base_ : base_ + "\\" + sub; }

    void Set(const std::string& key, const char* name, const char* text) {
        RegistryKey* handle = RegistryCreateForWrite(Key(key).c_str());
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(RegistrySetString(handle, name, text));
        RegistryClose(handle);
    }

    // The value's bytes, or "<none>" when it cannot be read into `capacity` bytes.
    std::string Get(const std::string& key, const char* name, std::uint32_t capacity = 64) {
        RegistryKey* handle = RegistryOpenForRead(Key(key).c_str());
        if (handle == nullptr) return "<no key>";
        std::string buffer(capacity, 'x');
        std::uint32_t size = capacity;
        bool ok = RegistryQueryValue(handle, name, &buffer[0], &size);
        RegistryClose(handle);
        if (!ok) return "<none>";
        EXPECT_LE(size, capacity);
        return buffer.substr(0, size);
    }

    TempDir dir_;
    std::string root_;
    std::string base_;
    std::string previous_;
    bool had_previous_ = false;
};

TEST_F(RegistryTest, StringsRoundTripWithTheirTerminator) {
    Set("Settings", "Mask", "*.txt,*.ini");
    EXPECT_EQ(Get("Settings", "Mask"), std::string("*.txt,*.ini\0", 12));

    // A shorter value replaces the longer one completely.
    Set("Settings", "Mask", "a");
    EXPECT_EQ(Get("Settings", "Mask"), std::string("a\0", 2));

    // The empty string and the key's default (unnamed) value.
    Set("Settings", "Empty", "");
    EXPECT_EQ(Get("Settings", "Empty"), std::string("\0", 1));
    Set("Settings", "", "default");
    EXPECT_EQ(Get("Settings", ""), std::string("default\0", 8));
    EXPECT_EQ(Get("Settings", "Mask"), std::string("a\0", 2));
}

TEST_F(RegistryTest, MissingKeysAndValuesAndSmallBuffersFail) {
    EXPECT_EQ(RegistryOpenForRead(Key("Nowhere").c_str()), nullptr);
    EXPECT_EQ(RegistryOpenForRead(Key("Nowhere\\Deeper").c_str()), nullptr);

    Set("Settings", "Automatic", "1");
    EXPECT_EQ(Get("Settings", "Missing"), "<none>");

    Set("Settings", "CfgFile", "abcdef");  // 7 bytes with the terminator
    EXPECT_EQ(Get("Settings", "CfgFile", 7), std::string("abcdef\0", 7));
    EXPECT_EQ(Get("Settings", "CfgFile", 6), "<none>");
    EXPECT_EQ(Get("Settings", "CfgFile", 1), "<none>");
}

TEST_F(RegistryTest, RawValueWithoutTerminatorComesBackWithoutOne) {
    RegistryKey* handle = RegistryCreateForWrite(Key("Raw").c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(RegistrySetRaw(handle, "Mask", "abc", 3));
    EXPECT_TRUE(RegistrySetRaw(handle, "Nothing", "", 0));
    RegistryClose(handle);

    // The bytes come back as stored, or with a terminator that the system
    // added and counted; nothing else is written into the buffer.
    RegistryKey* reader = RegistryOpenForRead(Key("Raw").c_str());
    ASSERT_NE(reader, nullptr);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    std::uint32_t size = sizeof buffer;
    ASSERT_TRUE(RegistryQueryValue(reader, "Mask", buffer, &size));
    if (size == 3) {
        EXPECT_EQ(std::string(buffer, 5), "abcxx");
    } else {
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
    }
    size = sizeof buffer;
    ASSERT_TRUE(RegistryQueryValue(reader, "Nothing", buffer, &size));
    EXPECT_LE(size, 1u);
    if (size == 1) {
        EXPECT_EQ(buffer[0], '\0');
    }
    RegistryClose(reader);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCase) {
    Set("Plugins\\Tarnwick", "ShowInPanels", "1");
    EXPECT_EQ(Get("PLUGINS\\tarnwick", "SHOWINPANELS"), std::string("1\0", 2));

    // Writing under another spelling replaces the value rather than adding one.
    Set("plugins\\TARNWICK", "showinpanels", "0");
    EXPECT_EQ(Get("Plugins\\Tarnwick", "ShowInPanels"), std::string("0\0", 2));
}

TEST_F(RegistryTest, KeysOpenedForOneAccessRefuseTheOther) {
    RegistryKey* writer = RegistryCreateForWrite(Key("Access").c_str());
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(RegistrySetString(writer, "Automatic", "1"));
    char buffer[16];
    std::uint32_t size = sizeof buffer;
    EXPECT_FALSE(RegistryQueryValue(writer, "Automatic", buffer, &size));
    RegistryClose(writer);

    RegistryKey* reader = RegistryOpenForRead(Key("Access").c_str());
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(RegistrySetString(reader, "Automatic", "0"));
    RegistryClose(reader);
    EXPECT_EQ(Get("Access", "Automatic"), std::string("1\0", 2));
}

TEST_F(RegistryTest, UnusualNamesStayDistinctAndInsideTheirKey) {
    const char* names[] = {".", "..", "a/b", "a\\b", "a.v", "%2e", "x\x01y", "\xC0\xE9", " "};
    for (const char* name : names) Set("Odd", name, name);
    for (const char* name : names) {
        EXPECT_EQ(Get("Odd", name), std::string(name) + '\0') << "value name " << name;
    }

    // Key paths with dot components are names, never steps to a parent.
    Set("..\\..\\..\\Escape", "Value", "inside");
    EXPECT_EQ(Get("..\\..\\..\\Escape", "Value"), std::string("inside\0", 7));
    EXPECT_EQ(Get("..\\..", "Value"), std::string("<none>"));
#if !defined(_WIN32)
    struct stat info;
    EXPECT_NE(stat(dir_.File("Escape").c_str(), &info), 0);
    EXPECT_NE(stat(dir_.File("escape").c_str(), &info), 0);
#endif
}

TEST_F(RegistryTest, DeleteTreeRemovesKeysValuesAndSubKeys) {
    Set("", "Top", "1");
    Set("A", "Value", "2");
    Set("A\\B\\C", "Value", "3");
    Set("D", "Value", "4");

    EXPECT_TRUE(RegistryDeleteTree(Key("A").c_str()));
    EXPECT_EQ(Get("A", "Value"), "<no key>");
    EXPECT_EQ(Get("A\\B\\C", "Value"), "<no key>");
    EXPECT_EQ(Get("D", "Value"), std::string("4\0", 2));

    EXPECT_FALSE(RegistryDeleteTree(Key("A").c_str()));
    EXPECT_TRUE(RegistryDeleteTree(base_.c_str()));
    EXPECT_EQ(RegistryOpenForRead(base_.c_str()), nullptr);
}

}  // namespace
}  // namespace platform
}  // namespace tarnwick
