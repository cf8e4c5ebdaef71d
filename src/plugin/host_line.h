// Which host the plug-in runs in: the 1.7x host itself, or the 3.x host's
// layer that loads 1.x plug-ins. The layer keeps the 1.x records but
// fills some of them by other rules:
// - CurState's ECSTATE_MODIFIED means "written at least once", so unsaved
//   changes show only as a missing ECSTATE_SAVED;
// - TableNum counts code pages: 0 the OEM code page, 1 ANSI and every
//   multi-byte one (UTF-8 among them), 2 and up the favourites, -(page + 2)
//   any other; AnsiMode is always 0;
// - the viewer's offsets are in bytes, also for UTF-16 text, and its
//   TableNum is always 0;
// - ProcessName parses a mask list itself (`;` separates, `|` starts the
//   masks to exclude) and copies no mask into a fixed buffer;
// - file names are converted from UTF-16 to the OEM code page, and a
//   character that page lacks becomes `?` or a look-alike, so the name may
//   no longer name the file.
// The layer gives the plug-in its own registry root, under
// `Software\Far Manager\`, which the 1.7x host never uses: that is how the
// plug-in tells the two apart.
#pragma once

#include <cstdint>

namespace tarnwick {
namespace plugin {

enum class HostLine : std::int32_t {
    Far1 = 0,       // the 1.7x host (and what a null RootKey means)
    Far3Layer = 1,  // the 3.x host's support for 1.x plug-ins
};

// The host line that hands out `rootKey` (PluginStartupInfo::RootKey);
// Far1 for a null key.
HostLine HostLineOf(const char* rootKey);

}  // namespace plugin
}  // namespace tarnwick
