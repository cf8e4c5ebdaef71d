// The full-screen host's screens: the panels (tui_panels.cpp), the editor
// (tui_editor.cpp), the viewer (tui_viewer.cpp), and the host's menus of
// plug-in commands. Each draws on the full-screen host's Screen.
#pragma once

#include <string>

#include "core/char_tables.h"
#include "tui/tui_screen.h"

namespace twhost {

// Opens the file in the editor until the user closes it.
bool EditFile(Screen& screen, const std::string& path, std::string* error);
// Opens the file in the viewer until the user closes it; `lastViewed` gets
// the file it showed last (Gray+ and Gray- move to other files).
bool ViewFile(Screen& screen, const std::string& path, std::string* lastViewed, std::string* error);
// Where the host's list of plug-in commands is opened from.
enum class CommandsFrom { Panels, Editor, Viewer };
// F11: the host's list of plug-in commands, and the plug-in's menu.
bool ShowPluginCommands(Screen& screen, CommandsFrom from, std::string* error);
// Alt+Shift+F9: the host's list of plug-in settings, and the plug-in's dialog.
bool ShowPluginConfiguration(Screen& screen, std::string* error);
// How the status lines name a table: "OEM", "ANSI" or the code table's name.
std::string TableLabel(const TableChoice& table);
// A warning box with the text of an error.
void ShowError(Screen& screen, const std::string& error);

}  // namespace twhost
