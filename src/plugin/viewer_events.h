// Following the host's viewers: the place of a file in the viewer (offset,
// first column, hex and wrap modes, table) is stored and restored as the
// editor's is, in items of kind Viewer.
//
// With Automatic on, a viewer whose file has a stored place (or whose name
// matches the mask list, with CheckMask) is followed: it is moved to the
// stored place when it opens the file (VE_READ), its place is taken again
// whenever the host lets the plug-in see it (opening, focus changes), and
// when it leaves the file (VE_CLOSE, or a second VE_READ of the same viewer
// for the next or previous file) the place it was left at is written into
// the file's item. A viewer that was not moved since it opened the file
// writes nothing: reopening shows the same place anyway, and the
// quick-view panel, which sends the same events for every file the panel's
// cursor passes, neither adds items nor writes the position file while the
// user browses.
#pragma once

namespace tarnwick {
namespace plugin {

struct Module;

// Handles one viewer event (read, close, focus); other events do nothing.
// For a close or a focus change, `param` points at the viewer's id.
void HandleViewerEvent(Module& m, int event, void* param);

// The menu's store in the viewer: writes the current viewer's place into
// its file's item (a new one when it has none) and saves. False when there
// is no viewer or the item could not be stored.
bool StoreCurrentViewer(Module& m);
// The menu's restore in the viewer: moves the current viewer to its file's
// stored place. False when there is no viewer or no stored place.
bool RestoreCurrentViewer(Module& m);
// True when the current viewer's file has an item.
bool CurrentViewerKnown(Module& m);

}  // namespace plugin
}  // namespace tarnwick
