// The configuration dialog: the six settings in one host dialog.
//
// The dialog is described by a constant table of compact rows, expanded
// into host dialog records on every call. When the user accepts it, the
// new values are kept in memory, all six are written to the registry, and
// the position file is saved at the path now chosen, after being brought in
// line with the file at that path. Cancel changes and writes nothing.
//
// The path field holds up to 511 characters; a path that, without its
// quotes, is longer than 259 characters cannot be a position-file path:
// it is refused and the previous path stays (and is written back as it is).
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"

namespace tarnwick {
namespace plugin {

struct Module;

// One control in compact form.
struct DialogTemplateRow {
    std::uint8_t Type;  // host dialog item type
    std::uint8_t X1;
    std::uint8_t Y1;
    std::uint8_t X2;
    std::uint8_t Y2;
    std::uint32_t Flags;      // host dialog item flags
    std::int8_t MessageId;    // message number of the control's text; -1 for none
};

constexpr int kConfigDialogRows = 12;

// Rows of the dialog's controls that the dialog reads and writes.
enum ConfigDialogRow {
    RowFrame = 0,
    RowShowInPanels = 1,
    RowAutomatic = 2,
    RowRemoveOld = 3,
    RowCheckMask = 4,
    RowMask = 5,
    RowCfgFile = 8,
    RowOk = 10,
    RowCancel = 11,
};

extern const DialogTemplateRow ConfigDialogTemplate[kConfigDialogRows];

// Fills the first `count` records from the first `count` rows: type,
// coordinates and flags from the row; Focus, Selected and DefaultButton 0;
// Data the row's message text (cut to fit), or empty for no message.
void ExpandDialogTemplate(Module& m, const DialogTemplateRow* rows, FarDialogItem* items, int count);

// Shows the dialog. Returns true when the user accepted it.
bool ShowConfigDialog(Module& m);

}  // namespace plugin
}  // namespace tarnwick
