// The editor's character table at a restore: shown in the stored table
// when the host can, and the stored table kept in the entry when it
// cannot (the host has no table of that name, or cannot tell its own).
#pragma once

#include "plugin/editor_table.h"
#include "plugin/host.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace plugin {

struct Module;

// The same table by kind and number (names aside).
bool SameTable(const store::CharTableChoice& a, const store::CharTableChoice& b);

// Shows the current editor in the stored table when it shows another one
// and the host still has it; a table it no longer has is left alone, and so
// is an editor whose table cannot be told (the 3.x host's layer shows ANSI
// and UTF-8 alike: its own choice stands). False when the stored table was
// left alone so, or the host refused the change.
bool RestoreTable(Module& m, const CurrentEditor& editor, const store::CharTableChoice& stored);

// The table a snapshot of a followed editor records, into `*table`: the
// stored one it could not be shown in (record->KeptTable), while it shows
// the table it opened with (record->OpenedTable), so that the host that has
// that table, or can tell it, finds it again. A table chosen since ends the
// keeping.
void KeepTable(EditorRecord* record, store::CharTableChoice* table);

}  // namespace plugin
}  // namespace tarnwick
