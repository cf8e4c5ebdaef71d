// The script's checks: the editors, the position file, the files on disk,
// the results of the exports and the UI the plug-in showed. Each returns
// false with the failure in `error`; checks of the UI given while answers
// are queued (or with "next") wait for the next UI shown.
#pragma once

#include <string>

#include "script/script_support.h"

namespace twhost {

bool CmdExpectPos(const Args& args, std::string* error);
bool CmdExpectEditors(const Args& args, std::string* error);
bool CmdExpectWalk(const Args& args, std::string* error);
bool CmdExpectCfgText(const Args& args, std::string* error);
bool CmdExpectCfgItem(const Args& args, std::string* error);
bool CmdExpectCfgItems(const Args& args, std::string* error);
bool CmdExpectFile(const Args& args, std::string* error);
bool CmdExpectReturn(const Args& args, std::string* error);
// expect-root-key KEY: the root key the plug-in was given; one '*' in KEY
// stands for any run of characters (a per-run part).
bool CmdExpectRootKey(const Args& args, std::string* error);
bool CmdExpectPluginFlags(const Args& args, std::string* error);
bool CmdExpectMenuCount(const Args& args, std::string* error);
bool CmdExpectMenuItem(const Args& args, std::string* error);
bool CmdExpectMenuMarked(const Args& args, std::string* error);
bool CmdExpectMenuText(const Args& args, std::string* error);
bool CmdExpectMessage(const Args& args, std::string* error);
bool CmdExpectMessageKind(const Args& args, std::string* error);
bool CmdExpectDialogCheck(const Args& args, std::string* error);
bool CmdExpectDialogField(const Args& args, std::string* error);
bool CmdExpectShown(const Args& args, std::string* error);
bool CmdHostCheckMask(const Args& args, std::string* error);
bool CmdHostCheckTrunc(const Args& args, std::string* error);

}  // namespace twhost
