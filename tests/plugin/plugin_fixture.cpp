#include "plugin_fixture.h"

#include <cstdlib>
#include <cstring>

#include "common/registry_tools.h"
#include "platform/env.h"
#include "plugin/module_exit.h"
#include "plugin/module.h"
#include "store/position_file.h"

namespace plugintest {

using namespace tarnwick;
using namespace tarnwick::plugin;
using namespace tarnwick::store;
namespace ts = tarnwick::testing_support;

void PluginTest::SetUp() {
    ResetModuleState(LoadedModule());
    registryRoot_.reset(new ts::RegistryRootOverride(temp_.File("registry")));
    rootKey_ = "Software\\TarnwickTests\\" + ts::UniqueName("plugin");
    fakehost::ResetHost(temp_.File("Tarnwick.dll"), rootKey_);
}

void PluginTest::TearDown() {
    ResetModuleState(LoadedModule());
    testing_support::RegistryDeleteTree(rootKey_.c_str());
    registryRoot_.reset();
}

void PluginTest::Start() { SetStartupInfo(&host().Info); }

void PluginTest::SetValue(const std::string& name, const std::string& text) {
    platform::RegistryKey* key = platform::Env::Default()->RegistryCreateForWrite(SettingsKey().c_str());
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(platform::Env::Default()->RegistrySetString(key, name.c_str(), text.c_str()));
    platform::Env::Default()->RegistryClose(key);
}

void PluginTest::SetRawValue(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(testing_support::RegistrySetRaw(SettingsKey().c_str(), name.c_str(), bytes.data(),
                                                static_cast<std::uint32_t>(bytes.size())));
}

std::string PluginTest::GetValue(const std::string& name, bool* exists) {
    if (exists != nullptr) *exists = false;
    platform::RegistryKey* key = platform::Env::Default()->RegistryOpenForRead(SettingsKey().c_str());
    if (key == nullptr) return std::string();
    char buffer[2048] = {};
    std::uint32_t size = sizeof buffer - 1;
    bool found = platform::Env::Default()->RegistryQueryValue(key, name.c_str(), buffer, &size);
    platform::Env::Default()->RegistryClose(key);
    if (exists != nullptr) *exists = found;
    return found ? std::string(buffer) : std::string();
}

bool PluginTest::KeyExists() {
    platform::RegistryKey* key = platform::Env::Default()->RegistryOpenForRead(SettingsKey().c_str());
    if (key == nullptr) return false;
    platform::Env::Default()->RegistryClose(key);
    return true;
}

std::string PluginTest::ExistingFile(const std::string& name) {
    std::string path = temp_.File(name);
    EXPECT_TRUE(ts::WriteWholeFile(path, "text\r\n"));
    return path;
}

std::string PluginTest::ItemLine(const std::string& path, const Pos& pos, const std::string& type) {
    return "<item type=\"" + type + "\" path=\"" + path + "\" line=\"" + std::to_string(pos.Line) + "\" column=\"" +
           std::to_string(pos.Column) + "\" top=\"" + std::to_string(pos.Top) + "\" left=\"" +
           std::to_string(pos.Left) + "\" overtype=\"" + std::to_string(pos.Overtype) + "\">\r\n";
}

void PluginTest::WritePositions(const std::string& content, const std::string& path) {
    ASSERT_TRUE(ts::WriteWholeFile(path.empty() ? DefaultPositions() : path, content));
}

std::string PluginTest::ReadPositions(const std::string& path) {
    return ts::ReadWholeFile(path.empty() ? DefaultPositions() : path);
}

namespace {

// Reads `file` through a handle of its own, with the module's comparison
// (the host's once it is started), and hands it to `use`.
template <typename Use>
auto WithPositionFile(const std::string& file, Use use) -> decltype(use(nullptr)) {
    PositionFile* positions =
        OpenPositionFile(PositionFileSetup{platform::Env::Default(), &LoadedModule().Comparison, nullptr, 0});
    EXPECT_NE(positions, nullptr);
    Load(positions, file.c_str());
    auto result = use(positions);
    ClosePositionFile(positions);
    return result;
}

}  // namespace

bool PluginTest::Stored(const std::string& path, Pos* pos, const std::string& file) {
    StoredPlace read = store::EmptyPlace();
    EditorPlace& e = read.Editor;
    e.Line = e.Column = e.Top = e.Left = e.Overtype = -7;
    bool found = WithPositionFile(file.empty() ? DefaultPositions() : file, [&](PositionFile* positions) {
        return ReadItem(positions, ItemKind::Editor, path.c_str(), &read);
    });
    const EditorPlace& p = read.Editor;
    if (found && pos != nullptr) *pos = Pos{p.Line, p.Column, p.Top, p.Left, p.Overtype};
    return found;
}

int PluginTest::StoredCount(const std::string& file) {
    return WithPositionFile(file.empty() ? DefaultPositions() : file,
                            [](PositionFile* positions) { return CountItems(positions, ItemKind::Editor); });
}

bool PluginTest::StoredPlaceOf(ItemKind kind, const std::string& path, StoredPlace* place, const std::string& file) {
    *place = EmptyPlace();
    return WithPositionFile(file.empty() ? DefaultPositions() : file, [&](PositionFile* positions) {
        return ReadItem(positions, kind, path.c_str(), place);
    });
}

void PluginTest::OpenEditor(int id, const std::string& path, const Pos& pos, DWORD_T state) {
    fakehost::SimulatedEditor& editor = host().Editor;
    editor.EditorID = id;
    editor.FileName = path;
    editor.NoFileName = false;
    editor.CurLine = pos.Line;
    editor.CurPos = pos.Column;
    editor.TopScreenLine = pos.Top;
    editor.LeftPos = pos.Left;
    editor.Overtype = pos.Overtype;
    editor.CurState = state;
    EXPECT_EQ(ProcessEditorEvent(EE_READ, nullptr), 0);
}

void PluginTest::MoveTo(const Pos& pos, DWORD_T state) {
    fakehost::SimulatedEditor& editor = host().Editor;
    editor.CurLine = pos.Line;
    editor.CurPos = pos.Column;
    editor.TopScreenLine = pos.Top;
    editor.LeftPos = pos.Left;
    editor.Overtype = pos.Overtype;
    editor.CurState = state;
    EXPECT_EQ(ProcessEditorEvent(EE_REDRAW, nullptr), 0);
}

void PluginTest::CloseEditor(int id) {
    int editorId = id;
    EXPECT_EQ(ProcessEditorEvent(EE_CLOSE, &editorId), 0);
}

bool PluginTest::Tracked(int id) {
    return ContainsRecord(LoadedModule().Editors, EditorKey(id));
}

}  // namespace plugintest
