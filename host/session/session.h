// The life of the plug-in inside the host: setting up the work folder with
// the plug-in folder copied into it, the registry place, the language file,
// loading the module and handing it the PluginStartupInfo record, and the
// way out (editors closed, ExitFAR, unload, clean-up).
#pragma once

#include <string>

namespace twhost {

// Makes or takes the work folder and copies the module and its language
// files into <work>/Plugins/Tarnwick/.
bool PrepareWorkFolder(std::string* error);
// Chooses the root key and, natively, the registry folder.
void PrepareRegistry();
// Makes the language file `language` ("Eng", "Rus") the active one.
bool SelectLanguage(const std::string& language, std::string* error);

// Loads the module and calls SetStartupInfo with the host's record.
bool StartModule(std::string* error);
// Closes the open editors and viewers in the real host's order at exit
// (EE_CLOSE and VE_CLOSE each), calls ExitFAR and unloads the module. False when something of that failed; the module is gone anyway.
bool StopModule(std::string* error);

// Removes the per-run registry key and the temporary work folder. With
// `moduleInUse` the module is not unloaded first (a plug-in call is still
// running); its files may then stay behind.
void CleanUpHost(bool moduleInUse);

}  // namespace twhost
