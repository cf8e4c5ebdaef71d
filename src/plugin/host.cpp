#include "plugin/host.h"
#include "plugin/module.h"

#include <cstddef>
#include <cstdint>

#include "plugin/mask_match.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

// The standard functions the plug-in calls live in the table's first slots,
// up to ProcessName; a table that ends before it cannot be used.
constexpr std::size_t kUsedFunctionsSize =
    offsetof(FarStandardFunctions, ProcessName) + sizeof(FarProcessNameFn);

bool ServicesPresent(const PluginStartupInfo& info, const FarStandardFunctions& functions) {
    return info.Menu != nullptr && info.Dialog != nullptr && info.Message != nullptr &&
           info.GetMsg != nullptr && info.EditorControl != nullptr && functions.itoa != nullptr &&
           functions.sscanf != nullptr && functions.LStrlwr != nullptr && functions.LStricmp != nullptr &&
           functions.LStrnicmp != nullptr && functions.Unquote != nullptr &&
           functions.TruncPathStr != nullptr && functions.ProcessName != nullptr;
}

}  // namespace

bool TakeHostTables(Module& m, const PluginStartupInfo* info) {
    m.HostTooOld = 1;
    m.HostReady = false;
    if (info == nullptr || info->StructSize < kStartupInfoSize) return false;
    const FarStandardFunctions* functions = info->FSF;
    if (functions == nullptr || functions->StructSize < static_cast<int>(kUsedFunctionsSize)) return false;

    PluginStartupInfo infoCopy;
    FarStandardFunctions functionsCopy;
    FillBytes(&infoCopy, 0, sizeof infoCopy);
    FillBytes(&functionsCopy, 0, sizeof functionsCopy);
    CopyBytes(&infoCopy, info, sizeof infoCopy);
    // A table of an older layout is taken as far as it goes; the rest stays null.
    std::size_t functionsSize = static_cast<std::size_t>(functions->StructSize);
    if (functionsSize > sizeof functionsCopy) functionsSize = sizeof functionsCopy;
    CopyBytes(&functionsCopy, functions, functionsSize);
    if (!ServicesPresent(infoCopy, functionsCopy)) return false;

    CopyBytes(&m.HostInfo, &infoCopy, sizeof m.HostInfo);
    CopyBytes(&m.HostFunctions, &functionsCopy, sizeof m.HostFunctions);
    m.HostInfo.FSF = &m.HostFunctions;
    m.HostTooOld = 0;
    m.HostReady = true;
    m.Line = HostLineOf(m.HostInfo.RootKey);
    m.Comparison.Use(&m.HostFunctions);
    return true;
}

bool HostServicesReady(Module& m) { return m.HostReady; }

void ForgetHostTables(Module& m) {
    m.Comparison.Use(nullptr);
    FillBytes(&m.HostInfo, 0, sizeof m.HostInfo);
    FillBytes(&m.HostFunctions, 0, sizeof m.HostFunctions);
    m.HostTooOld = 0;
    m.HostReady = false;
    m.Line = HostLine::Far1;
}

const char* GetMsgText(Module& m, Message id) {
    if (!m.HostReady) return "";
    const char* text = m.HostInfo.GetMsg(m.HostInfo.ModuleNumber, id);
    return text != nullptr ? text : "";
}

int HostMenu(Module& m, const char* title, const char* bottom, const int* breakKeys, int* breakCode,
             const FarMenuItemEx* items, int count) {
    const DWORD_T flags = FMENU_WRAPMODE | FMENU_AUTOHIGHLIGHT | FMENU_USEEXT;
    return m.HostInfo.Menu(m.HostInfo.ModuleNumber, -1, -1, 0, flags, title, bottom, nullptr, breakKeys,
                         breakCode, items, count);
}

int HostMessage(Module& m, DWORD_T flags, const char* line) {
    const char* lines[2] = {GetMsgText(m, kMsgTitle), line != nullptr ? line : ""};
    return m.HostInfo.Message(m.HostInfo.ModuleNumber, flags, nullptr, lines, 2, 0);
}

int HostDialog(Module& m, int x1, int y1, int x2, int y2, FarDialogItem* items, int count) {
    return m.HostInfo.Dialog(m.HostInfo.ModuleNumber, x1, y1, x2, y2, nullptr, items, count);
}

namespace {

// Sets a choice to a table the host names by kind and number.
void ChooseTable(store::CharTableChoice* table, store::TableKind kind, std::int32_t number) {
    table->Kind = kind;
    table->Number = kind == store::TableKind::Code ? number : -1;
    table->Name[0] = '\0';
}

// Unsaved changes in the 1.7x host: modified and not just saved. In the
// 3.x host's layer "modified" means "written at least once", so a file
// edited and never saved shows neither bit: only "saved" tells.
bool UnsavedChanges(HostLine line, DWORD_T state) {
    if (line == HostLine::Far3Layer) return (state & ECSTATE_SAVED) == 0;
    return (state & ECSTATE_MODIFIED) != 0 && (state & ECSTATE_SAVED) == 0;
}

// The 3.x host's layer numbers code pages: 0 the OEM one, 1 ANSI or any
// multi-byte one (which cannot be told apart: the table stays unknown and
// is neither stored nor changed), 2 and up its favourites, which it names
// (with the page's number) and finds again by name. A page below -1 has no
// name to find it by.
void ChooseLayerTable(store::CharTableChoice* table, std::int32_t number) {
    if (number == 0) {
        ChooseTable(table, store::TableKind::Oem, -1);
    } else if (number >= 2) {
        ChooseTable(table, store::TableKind::Code, number);
    } else {
        ChooseTable(table, store::TableKind::Unknown, -1);
    }
}

// ECTL_SETPARAM's value for a table: 1 OEM, 2 ANSI, k + 3 code table k.
std::int32_t TableParameter(store::TableKind kind, std::int32_t number) {
    if (kind == store::TableKind::Ansi) return 2;
    if (kind == store::TableKind::Code && number >= 0 && number < 0x7FFFFFF0) return number + 3;
    return 1;
}

// The most code tables a host is asked about when a name is looked for.
constexpr std::int32_t kMostCodeTables = 256;
// The most unnamed numbers in a row that the 3.x host's layer is asked
// past (its multi-byte favourites).
constexpr std::int32_t kMostLayerGaps = 8;

bool EditorParameter(Module& m, int type, std::int32_t value) {
    EditorSetParameter parameter;
    FillBytes(&parameter, 0, sizeof parameter);
    parameter.Type = type;
    parameter.Param = value;
    return m.HostInfo.EditorControl(ECTL_SETPARAM, &parameter) != 0;
}

}  // namespace

void HostCurrentEditor(Module& m, CurrentEditor* editor) {
    EditorInfo info;
    FillBytes(&info, 0, sizeof info);
    const bool answered = m.HostInfo.EditorControl(ECTL_GETINFO, &info) != 0;
    const store::StoredPlace empty = store::EmptyPlace();
    editor->Place = empty.Editor;
    editor->Id = info.EditorID;
    editor->FileName = info.FileName;
    editor->Place.Line = info.CurLine;
    editor->Place.Column = info.CurPos;
    editor->Place.Top = info.TopScreenLine;
    editor->Place.Left = info.LeftPos;
    editor->Place.Overtype = info.Overtype;
    editor->Dirty = UnsavedChanges(m.Line, info.CurState);
    editor->TotalLines = info.TotalLines;
    editor->Options = info.Options;
    if (!answered) return;
    if (m.Line == HostLine::Far3Layer) {
        ChooseLayerTable(&editor->Place.Table, info.TableNum);
    } else if (info.AnsiMode != 0) {
        ChooseTable(&editor->Place.Table, store::TableKind::Ansi, -1);
    } else if (info.TableNum >= 0) {
        ChooseTable(&editor->Place.Table, store::TableKind::Code, info.TableNum);
    } else {
        ChooseTable(&editor->Place.Table, store::TableKind::Oem, -1);
    }
}

void HostSetEditorPlace(Module& m, const store::EditorPlace& place) {
    EditorSetPosition position;
    position.CurLine = place.Line;
    position.CurPos = place.Column;
    position.CurTabPos = -1;
    position.TopScreenLine = place.Top;
    position.LeftPos = place.Left;
    position.Overtype = place.Overtype;
    m.HostInfo.EditorControl(ECTL_SETPOSITION, &position);
}

bool HostEditorBookmarks(Module& m, store::Bookmarks* marks) {
    std::int32_t line[kBookmarkSlots], cursor[kBookmarkSlots], screenLine[kBookmarkSlots], left[kBookmarkSlots];
    for (int i = 0; i < kBookmarkSlots; ++i) line[i] = cursor[i] = screenLine[i] = left[i] = -1;
    EditorBookMarks query;
    FillBytes(&query, 0, sizeof query);
    query.Line = line;
    query.Cursor = cursor;
    query.ScreenLine = screenLine;
    query.LeftPos = left;
    *marks = store::NoBookmarks();
    if (m.HostInfo.EditorControl(ECTL_GETBOOKMARKS, &query) == 0) return false;
    static_assert(kBookmarkSlots == store::kBookmarkCount, "the host's slots are the store's");
    for (int i = 0; i < kBookmarkSlots; ++i) {
        if (line[i] >= 0) marks->Slot[i] = store::Bookmark{line[i], cursor[i], screenLine[i], left[i]};
    }
    return true;
}

void HostSetBookmark(Module& m, int slot, const store::Bookmark& mark, std::int32_t overtype) {
    if (slot < 0 || slot >= kBookmarkSlots || !store::IsSet(mark)) return;
    EditorSetPosition position;
    position.CurLine = mark.Line;
    position.CurPos = mark.Cursor;
    position.CurTabPos = -1;
    // The row below the top is what the key records: put the top there.
    position.TopScreenLine = mark.ScreenLine >= 0 && mark.ScreenLine <= mark.Line ? mark.Line - mark.ScreenLine : mark.Line;
    position.LeftPos = mark.Left;
    position.Overtype = overtype;
    m.HostInfo.EditorControl(ECTL_SETPOSITION, &position);
    // The key code itself is the parameter, not a pointer to it.
    const INT_PTR_T key = static_cast<INT_PTR_T>(KEY_RCTRL0 + static_cast<DWORD_T>(slot));
    m.HostInfo.EditorControl(ECTL_PROCESSKEY, reinterpret_cast<void*>(key));
}

bool HostEditorLine(Module& m, std::int32_t line, LineText* text) {
    EditorGetString query;
    FillBytes(&query, 0, sizeof query);
    query.StringNumber = line;
    if (m.HostInfo.EditorControl(ECTL_GETSTRING, &query) == 0 || query.StringText == nullptr) return false;
    text->Text = query.StringText;
    text->Length = query.StringLength > 0 ? query.StringLength : 0;
    return true;
}

bool EditorLines::Read(std::int32_t line, LineText* text) {
    const std::int32_t distance = line > cursor_ ? line - cursor_ : cursor_ - line;
    if (distance > kNearCursor) {
        // Past the line in the direction of the reads: the next ones are
        // near the cursor too.
        std::int32_t target = line > cursor_ ? line + kNearCursor : line - kNearCursor;
        if (target >= total_) target = total_ - 1;
        if (target < 0) target = 0;
        EditorSetPosition position;
        position.CurLine = target;
        position.CurPos = 0;
        position.CurTabPos = -1;
        position.TopScreenLine = target;
        position.LeftPos = 0;
        position.Overtype = -1;
        if (m_.HostInfo.EditorControl(ECTL_SETPOSITION, &position) == 0) return false;
        cursor_ = target;
    }
    return HostEditorLine(m_, line, text);
}

void HostNameTable(Module& m, store::CharTableChoice* table) {
    table->Name[0] = '\0';
    if (table->Kind != store::TableKind::Code || table->Number < 0 || m.HostInfo.CharTable == nullptr) return;
    CharTableSet set;
    FillBytes(&set, 0, sizeof set);
    if (m.HostInfo.CharTable(table->Number, reinterpret_cast<char*>(&set), kCharTableSetSize) != table->Number) return;
    set.TableName[sizeof set.TableName - 1] = '\0';
    CopyBounded(table->Name, set.TableName, sizeof table->Name);
}

std::int32_t HostFindTable(Module& m, const store::CharTableChoice& table) {
    if (table.Kind != store::TableKind::Code || table.Name[0] == '\0') return -1;
    store::CharTableChoice probe;
    ChooseTable(&probe, store::TableKind::Code, table.Number);
    HostNameTable(m, &probe);
    if (probe.Name[0] != '\0' && SameText(probe.Name, table.Name)) return table.Number;
    // The 1.7x host numbers its tables without gaps: the first missing one
    // ends them. The 3.x host's layer names no multi-byte code page, which
    // may stand among its favourites: a few gaps in a row end them there.
    const std::int32_t gapsAllowed = m.Line == HostLine::Far3Layer ? kMostLayerGaps : 0;
    std::int32_t gaps = 0;
    for (std::int32_t k = 0; k < kMostCodeTables; ++k) {
        if (k == table.Number) continue;
        ChooseTable(&probe, store::TableKind::Code, k);
        HostNameTable(m, &probe);
        if (probe.Name[0] == '\0') {
            if (++gaps > gapsAllowed) return -1;
            continue;
        }
        gaps = 0;
        if (SameText(probe.Name, table.Name)) return k;
    }
    return -1;
}

bool HostSetEditorTable(Module& m, store::TableKind kind, std::int32_t number, std::int32_t options) {
    const bool changed = EditorParameter(m, ESPT_CHARTABLE, TableParameter(kind, number));
    // The 1.7x host's table change falls through into the "save file
    // position" option and sets it to the table's value: put it back as it
    // was. The 3.x host's layer keeps the two apart.
    if (m.Line == HostLine::Far3Layer) return changed;
    EditorParameter(m, ESPT_SAVEFILEPOSITION, (options & EOPT_SAVEFILEPOSITION) != 0 ? 1 : 0);
    return changed;
}

bool EventId(const void* param, std::int32_t* id) {
    if (param == nullptr) return false;
    CopyBytes(id, param, sizeof *id);
    return true;
}

bool HostCurrentViewer(Module& m, CurrentViewer* viewer) {
    viewer->Id = 0;
    viewer->FileName = nullptr;
    viewer->Place = store::EmptyPlace().Viewer;
    if (m.HostInfo.ViewerControl == nullptr) return false;
    ViewerInfo info;
    FillBytes(&info, 0, sizeof info);
    info.StructSize = static_cast<int>(sizeof info);
    if (m.HostInfo.ViewerControl(VCTL_GETINFO, &info) == 0) return false;
    viewer->Id = info.ViewerID;
    viewer->FileName = info.FileName;
    const ViewerMode& mode = info.CurMode;
    // The 1.7x host counts 2-byte characters in Unicode mode; the 3.x host's
    // layer counts bytes always.
    const std::int64_t unit = mode.Unicode != 0 && m.Line == HostLine::Far1 ? 2 : 1;
    viewer->Place.Offset = info.FilePos >= 0 && info.FilePos <= INT64_MAX / 2 ? info.FilePos * unit : 0;
    viewer->Place.Left = info.LeftPos;
    viewer->Place.Hex = mode.Hex != 0 ? 1 : 0;
    viewer->Place.Wrap = mode.Wrap == 0 ? store::kWrapOff : mode.WordWrap != 0 ? store::kWrapWords : store::kWrapLines;
    if (mode.Unicode != 0) {
        ChooseTable(&viewer->Place.Table, store::TableKind::Unicode, -1);
    } else if (mode.AnsiMode != 0 || mode.TableNum == -2) {
        ChooseTable(&viewer->Place.Table, store::TableKind::Ansi, -1);
    } else if (m.Line == HostLine::Far3Layer) {
        // The layer's TableNum is always 0: OEM and any other page alike.
        ChooseTable(&viewer->Place.Table, store::TableKind::Unknown, -1);
    } else if (mode.TableNum >= 0) {
        ChooseTable(&viewer->Place.Table, store::TableKind::Code, mode.TableNum);
    } else {
        ChooseTable(&viewer->Place.Table, store::TableKind::Oem, -1);
    }
    return true;
}

namespace {

void ViewerMode(Module& m, int type, std::int32_t on) {
    ViewerSetMode mode;
    FillBytes(&mode, 0, sizeof mode);
    mode.Type = type;
    mode.Param = on;
    mode.Flags = VSMFL_REDRAW;
    m.HostInfo.ViewerControl(VCTL_SETMODE, &mode);
}

}  // namespace

void HostSetViewerPlace(Module& m, const CurrentViewer& now, const store::ViewerPlace& place) {
    if (m.HostInfo.ViewerControl == nullptr) return;
    const std::int32_t hex = place.Hex != 0 ? 1 : 0;
    if (hex != now.Place.Hex) ViewerMode(m, VSMT_HEX, hex);
    if (place.Wrap != now.Place.Wrap) {
        // Word wrap is a kind of wrap: the host shows it only with wrap on.
        ViewerMode(m, VSMT_WORDWRAP, place.Wrap == store::kWrapWords ? 1 : 0);
        ViewerMode(m, VSMT_WRAP, place.Wrap != store::kWrapOff ? 1 : 0);
    }
    // The 1.7x host counts 2-byte characters in Unicode mode.
    const bool unicode = now.Place.Table.Kind == store::TableKind::Unicode && m.Line == HostLine::Far1;
    std::int64_t start = place.Offset > 0 ? place.Offset : 0;
    if (unicode) start /= 2;
    // Outside hex mode the host moves an offset back to the start of its
    // line, and one that already starts a line to the line before: one past
    // a line's start comes back to that start exactly.
    if (hex == 0 && start > 0 && start < INT64_MAX) ++start;
    ViewerSetPosition position;
    FillBytes(&position, 0, sizeof position);
    position.Flags = VSP_NORETNEWPOS;
    position.StartPos = start;
    position.LeftPos = place.Left > 0 ? place.Left : 0;
    m.HostInfo.ViewerControl(VCTL_SETPOSITION, &position);
}

void HostScanInt(Module& m, const char* text, std::int32_t* value) {
    int converted = *value;
    if (m.HostFunctions.sscanf(text, "%d", &converted) == 1) *value = converted;
}

void HostIntToText(Module& m, int value, char* buffer) {
    FillBytes(buffer, 0, kItoaBufferSize);
    m.HostFunctions.itoa(value, buffer, 10);
    buffer[kItoaBufferSize - 1] = '\0';
}

void HostLowerCase(Module& m, char* text) { m.HostFunctions.LStrlwr(text); }

void HostUnquote(Module& m, char* text) { m.HostFunctions.Unquote(text); }

void HostTruncatePath(Module& m, char* path, int maxLength) { m.HostFunctions.TruncPathStr(path, maxLength); }

bool HostMatchMaskList(Module& m, const char* masks, const char* name) {
    return MatchMaskListSafely(m.Env, m.HostFunctions, masks, name, m.Line == HostLine::Far3Layer);
}

}  // namespace plugin
}  // namespace tarnwick
