// The full-screen host's screens: the panels (tui_panels.cpp), the editor
// (tui_editor.cpp), and the host's menus of plug-in commands. Each draws on
// the full-screen host's Screen.
#pragma once

#include <string>

#include "tui/tui_screen.h"

namespace twhost {

// Opens the file in the editor until the user closes it.
bool EditFile(Screen& screen, const std::string& path, std::string* error);
// F11: the host's list of plug-in commands, and the plug-in's menu.
bool ShowPluginCommands(Screen& screen, bool fromEditor, std::string* error);
// Alt+Shift+F9: the host's list of plug-in settings, and the plug-in's dialog.
bool ShowPluginConfiguration(Screen& screen, std::string* error);
// A warning box with the text of an error.
void ShowError(Screen& screen, const std::string& error);

}  // namespace twhost
