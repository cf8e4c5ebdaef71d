// The module's copies of the host's service tables and the thin wrappers
// through which the rest of the plug-in reaches the host.
//
// SetStartupInfo hands over a PluginStartupInfo record and, through it, the
// FarStandardFunctions table. Both are copied once and used for the life of
// the module. A host whose record is too small (or whose tables lack a
// service the plug-in calls) is "too old": nothing is taken, and from then
// on no host service is ever called. Every wrapper below must only be used
// while HostServicesReady() is true; the exports check it first.
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"
#include "plugin/messages.h"
#include "plugin/text_place.h"
#include "store/stored_place.h"

namespace tarnwick {
namespace plugin {

struct Module;

// Copies the host's record and standard-function table into the module.
// Sets m.HostTooOld to 1 first and back to 0 only when both tables were
// taken. On success also makes the module's comparison the host's
// (LStricmp, LStrnicmp). Returns true when the tables were taken.
bool TakeHostTables(Module& m, const PluginStartupInfo* info);

// True after a successful TakeHostTables: the host's services may be called.
bool HostServicesReady(Module& m);

// Forgets the host's tables (all zero, m.HostTooOld 0); the module's
// comparison goes back to ASCII letters only. For the module's reset
// between test cases.
void ForgetHostTables(Module& m);

// The text of message `id` of this module; "" when the host has none (a
// short language file) or when no host tables were taken. Never null.
const char* GetMsgText(Module& m, Message id);

// Host menu centred on the screen with the flags the plug-in always uses
// (wrap mode, auto-highlight, extended items). `bottom` and `breakKeys` may
// be null. Returns the chosen index or a negative value on cancel.
int HostMenu(Module& m, const char* title, const char* bottom, const int* breakKeys, int* breakCode,
             const FarMenuItemEx* items, int count);

// Two-line message box: the title (kMsgTitle) and `line`. Returns the
// pressed button, 0 for OK or Yes.
int HostMessage(Module& m, DWORD_T flags, const char* line);

// Host dialog with no help topic. Returns the index of the closing item.
int HostDialog(Module& m, int x1, int y1, int x2, int y2, FarDialogItem* items, int count);

// The current editor as the plug-in follows it.
struct CurrentEditor {
    std::int32_t Id;
    // The file's name, the host's own string: valid until the next call of
    // the host; null when the host gave none.
    const char* FileName;
    // The cursor, screen and mode, and the table's kind and number (its
    // name is not looked up: Table.Name is empty). No bookmarks: see
    // HostEditorBookmarks.
    store::EditorPlace Place;
    // Unsaved changes: modified and not just saved.
    bool Dirty;
    std::int32_t TotalLines;
    // EditorInfo.Options (EOPT_SAVEFILEPOSITION among them).
    std::int32_t Options;
};

// The current editor's state (ECTL_GETINFO). A failing call leaves Id 0, a
// null FileName and a zero place with no bookmarks and the table Unknown.
void HostCurrentEditor(Module& m, CurrentEditor* editor);

// Moves the current editor to `place`'s cursor and screen (ECTL_SETPOSITION,
// leaving the tab position to the host). The host's result is not looked at.
void HostSetEditorPlace(Module& m, const store::EditorPlace& place);

// The current editor's numbered bookmarks (ECTL_GETBOOKMARKS); false, and
// every slot unset, when the host gives none.
bool HostEditorBookmarks(Module& m, store::Bookmarks* marks);

// Sets bookmark `slot` of the current editor to `mark` the way the host's
// own key does: moves there (ECTL_SETPOSITION) and sends RightCtrl+slot
// (ECTL_PROCESSKEY). The editor is left at the bookmark, in the `overtype`
// mode it is in.
void HostSetBookmark(Module& m, int slot, const store::Bookmark& mark, std::int32_t overtype);

// Line `line` of the current editor (ECTL_GETSTRING) as the host holds it:
// `text` points into the host's buffer, valid until the editor's text
// changes. False when the host answers none (a line past the end, or the
// editor closing).
bool HostEditorLine(Module& m, std::int32_t line, LineText* text);

// The current editor's lines for the text search, read the way the 1.75
// host reads them cheaply: that host walks its list of lines from the
// cursor's line (or from the first line) to the one asked for, so the
// cursor is moved along with the reads (ECTL_SETPOSITION, itself a walk
// from the cursor's line) whenever a line lies more than kNearCursor lines
// from it, to kNearCursor lines past it in the direction of the reads.
// Reading n lines in order then costs about n * (kNearCursor / 2 + 1)
// steps of the host's walk, and n / (2 kNearCursor + 1) moves, instead of
// n * n / 2 steps. The editor is left wherever the reads took it.
class EditorLines : public LineSource {
public:
    static constexpr std::int32_t kNearCursor = 2;
    // `cursor` is the editor's cursor line now, `total` its number of lines.
    EditorLines(Module& m, std::int32_t cursor, std::int32_t total) : m_(m), cursor_(cursor), total_(total) {}
    bool Read(std::int32_t line, LineText* text) override;

private:
    Module& m_;
    std::int32_t cursor_;
    std::int32_t total_;
};

// Fills `table->Name` for a code table from the CharTable service (empty
// when the host has no table of that number or no service).
void HostNameTable(Module& m, store::CharTableChoice* table);

// The number of the host's code table named `table.Name` (its Number is
// tried first; names are the host's registry names, compared byte for
// byte), or -1 when the host has no such table now.
std::int32_t HostFindTable(Module& m, const store::CharTableChoice& table);

// Switches the current editor to `table` (ECTL_SETPARAM, ESPT_CHARTABLE;
// code table `number` for a Code table) and puts the editor's own "save
// file position" option back as `options` had it: the host's call also
// sets that option (a fault of the 1.75 host). True when the table changed.
bool HostSetEditorTable(Module& m, store::TableKind kind, std::int32_t number, std::int32_t options);

// The id an editor's or a viewer's close or focus event carries (Param
// points at it); false for a null Param.
bool EventId(const void* param, std::int32_t* id);

// The current viewer as the plug-in follows it.
struct CurrentViewer {
    std::int32_t Id;
    const char* FileName;  // as CurrentEditor's; null when the host gave none
    // Offset in bytes (FilePos doubled in Unicode mode), first column, modes
    // and table (name not looked up).
    store::ViewerPlace Place;
};

// The current viewer's state (VCTL_GETINFO). False, with Id 0 and a null
// FileName, when the host answers nothing (no viewer, or the host is
// closing).
bool HostCurrentViewer(Module& m, CurrentViewer* viewer);

// Puts the current viewer, described by `now`, at `place`: its hex and wrap
// modes (VCTL_SETMODE) and then its offset and first column
// (VCTL_SETPOSITION, allowing for the host's rule that moves an offset
// outside hex mode back to a line's start). The viewer's table is not
// changed: the host has no call for it.
void HostSetViewerPlace(Module& m, const CurrentViewer& now, const store::ViewerPlace& place);

// Parses a decimal number with the host's sscanf and "%d"; `*value` keeps
// its value when nothing is converted.
void HostScanInt(Module& m, const char* text, std::int32_t* value);

// Decimal text of `value` by the host's itoa into `buffer` (at least 34
// bytes, the most any radix-10 conversion of a 32-bit number needs with
// room to spare).
constexpr int kItoaBufferSize = 34;
void HostIntToText(Module& m, int value, char* buffer);

void HostLowerCase(Module& m, char* text);
void HostUnquote(Module& m, char* text);
// Shortens a path in place to at most `maxLength` characters.
void HostTruncatePath(Module& m, char* path, int maxLength);
// True when `name` matches one of the masks of the list `masks`.
bool HostMatchMaskList(Module& m, const char* masks, const char* name);

}  // namespace plugin
}  // namespace tarnwick
