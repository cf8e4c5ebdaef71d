// Fuzz target: the settings read from arbitrary registry bytes. Each of the
// six values holds whatever bytes the input gives it (no terminator, a
// terminator inside, too many for the buffer), is missing, or comes back
// the way Wine returns it (a terminator added and counted). The settings
// that come out are terminated within their buffers, the position file's
// path is never empty, and writing them back and reading them again gives
// the same settings.
//
// Input: a flags byte (bits 0-5: value i is present; bit 6: the registry
// adds and counts a terminator; bit 7: the key is missing), then the six
// values' bytes separated by 0x01, in the order ShowInPanels, Automatic,
// RemoveOld, CheckMask, Mask, CfgFile.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "common/fault_env.h"
#include "kit/standard_functions.h"
#include "plugin/module.h"
#include "plugin/settings.h"
#include "support/text.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::plugin;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

const char* const kNames[6] = {"ShowInPanels", "Automatic", "RemoveOld", "CheckMask", "Mask", "CfgFile"};

// One registry key in memory; everything else goes to the real system.
class MemoryRegistryEnv : public testing_support::FaultEnv {
public:
    MemoryRegistryEnv() : FaultEnv(platform::Env::Default()) {}

    std::map<std::string, std::string> Values;  // lower-case name -> bytes
    bool KeyExists = true;
    bool AddsTerminator = false;  // as Wine: a value without one comes back with one, counted

    platform::RegistryKey* RegistryOpenForRead(const char*) override { return KeyExists ? Key() : nullptr; }
    platform::RegistryKey* RegistryCreateForWrite(const char*) override {
        KeyExists = true;
        return Key();
    }
    void RegistryClose(platform::RegistryKey* key) override { Check(key == Key(), "the key handed out"); }
    bool RegistryQueryValue(platform::RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) override {
        Check(key == Key() && size != nullptr, "query of the key handed out");
        auto found = Values.find(Lower(name));
        if (found == Values.end()) return false;
        std::string bytes = found->second;
        if (AddsTerminator && (bytes.empty() || bytes.back() != '\0')) bytes.push_back('\0');
        if (bytes.size() > *size) return false;
        std::memcpy(buffer, bytes.data(), bytes.size());
        *size = static_cast<std::uint32_t>(bytes.size());
        return true;
    }
    bool RegistrySetString(platform::RegistryKey* key, const char* name, const char* text) override {
        Check(key == Key(), "set on the key handed out");
        if (text == nullptr) return false;
        Values[Lower(name)] = std::string(text, std::strlen(text) + 1);
        return true;
    }

    static std::string Lower(const char* name) {
        std::string text(name);
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return text;
    }

private:
    platform::RegistryKey* Key() { return reinterpret_cast<platform::RegistryKey*>(this); }
};


bool Terminated(const char* buffer, std::size_t size) { return std::memchr(buffer, 0, size) != nullptr; }

bool SameSettings(const Settings& a, const Settings& b) {
    return a.ShowInPanels == b.ShowInPanels && a.Automatic == b.Automatic && a.RemoveOld == b.RemoveOld &&
           a.CheckMask == b.CheckMask && std::strcmp(a.Mask, b.Mask) == 0 && std::strcmp(a.CfgFile, b.CfgFile) == 0;
}

void CheckSettings(const Module& m) {
    const Settings& s = m.CurrentSettings;
    Check(Terminated(s.Mask, sizeof s.Mask), "Mask terminated");
    Check(Terminated(s.CfgFile, sizeof s.CfgFile), "CfgFile terminated");
    Check(s.CfgFile[0] != '\0', "a position file path");
    Check(std::strchr(s.CfgFile, '"') == nullptr, "CfgFile unquoted");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 8192) return 0;
    static Module m;  // large: kept out of the stack
    m = Module{};
    MemoryRegistryEnv env;
    const std::uint8_t flags = data[0];
    env.KeyExists = (flags & 0x80) == 0;
    env.AddsTerminator = (flags & 0x40) != 0;
    std::size_t at = 1;
    for (int i = 0; i < 6; ++i) {
        std::size_t end = at;
        while (end < size && data[end] != 0x01) ++end;
        if ((flags & (1u << i)) != 0) {
            env.Values[MemoryRegistryEnv::Lower(kNames[i])] =
                std::string(reinterpret_cast<const char*>(data) + at, end - at);
        }
        at = end < size ? end + 1 : size;
    }

    m.HostFunctions.sscanf = hostkit::Sscanf;
    m.HostFunctions.Unquote = hostkit::Unquote;
    m.Env = &env;
    BuildPluginKey(m, "Software\\Fuzz");
    BuildDefaultCfgFile(m, "/plugins/Tarnwick/Tarnwick.so");

    LoadSettings(m);
    CheckSettings(m);
    const Settings loaded = m.CurrentSettings;

    // A fresh read of the same registry changes nothing.
    ReloadSettings(m);
    CheckSettings(m);
    Check(SameSettings(m.CurrentSettings, loaded), "a second read gives the same settings");

    // Written back as the configuration dialog writes them, then read
    // again: the same settings.
    char number[12];
    const std::int32_t numbers[4] = {loaded.ShowInPanels, loaded.Automatic, loaded.RemoveOld, loaded.CheckMask};
    for (int i = 0; i < 4; ++i) {
        FormatInt(numbers[i], number);
        WriteSettingString(m, RegistryRoot::CurrentUser, "", kNames[i], number);
    }
    WriteSettingString(m, RegistryRoot::CurrentUser, "", "Mask", loaded.Mask);
    WriteSettingString(m, RegistryRoot::CurrentUser, "", "CfgFile", loaded.CfgFile);
    m.CurrentSettings = Settings{};
    LoadSettings(m);
    CheckSettings(m);
    Check(SameSettings(m.CurrentSettings, loaded), "written and read back, the same settings");
    Check(env.Live() == 0, "every block released");
    return 0;
}
