// The script's commands that act: editor moves, calls of the plug-in's
// exports, files, the position file rewritten by "another host", and the
// host's own settings. Each prints what it did; false with `error` set when
// it cannot be done.
#pragma once

#include <string>

#include "script/script_support.h"

namespace twhost {

bool CmdInfo(const Args& args, std::string* error);
bool CmdMenu(const Args& args, std::string* error);
bool CmdPanelsMenu(const Args& args, std::string* error);
bool CmdConfigure(const Args& args, std::string* error);
bool CmdOpen(const Args& args, std::string* error);
bool CmdGoto(const Args& args, std::string* error);
bool CmdTop(const Args& args, std::string* error);
bool CmdLeft(const Args& args, std::string* error);
bool CmdOvertype(const Args& args, std::string* error);
bool CmdType(const Args& args, std::string* error);
bool CmdSave(const Args& args, std::string* error);
bool CmdClose(const Args& args, std::string* error);
bool CmdSwitch(const Args& args, std::string* error);
bool CmdEditors(const Args& args, std::string* error);
bool CmdRestart(const Args& args, std::string* error);
bool CmdQuit(const Args& args, std::string* error);
bool CmdMakeFile(const Args& args, std::string* error);
bool CmdDeleteFile(const Args& args, std::string* error);
bool CmdShow(const Args& args, std::string* error);
bool CmdShowCfg(const Args& args, std::string* error);
bool CmdCfgPath(const Args& args, std::string* error);
bool CmdExternalEdit(const Args& args, std::string* error);
bool CmdExternalEditFile(const Args& args, std::string* error);
bool CmdSetPath(const Args& args, std::string* error);
bool CmdLanguage(const Args& args, std::string* error);
bool CmdWait(const Args& args, std::string* error);
bool CmdTrace(const Args& args, std::string* error);
bool CmdEcho(const Args& args, std::string* error);

}  // namespace twhost
