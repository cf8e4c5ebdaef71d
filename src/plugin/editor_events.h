// The plug-in's main work: following the host's editor events.
//
// For every editor whose file has a stored position (or that the user
// stored by hand, or whose name matches the mask list) the plug-in keeps
// one EditorRecord (plugin/editor_table.h). With Automatic on it moves a newly opened editor to the
// stored position, follows the cursor while the user works and writes the
// position into the position file when the file is saved and when the
// editor closes. Closing writes the last position seen while the file had
// no unsaved changes, so edits that are thrown away leave the position that
// matches the file on disk.
#pragma once

#include <cstdint>

namespace tarnwick {
namespace plugin {

struct Module;

// The operations on the host's current editor.
enum class PositionMode : std::int32_t {
    Reload = 0,   // re-read and merge the position file if it changed on disk
    Track = 1,    // refresh the record of an editor already tracked
    Store = 2,    // record the position, write it into the position file, save
    Restore = 3,  // move the editor to its record's restore position
    Load = 4,     // read the stored position and start tracking the editor (from the
                  // position file as the last Reload left it: callers reload first)
};

// Runs one operation on the current editor. Returns:
//   Reload: the result of reloading the position file;
//   Track, Restore: false when the editor has no record;
//   Store: false when the item can be neither updated nor added (the
//     editor is then untracked);
//   Load: false when the file has no stored item.
// An editor whose file name is missing or does not fit a kPathSize-byte
// path is never tracked or stored: Track, Store and Load return false for
// it. A value outside the enumeration returns false.
bool PositionOp(Module& m, PositionMode mode);

// Handles one editor event (read, save, redraw, close); other events do
// nothing. For a close, `param` points at the closing editor's id.
void HandleEditorEvent(Module& m, int event, void* param);

}  // namespace plugin
}  // namespace tarnwick
