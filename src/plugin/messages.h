// The numbers of the plug-in's messages. The host hands out the n-th text
// of the active language file (lang/TarnwickEng.lng, lang/TarnwickRus.lng)
// as message n, so every language file holds exactly kMsgCount texts in
// this order.
#pragma once

namespace tarnwick {
namespace plugin {

enum Message : int {
    kMsgTitle = 0,  // the plug-in's title: menus, message boxes, the dialog's frame

    // The plug-in's menu.
    kMsgMenuStore = 1,      // store the position (no position known yet)
    kMsgMenuUpdate = 2,     // the same command when a position is known
    kMsgMenuRestore = 3,    // restore the stored position
    kMsgMenuList = 4,       // the list of saved positions
    kMsgMenuPurge = 5,      // remove the entries of missing files
    kMsgMenuConfigure = 6,  // the configuration dialog

    kMsgListBottom = 7,  // bottom line of the list of saved positions: its keys

    // The configuration dialog's check boxes and label.
    kMsgDialogShowInPanels = 8,   // show the plug-in in the panels' plug-in menu
    kMsgDialogAutomatic = 9,      // restore on open, store on save and close
    kMsgDialogRemoveAtExit = 10,  // remove entries of missing files at exit
    kMsgDialogCheckMask = 11,     // check names against the mask (field beside it)
    kMsgDialogPositionFile = 12,  // label of the position-file path field

    // Message boxes.
    kMsgAskDelete = 13,       // question before an entry of the list is deleted
    kMsgNothingStored = 14,   // the list has nothing to show
    kMsgLastDeleted = 15,     // the list's last entry was deleted
    kMsgPurgeReport = 16,     // entries removed by the purge: one "%d", the count

    // The configuration dialog's buttons.
    kMsgDialogOk = 17,
    kMsgDialogCancel = 18,

    kMsgCount = 19,  // how many texts a language file holds
};

}  // namespace plugin
}  // namespace tarnwick
