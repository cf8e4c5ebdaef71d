// The plug-in's six settings, their registry storage and defaults, the
// registry key and the default path of the position file.
//
// All six values are strings (REG_SZ, stored with their terminator) in one
// key below HKEY_CURRENT_USER: the host's RootKey, a backslash and
// "Tarnwick". The four numbers are stored as decimal text. A value that is
// missing, unreadable or too large for its buffer takes its default text.
// When the host's RootKey is too long for the key buffer there is no key at
// all: every setting keeps its default and nothing is ever written.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "support/path_size.h"

namespace tarnwick {
namespace plugin {

struct Module;

constexpr int kMaskSize = 512;        // Mask: 511 characters and the terminator
constexpr int kPluginKeySize = 80;   // PluginKey with its terminator
constexpr int kKeyPathSize = 512;    // a key path with its optional sub-key
constexpr int kNumberTextSize = 50;  // a number setting's text with its terminator

struct Settings {
    std::int32_t Automatic;     // restore on open, track, write on save and close
    std::int32_t ShowInPanels;  // offer the menu entry in the panels too
    std::int32_t RemoveOld;     // purge entries of missing files at exit
    std::int32_t CheckMask;     // files matching Mask get an entry when opened
    char Mask[kMaskSize];       // list of file masks
    char CfgFile[kPathSize];  // path of the position file
};

// The registry roots the settings can live under; the plug-in uses only
// the current user's.
enum class RegistryRoot { CurrentUser };

// Builds PluginKey from the host's RootKey: RootKey, "\", "Tarnwick". When
// that does not fit in kPluginKeySize bytes (or RootKey is null) PluginKey
// stays empty and HasPluginKey false.
void BuildPluginKey(Module& m, const char* rootKey);

// Builds DefaultCfgFile from the module's path: at most 259 characters of
// `moduleName` (which need not be terminated within its 260 bytes) with
// the last three characters replaced by "cfg". A name shorter than three
// characters is kept as it is.
void BuildDefaultCfgFile(Module& m, const char* moduleName);

// Fills the module's Settings from the registry, each value falling back
// to its default. A number whose text holds no decimal number keeps the
// field's previous value. CfgFile is unquoted; when it is then empty it
// becomes DefaultCfgFile.
void LoadSettings(Module& m);
// LoadSettings for settings that were loaded before (the configuration
// dialog's fresh read): a value that is missing or cannot be read keeps the
// module's current value instead of taking its default, so that a registry
// that fails for a moment does not put defaults into the dialog, which its
// OK would then write over the user's settings.
void ReloadSettings(Module& m);

// Opens the settings key (plus "\" and `subKey` when that is not empty)
// for reading. Null when there is no key, the path does not fit, the root
// is not supported or the registry refuses.
platform::RegistryKey* OpenSettingsKey(Module& m, RegistryRoot root, const char* subKey);
// Opens the settings key for writing, creating it when missing. Null on
// the same failures.
platform::RegistryKey* CreateSettingsKey(Module& m, RegistryRoot root, const char* subKey);

// Reads the string value `name` into `buffer` of `size` bytes, always
// terminated. A value whose text (without a terminator) does not fit
// together with a terminator, a missing value or key, or any registry error
// puts `defaultText` (bounded) into the buffer and returns false. A value
// stored without a terminator that fits is terminated.
bool ReadSettingString(Module& m, RegistryRoot root, const char* subKey, const char* name, char* buffer,
                       const char* defaultText, int size);

// Writes `text` as a REG_SZ value with its terminator. Failures are silent:
// when the key cannot be created or opened, nothing is written.
void WriteSettingString(Module& m, RegistryRoot root, const char* subKey, const char* name, const char* text);

}  // namespace plugin
}  // namespace tarnwick
