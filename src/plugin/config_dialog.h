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
#include "plugin/messages.h"

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
    std::int8_t MessageId;    // the Message of the control's text; kNoMessage for none
};

// A row whose control shows no message (a field, a separator).
constexpr std::int8_t kNoMessage = -1;

constexpr int kConfigDialogRows = 12;

// Rows of the dialog's controls that the dialog reads and writes.
enum ConfigDialogRow {
    kRowFrame = 0,
    kRowShowInPanels = 1,
    kRowAutomatic = 2,
    kRowRemoveOld = 3,
    kRowCheckMask = 4,
    kRowMask = 5,
    kRowCfgFile = 8,
    kRowOk = 10,
    kRowCancel = 11,
};

extern const DialogTemplateRow kConfigDialogTemplate[kConfigDialogRows];

// Fills the first `count` records from the first `count` rows: type,
// coordinates and flags from the row; Focus, Selected and DefaultButton 0;
// Data the row's message text (cut to fit), or empty for no message.
void ExpandDialogTemplate(Module& m, const DialogTemplateRow* rows, FarDialogItem* items, int count);

// Shows the dialog. Returns true when the user accepted it.
bool ShowConfigDialog(Module& m);

}  // namespace plugin
}  // namespace tarnwick
