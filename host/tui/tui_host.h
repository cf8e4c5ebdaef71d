// The full-screen host's screens: the panels (tui_panels.cpp), the editor
// (tui_editor.cpp), and the host's menus of plug-in commands.
#pragma once

#include <string>

namespace twhost {

// Opens the file in the editor until the user closes it.
bool EditFile(const std::string& path, std::string* error);
// F11: the host's list of plug-in commands, and the plug-in's menu.
bool ShowPluginCommands(bool fromEditor, std::string* error);
// Alt+Shift+F9: the host's list of plug-in settings, and the plug-in's dialog.
bool ShowPluginConfiguration(std::string* error);
// A warning box with the text of an error.
void ShowError(const std::string& error);

}  // namespace twhost
