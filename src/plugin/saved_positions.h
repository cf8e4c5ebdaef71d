// The list of saved positions: one menu line per stored editor position,
// "editor: <path shortened to 62 characters>", in the position file's
// order. Del asks and then deletes the entry at once from the document,
// from the editor table (so an open editor of that file does not write it
// back) and from the file on disk. Enter only takes the selection mark
// off; Esc ends the list.
//
// The entries are built once when the list opens: later reloads of the
// position file do not change what is shown, apart from the entries
// deleted in the list. An item whose path does not fit a 260-byte slot is
// not listed (a cut path could name another file).
#pragma once

namespace tarnwick {
namespace plugin {

struct Module;

// Shows the list until Esc, or until its last entry is deleted.
void ShowSavedPositions(Module& m);

}  // namespace plugin
}  // namespace tarnwick
