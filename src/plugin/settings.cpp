#include "plugin/settings.h"

#include "plugin/host.h"
#include "plugin/plugin_state.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using namespace store;

namespace {

const char* const kPluginName = "Tarnwick";

// The key path of the settings key, plus "\" and `subKey` when that is not
// empty, into `path` (kKeyPathSize bytes). False when there is no key or
// the path does not fit.
bool BuildKeyPath(RegistryRoot root, const char* subKey, char* path) {
    if (root != RegistryRoot::CurrentUser || !HasPluginKey) return false;
    if (!CopyBounded(path, PluginKey, kKeyPathSize)) return false;
    if (subKey != nullptr && subKey[0] != '\0') {
        if (!AppendBounded(path, "\\", kKeyPathSize)) return false;
        if (!AppendBounded(path, subKey, kKeyPathSize)) return false;
    }
    return true;
}

// Reads a number setting; the field keeps its value when the text holds
// no decimal number.
void LoadNumber(const char* name, const char* defaultText, std::int32_t* field) {
    char text[kNumberTextSize];
    ReadSettingString(RegistryRoot::CurrentUser, "", name, text, defaultText, kNumberTextSize);
    HostScanInt(text, field);
}

}  // namespace

void BuildPluginKey(const char* rootKey) {
    FillBytes(PluginKey, 0, sizeof PluginKey);
    HasPluginKey = false;
    if (rootKey == nullptr) return;
    char key[kPluginKeySize];
    if (!CopyBounded(key, rootKey, sizeof key) || !AppendBounded(key, "\\", sizeof key) ||
        !AppendBounded(key, kPluginName, sizeof key)) {
        return;
    }
    CopyBounded(PluginKey, key, sizeof PluginKey);
    HasPluginKey = true;
}

void BuildDefaultCfgFile(const char* moduleName) {
    FillBytes(DefaultCfgFile, 0, sizeof DefaultCfgFile);
    if (moduleName == nullptr) return;
    // The host's record holds the name in 260 bytes; a broken record may
    // lack the terminator, so never look past 259 characters.
    int length = 0;
    while (length < kPathSize - 1 && moduleName[length] != '\0') {
        DefaultCfgFile[length] = moduleName[length];
        ++length;
    }
    DefaultCfgFile[length] = '\0';
    if (length >= 3) {
        DefaultCfgFile[length - 3] = 'c';
        DefaultCfgFile[length - 2] = 'f';
        DefaultCfgFile[length - 1] = 'g';
    }
}

void LoadSettings() {
    LoadNumber("ShowInPanels", "0", &CurrentSettings.ShowInPanels);
    LoadNumber("Automatic", "1", &CurrentSettings.Automatic);
    LoadNumber("RemoveOld", "1", &CurrentSettings.RemoveOld);
    LoadNumber("CheckMask", "0", &CurrentSettings.CheckMask);
    ReadSettingString(RegistryRoot::CurrentUser, "", "Mask", CurrentSettings.Mask, "", kMaskSize);
    ReadSettingString(RegistryRoot::CurrentUser, "", "CfgFile", CurrentSettings.CfgFile, DefaultCfgFile,
                      kPathSize);
    HostUnquote(CurrentSettings.CfgFile);
    if (CurrentSettings.CfgFile[0] == '\0') {
        CopyBounded(CurrentSettings.CfgFile, DefaultCfgFile, kPathSize);
    }
}

platform::RegistryKey* OpenSettingsKey(RegistryRoot root, const char* subKey) {
    char path[kKeyPathSize];
    if (!BuildKeyPath(root, subKey, path)) return nullptr;
    return EnvOf(Positions)->RegistryOpenForRead(path);
}

platform::RegistryKey* CreateSettingsKey(RegistryRoot root, const char* subKey) {
    char path[kKeyPathSize];
    if (!BuildKeyPath(root, subKey, path)) return nullptr;
    return EnvOf(Positions)->RegistryCreateForWrite(path);
}

bool ReadSettingString(RegistryRoot root, const char* subKey, const char* name, char* buffer,
                       const char* defaultText, int size) {
    if (buffer == nullptr || size <= 0) return false;
    bool read = false;
    platform::RegistryKey* key = OpenSettingsKey(root, subKey);
    if (key != nullptr) {
        std::uint32_t got = static_cast<std::uint32_t>(size);
        if (EnvOf(Positions)->RegistryQueryValue(key, name, buffer, &got)) {
            if (got < static_cast<std::uint32_t>(size)) {
                // Terminate a value stored without its terminator.
                buffer[got] = '\0';
                read = true;
            } else if (got == static_cast<std::uint32_t>(size)) {
                // The bytes fill the buffer: the text fits only when a
                // terminator is among them.
                for (int i = 0; i < size && !read; ++i) read = buffer[i] == '\0';
            }
        }
        EnvOf(Positions)->RegistryClose(key);
    }
    if (!read) CopyBounded(buffer, defaultText != nullptr ? defaultText : "", static_cast<std::size_t>(size));
    return read;
}

void WriteSettingString(RegistryRoot root, const char* subKey, const char* name, const char* text) {
    platform::RegistryKey* key = CreateSettingsKey(root, subKey);
    if (key == nullptr) return;
    EnvOf(Positions)->RegistrySetString(key, name, text != nullptr ? text : "");
    EnvOf(Positions)->RegistryClose(key);
}

}  // namespace plugin
}  // namespace tarnwick
