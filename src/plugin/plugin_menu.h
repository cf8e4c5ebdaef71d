// The plug-in's own menu of commands, shown when the user picks the
// plug-in in the host's plug-in menu.
//
// From the editor it offers five commands: store the position now, restore
// it now (disabled when no position is known for the file), the list of
// saved positions, the purge of entries of missing files, and the
// configuration. From the panels only the last three. The menu is built
// once per call and comes back after the list, the purge and the
// configuration (from the panels after every command) until it is left
// with Esc; from the editor, store and restore end it.
#pragma once

#include <cstddef>

#include "plugin/messages.h"

namespace tarnwick {
namespace plugin {

struct Module;

constexpr int kMenuCommandCount = 5;

// The message of each command's text, in menu order: store (kMsgMenuUpdate
// instead when a position is known), restore, list, purge, configuration.
extern const Message kMenuMessageIds[kMenuCommandCount];

// Runs the menu for a call from `openFrom` (OPEN_EDITOR, OPEN_PLUGINSMENU
// or any other origin, which is treated like the editor without one).
void RunPluginMenu(Module& m, int openFrom);

// Formats the purge report: `format` with its first "%d" (or "%i")
// replaced by `count` and every "%%" by "%"; every other character,
// any other conversion included, is copied as it stands. The result is cut
// to fit `size` bytes with its terminator.
void FormatCountReport(const char* format, int count, char* buffer, std::size_t size);

}  // namespace plugin
}  // namespace tarnwick
