// Registry access below HKEY_CURRENT_USER: the real registry on Windows (a
// private key per test), the folder substitute elsewhere (a private root
// folder per test).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/test_support.h"
#include "common/registry_tools.h"
#include "common/system_tools.h"
#include "platform/env.h"

namespace tarnwick {
namespace platform {
namespace {

using testing_support::TempDir;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_.reset(new testing_support::RegistryRootOverride(dir_.File("registry")));
        base_ = "Software\\TarnwickTests\\" + testing_support::UniqueName("registry");
    }

    void TearDown() override {
        testing_support::RegistryDeleteTree(base_.c_str());
        root_.reset();
    }

    std::string Key(const std::string& sub) const { return sub.empty() ? base_ : base_ + "\\" + sub; }

    void Set(const std::string& key, const char* name, const char* text) {
        RegistryKey* handle = platform::Env::Default()->RegistryCreateForWrite(Key(key).c_str());
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(platform::Env::Default()->RegistrySetString(handle, name, text));
        platform::Env::Default()->RegistryClose(handle);
    }

    // The value's bytes, or "<none>" when it cannot be read into `capacity` bytes.
    std::string Get(const std::string& key, const char* name, std::uint32_t capacity = 64) {
        RegistryKey* handle = platform::Env::Default()->RegistryOpenForRead(Key(key).c_str());
        if (handle == nullptr) return "<no key>";
        std::string buffer(capacity, 'x');
        std::uint32_t size = capacity;
        bool ok = platform::Env::Default()->RegistryQueryValue(handle, name, &buffer[0], &size);
        platform::Env::Default()->RegistryClose(handle);
        if (!ok) return "<none>";
        EXPECT_LE(size, capacity);
        return buffer.substr(0, size);
    }

    TempDir dir_;
    std::unique_ptr<testing_support::RegistryRootOverride> root_;
    std::string base_;
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
    EXPECT_EQ(platform::Env::Default()->RegistryOpenForRead(Key("Nowhere").c_str()), nullptr);
    EXPECT_EQ(platform::Env::Default()->RegistryOpenForRead(Key("Nowhere\\Deeper").c_str()), nullptr);

    Set("Settings", "Automatic", "1");
    EXPECT_EQ(Get("Settings", "Missing"), "<none>");

    Set("Settings", "CfgFile", "abcdef");  // 7 bytes with the terminator
    EXPECT_EQ(Get("Settings", "CfgFile", 7), std::string("abcdef\0", 7));
    EXPECT_EQ(Get("Settings", "CfgFile", 6), "<none>");
    EXPECT_EQ(Get("Settings", "CfgFile", 1), "<none>");
}

TEST_F(RegistryTest, RawValueWithoutTerminatorComesBackWithoutOne) {
    EXPECT_TRUE(testing_support::RegistrySetRaw(Key("Raw").c_str(), "Mask", "abc", 3));
    EXPECT_TRUE(testing_support::RegistrySetRaw(Key("Raw").c_str(), "Nothing", "", 0));

    // The bytes come back as stored, or with a terminator that the system
    // added and counted; nothing else is written into the buffer.
    RegistryKey* reader = platform::Env::Default()->RegistryOpenForRead(Key("Raw").c_str());
    ASSERT_NE(reader, nullptr);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    std::uint32_t size = sizeof buffer;
    ASSERT_TRUE(platform::Env::Default()->RegistryQueryValue(reader, "Mask", buffer, &size));
    if (size == 3) {
        EXPECT_EQ(std::string(buffer, 5), "abcxx");
    } else {
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
    }
    size = sizeof buffer;
    ASSERT_TRUE(platform::Env::Default()->RegistryQueryValue(reader, "Nothing", buffer, &size));
    EXPECT_LE(size, 1u);
    if (size == 1) {
        EXPECT_EQ(buffer[0], '\0');
    }
    platform::Env::Default()->RegistryClose(reader);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCase) {
    Set("Plugins\\Tarnwick", "ShowInPanels", "1");
    EXPECT_EQ(Get("PLUGINS\\tarnwick", "SHOWINPANELS"), std::string("1\0", 2));

    // Writing under another spelling replaces the value rather than adding one.
    Set("plugins\\TARNWICK", "showinpanels", "0");
    EXPECT_EQ(Get("Plugins\\Tarnwick", "ShowInPanels"), std::string("0\0", 2));
}

TEST_F(RegistryTest, KeysOpenedForOneAccessRefuseTheOther) {
    RegistryKey* writer = platform::Env::Default()->RegistryCreateForWrite(Key("Access").c_str());
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(platform::Env::Default()->RegistrySetString(writer, "Automatic", "1"));
    char buffer[16];
    std::uint32_t size = sizeof buffer;
    EXPECT_FALSE(platform::Env::Default()->RegistryQueryValue(writer, "Automatic", buffer, &size));
    platform::Env::Default()->RegistryClose(writer);

    RegistryKey* reader = platform::Env::Default()->RegistryOpenForRead(Key("Access").c_str());
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(platform::Env::Default()->RegistrySetString(reader, "Automatic", "0"));
    platform::Env::Default()->RegistryClose(reader);
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
    // Nothing lands beside the registry substitute's root folder.
    EXPECT_EQ(Env::Default()->ProbePath(dir_.File("Escape").c_str()), Status::NotFound);
    EXPECT_EQ(Env::Default()->ProbePath(dir_.File("escape").c_str()), Status::NotFound);
}

TEST_F(RegistryTest, DeleteTreeRemovesKeysValuesAndSubKeys) {
    Set("", "Top", "1");
    Set("A", "Value", "2");
    Set("A\\B\\C", "Value", "3");
    Set("D", "Value", "4");

    EXPECT_TRUE(testing_support::RegistryDeleteTree(Key("A").c_str()));
    EXPECT_EQ(Get("A", "Value"), "<no key>");
    EXPECT_EQ(Get("A\\B\\C", "Value"), "<no key>");
    EXPECT_EQ(Get("D", "Value"), std::string("4\0", 2));

    EXPECT_FALSE(testing_support::RegistryDeleteTree(Key("A").c_str()));
    EXPECT_TRUE(testing_support::RegistryDeleteTree(base_.c_str()));
    EXPECT_EQ(platform::Env::Default()->RegistryOpenForRead(base_.c_str()), nullptr);
}

}  // namespace
}  // namespace platform
}  // namespace tarnwick
