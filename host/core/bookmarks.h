// The editor's ten numbered bookmarks as the real host keeps them: set at
// the cursor by RightCtrl+n (Ctrl+Shift+n is turned into it), gone to by
// Ctrl+n, their lines moved when lines are inserted or deleted above them.
#pragma once

#include <string>

#include "core/editors.h"

namespace twhost {

// The host's key codes beyond the bookmark keys of host_abi.h.
constexpr tarnwick::DWORD_T kKeyF8 = 0x77;
constexpr tarnwick::DWORD_T kKeyShiftF8 = 0x04000077;

// Slot n of the key: 0..9 for KEY_RCTRL0 + n and KEY_CTRLSHIFT0 + n (set)
// or KEY_CTRL0 + n (go); -1 for any other key.
int SetBookmarkSlot(tarnwick::DWORD_T key);
int GoBookmarkSlot(tarnwick::DWORD_T key);

// Slot n takes the cursor's line and position, its row in the window and
// the first column.
void SetBookmark(SimEditor& editor, int slot);
// Moves to slot n as Ctrl+n does; false (nothing moves) when it is unset.
bool GoToBookmark(SimEditor& editor, int slot);
// Lines were inserted (count > 0) after `line`, or `-count` lines were
// deleted starting at `line`: the slots below move with their text, a slot
// on a deleted line goes to the line before.
void MoveBookmarks(SimEditor& editor, int line, int count);

// "0:12,4,3,0 5:40,0,10,0", the set slots only; "none" when none is set.
std::string DescribeBookmarks(const SimEditor& editor);
// Reads that form ("none" for no slots); false, with the reason, otherwise.
bool ParseBookmarks(const std::string& text, EditorMark (&marks)[tarnwick::kBookmarkSlots], std::string* error);

}  // namespace twhost
