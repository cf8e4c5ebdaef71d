// The script's commands for the viewer, the editor's numbered bookmarks and
// the character tables: actions that press the host's keys or change what
// the host itself holds, and checks of the viewers, the editor and the
// position file's items. Each returns false with `error` set when it
// cannot be done or the check fails.
#pragma once

#include <string>

#include "script/script_support.h"

namespace twhost {

// ---- Actions ----
bool CmdView(const Args& args, std::string* error);
bool CmdViewerKey(const Args& args, std::string* error);
bool CmdViewerNext(const Args& args, std::string* error);
bool CmdCloseViewer(const Args& args, std::string* error);
bool CmdSwitchViewer(const Args& args, std::string* error);
bool CmdViewerTable(const Args& args, std::string* error);
bool CmdViewers(const Args& args, std::string* error);
bool CmdBookmark(const Args& args, std::string* error);
bool CmdTable(const Args& args, std::string* error);
bool CmdHostBookmarks(const Args& args, std::string* error);
bool CmdHostTable(const Args& args, std::string* error);
bool CmdHostTables(const Args& args, std::string* error);
bool CmdHostSavePosition(const Args& args, std::string* error);
// The plug-in's menu from the viewer that has the focus (OPEN_VIEWER).
bool CmdViewerMenu(const Args& args, std::string* error);

// ---- Checks ----
bool CmdExpectViewer(const Args& args, std::string* error);
bool CmdExpectViewers(const Args& args, std::string* error);
bool CmdExpectBookmarks(const Args& args, std::string* error);
bool CmdExpectTable(const Args& args, std::string* error);
bool CmdExpectSavePosition(const Args& args, std::string* error);
bool CmdExpectCfgViewerItem(const Args& args, std::string* error);
bool CmdExpectCfgBookmarks(const Args& args, std::string* error);
bool CmdExpectCfgTable(const Args& args, std::string* error);

}  // namespace twhost
