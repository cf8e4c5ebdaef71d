#include "plugin/settings.h"

#include "plugin/host.h"
#include "plugin/module.h"
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
bool BuildKeyPath(Module& m, RegistryRoot root, const char* subKey, char* path) {
    if (root != RegistryRoot::CurrentUser || !m.HasPluginKey) return false;
    if (!CopyBounded(path, m.PluginKey, kKeyPathSize)) return false;
    if (subKey != nullptr && subKey[0] != '\0') {
        if (!AppendBounded(path, "\\", kKeyPathSize)) return false;
        if (!AppendBounded(path, subKey, kKeyPathSize)) return false;
    }
    return true;
}

// Reads a number setting; the field keeps its value when the text holds
// no decimal number.
void LoadNumber(Module& m, const char* name, const char* defaultText, std::int32_t* field) {
    char text[kNumberTextSize];
    ReadSettingString(m, RegistryRoot::CurrentUser, "", name, text, defaultText, kNumberTextSize);
    HostScanInt(m, text, field);
}

}  // namespace

void BuildPluginKey(Module& m, const char* rootKey) {
    FillBytes(m.PluginKey, 0, sizeof m.PluginKey);
    m.HasPluginKey = false;
    if (rootKey == nullptr) return;
    char key[kPluginKeySize];
    if (!CopyBounded(key, rootKey, sizeof key) || !AppendBounded(key, "\\", sizeof key) ||
        !AppendBounded(key, kPluginName, sizeof key)) {
        return;
    }
    CopyBounded(m.PluginKey, key, sizeof m.PluginKey);
    m.HasPluginKey = true;
}

void BuildDefaultCfgFile(Module& m, const char* moduleName) {
    FillBytes(m.DefaultCfgFile, 0, sizeof m.DefaultCfgFile);
    if (moduleName == nullptr) return;
    // The host's record holds the name in 260 bytes; a broken record may
    // lack the terminator, so never look past 259 characters.
    int length = 0;
    while (length < kPathSize - 1 && moduleName[length] != '\0') {
        m.DefaultCfgFile[length] = moduleName[length];
        ++length;
    }
    m.DefaultCfgFile[length] = '\0';
    if (length >= 3) {
        m.DefaultCfgFile[length - 3] = 'c';
        m.DefaultCfgFile[length - 2] = 'f';
        m.DefaultCfgFile[length - 1] = 'g';
    }
}

namespace {

// Reads all six settings aside, each falling back to the text in
// `fallback`, and takes them over in one step, so that the module never
// holds some values of this read and some of the last one.
void ReadAllSettings(Module& m, const Settings& fallback) {
    Settings loaded = m.CurrentSettings;
    char numbers[4][kNumberTextSize];
    FormatInt(fallback.ShowInPanels, numbers[0]);
    FormatInt(fallback.Automatic, numbers[1]);
    FormatInt(fallback.RemoveOld, numbers[2]);
    FormatInt(fallback.CheckMask, numbers[3]);
    LoadNumber(m, "ShowInPanels", numbers[0], &loaded.ShowInPanels);
    LoadNumber(m, "Automatic", numbers[1], &loaded.Automatic);
    LoadNumber(m, "RemoveOld", numbers[2], &loaded.RemoveOld);
    LoadNumber(m, "CheckMask", numbers[3], &loaded.CheckMask);
    ReadSettingString(m, RegistryRoot::CurrentUser, "", "Mask", loaded.Mask, fallback.Mask, kMaskSize);
    ReadSettingString(m, RegistryRoot::CurrentUser, "", "CfgFile", loaded.CfgFile, fallback.CfgFile, kPathSize);
    HostUnquote(m, loaded.CfgFile);
    if (loaded.CfgFile[0] == '\0') CopyBounded(loaded.CfgFile, m.DefaultCfgFile, kPathSize);
    m.CurrentSettings = loaded;
}

}  // namespace

void LoadSettings(Module& m) {
    Settings defaults{};
    defaults.Automatic = 1;
    defaults.RemoveOld = 1;
    CopyBounded(defaults.CfgFile, m.DefaultCfgFile, kPathSize);
    ReadAllSettings(m, defaults);
}

void ReloadSettings(Module& m) {
    const Settings current = m.CurrentSettings;
    ReadAllSettings(m, current);
}

platform::RegistryKey* OpenSettingsKey(Module& m, RegistryRoot root, const char* subKey) {
    char path[kKeyPathSize];
    if (!BuildKeyPath(m, root, subKey, path)) return nullptr;
    return m.Env->RegistryOpenForRead(path);
}

platform::RegistryKey* CreateSettingsKey(Module& m, RegistryRoot root, const char* subKey) {
    char path[kKeyPathSize];
    if (!BuildKeyPath(m, root, subKey, path)) return nullptr;
    return m.Env->RegistryCreateForWrite(path);
}

bool ReadSettingString(Module& m, RegistryRoot root, const char* subKey, const char* name, char* buffer,
                       const char* defaultText, int size) {
    if (buffer == nullptr || size <= 0) return false;
    bool read = false;
    platform::RegistryKey* key = OpenSettingsKey(m, root, subKey);
    if (key != nullptr) {
        std::uint32_t got = static_cast<std::uint32_t>(size);
        if (m.Env->RegistryQueryValue(key, name, buffer, &got)) {
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
        m.Env->RegistryClose(key);
    }
    if (!read) CopyBounded(buffer, defaultText != nullptr ? defaultText : "", static_cast<std::size_t>(size));
    return read;
}

void WriteSettingString(Module& m, RegistryRoot root, const char* subKey, const char* name, const char* text) {
    platform::RegistryKey* key = CreateSettingsKey(m, root, subKey);
    if (key == nullptr) return;
    m.Env->RegistrySetString(key, name, text != nullptr ? text : "");
    m.Env->RegistryClose(key);
}

}  // namespace plugin
}  // namespace tarnwick
