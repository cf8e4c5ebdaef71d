// The common frame of the plug-in's tests: a freshly loaded module, a fake
// host, a private folder for the position file (the module "lives" there,
// so its default position file does too) and a private registry key.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "common/registry_tools.h"
#include "common/system_tools.h"
#include "common/test_support.h"
#include "fake_host.h"
#include "plugin/host_abi.h"
#include "plugin/module.h"
#include "plugin/module_exit.h"
#include "store/stored_place.h"

namespace plugintest {

struct Pos {
    int Line, Column, Top, Left, Overtype;
};

inline bool operator==(const Pos& a, const Pos& b) {
    return a.Line == b.Line && a.Column == b.Column && a.Top == b.Top && a.Left == b.Left && a.Overtype == b.Overtype;
}

inline std::ostream& operator<<(std::ostream& out, const Pos& p) {
    return out << "{line " << p.Line << ", column " << p.Column << ", top " << p.Top << ", left " << p.Left
               << ", overtype " << p.Overtype << "}";
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fakehost::FakeHost& host() { return fakehost::Host(); }

    // SetStartupInfo with the fake host's record.
    void Start();

    // The settings key below the current user, as the plug-in builds it.
    std::string SettingsKey() const { return rootKey_ + "\\Tarnwick"; }
    void SetValue(const std::string& name, const std::string& text);
    void SetRawValue(const std::string& name, const std::string& bytes);
    // The value's text; `exists` tells whether it is there at all.
    std::string GetValue(const std::string& name, bool* exists = nullptr);
    bool KeyExists();

    // The module's default position file (beside the module).
    std::string DefaultPositions() const { return temp_.File("Tarnwick.cfg"); }
    std::string File(const std::string& name) const { return temp_.File(name); }
    // A file that exists, for items that must survive a purge.
    std::string ExistingFile(const std::string& name);

    // One item line as the position file stores it.
    static std::string ItemLine(const std::string& path, const Pos& pos, const std::string& type = "editor");
    void WritePositions(const std::string& content, const std::string& path = std::string());
    std::string ReadPositions(const std::string& path = std::string());
    // The stored position of `path` in the position file on disk.
    bool Stored(const std::string& path, Pos* pos, const std::string& file = std::string());
    int StoredCount(const std::string& file = std::string());
    // The whole stored place of `path`'s item of `kind` (EmptyPlace() and
    // false when there is none).
    bool StoredPlaceOf(tarnwick::store::ItemKind kind, const std::string& path, tarnwick::store::StoredPlace* place,
                       const std::string& file = std::string());

    // Makes the current editor `id` on `path` at `pos`, in `state`, and
    // sends EE_READ.
    void OpenEditor(int id, const std::string& path, const Pos& pos = Pos{0, 0, 0, 0, 0}, tarnwick::DWORD_T state = 0);
    // Moves the current editor and sends EE_REDRAW.
    void MoveTo(const Pos& pos, tarnwick::DWORD_T state = 0);
    void CloseEditor(int id);
    // Whether the module follows editor `id`.
    static bool Tracked(int id);

    tarnwick::testing_support::TempDir temp_;
    // The registry substitute's root moves into temp_ while a test runs.
    std::unique_ptr<tarnwick::testing_support::RegistryRootOverride> registryRoot_;
    std::string rootKey_;
};

}  // namespace plugintest
