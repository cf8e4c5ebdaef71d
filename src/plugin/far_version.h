// Host versions as the host packs them, and the oldest host this plug-in
// works with.
#pragma once

namespace tarnwick {

// The host's MAKEFARVERSION: minor in the low byte, major in the next, the
// build number in the high 16 bits. 1.70 is major 1, minor 70.
constexpr int MakeFarVersion(int major, int minor, int build) {
    return static_cast<int>((static_cast<unsigned>(build) << 16) | (static_cast<unsigned>(major) << 8) |
                            static_cast<unsigned>(minor));
}
constexpr int FarVersionMajor(int version) { return (version >> 8) & 0xFF; }
constexpr int FarVersionMinor(int version) { return version & 0xFF; }
constexpr int FarVersionBuild(int version) { return (version >> 16) & 0xFFFF; }

// The oldest host whose interface the plug-in needs: 1.70 build 2087.
//
// The plug-in builds its menus from extended items (FMENU_USEEXT), asks with
// the Yes/No buttons of FMSG_MB_YESNO and reads EditorInfo's CurState to
// tell a modified editor apart. The 1.70 line gained these during its beta
// builds, and early 1.70 builds hand over a PluginStartupInfo of the same
// size, so StructSize cannot tell them apart. The interface notes this
// plug-in was checked against give no build number for these features;
// 2087 is the 1.70 release build, the oldest that surely has all three. An
// older build then refuses the plug-in cleanly at load, which is better
// than broken menus and dialogs in a host that might lack them.
constexpr int kMinFarVersion = MakeFarVersion(1, 70, 2087);

}  // namespace tarnwick
