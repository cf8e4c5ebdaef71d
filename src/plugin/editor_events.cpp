#include "plugin/editor_events.h"

#include "plugin/editor_tables.h"
#include "plugin/host.h"
#include "plugin/module.h"
#include "plugin/text_place.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using store::ItemKind;
using store::StoredPlace;
using store::TextFingerprint;

namespace {

// The editor's whole place: the cursor and screen, the bookmarks and the
// table by name. `known` is a place recorded before, whose table name is
// taken again while the editor shows the same table (no host call on
// every redraw); null when there is none.
StoredPlace PlaceOf(Module& m, const CurrentEditor& editor, const StoredPlace* known) {
    StoredPlace place = store::EmptyPlace();
    place.Editor = editor.Place;
    place.Editor.Print.Line = -1;  // no fingerprint tried yet (TakePrint)
    HostEditorBookmarks(m, &place.Editor.Marks);
    store::CharTableChoice& table = place.Editor.Table;
    if (table.Kind == store::TableKind::Code) {
        const store::CharTableChoice* before = known != nullptr ? &known->Editor.Table : nullptr;
        if (before != nullptr && before->Kind == table.Kind && before->Number == table.Number && before->Name[0] != '\0') {
            CopyBounded(table.Name, before->Name, sizeof table.Name);
        } else {
            HostNameTable(m, &table);
        }
        // A code table the host cannot name cannot be found again.
        if (table.Name[0] == '\0') table.Kind = store::TableKind::Unknown;
    }
    return place;
}

// The fingerprint of the text at the editor's cursor into `*place` (the
// snapshot of `editor`), without a stamp. `clean` is the record's last
// clean place when the editor was clean then and is now: while the cursor
// stays on its line (and the table stays) the text there cannot have
// changed, so its fingerprint, or its failure to take one, is taken over
// and nothing is read. Otherwise the kPrintLines lines around the cursor
// are read (ECTL_GETSTRING, next to the cursor: a few steps of the host's
// walk each). A host that gives no lines leaves no fingerprint, and is not
// asked again before the line changes.
void TakePrint(Module& m, const CurrentEditor& editor, const store::EditorPlace* clean, store::EditorPlace* place) {
    if (clean != nullptr && clean->Print.Line == editor.Place.Line && SameTable(clean->Table, place->Table)) {
        place->Print = clean->Print;
        return;
    }
    TextFingerprint print{};
    print.Line = editor.Place.Line;
    EditorLines lines(m, editor.Place.Line, editor.TotalLines);
    TakeHashes(lines, editor.TotalLines, editor.Place.Line, &print);
    place->Print = print;
}

// The size and last-write time of the file at `path` (asked of the
// environment by name, no editor call: also allowed at EE_CLOSE).
bool FileStamp(Module& m, const char* path, std::int64_t* size, std::int64_t* time) {
    platform::FileTime written;
    std::uint64_t bytes = 0;
    if (m.Env->StatFile(path, &bytes, &written) != platform::Status::Ok) return false;
    if (bytes > static_cast<std::uint64_t>(INT64_MAX)) return false;
    *size = static_cast<std::int64_t>(bytes);
    *time = static_cast<std::int64_t>(static_cast<std::uint64_t>(written.High) << 32 | written.Low);
    return *time > 0;
}

// Learns the stamp of the file that holds the record's clean text, when
// the editor saved it since: the host sends EE_SAVE before it writes, so
// the file is stat'ed afterwards, at the next store or at the close.
void LearnDisk(Module& m, EditorRecord* record) {
    if (record->Disk != DiskText::JustSaved) return;
    record->Disk = FileStamp(m, record->Path, &record->DiskSize, &record->DiskTime) ? DiskText::Known : DiskText::Unknown;
}

// Puts the file's stamp on a fingerprint of the record's clean text.
void StampPrint(Module& m, EditorRecord* record, store::EditorPlace* place) {
    LearnDisk(m, record);
    if (record->Disk != DiskText::Known || store::PrintOf(*place) == nullptr) return;
    place->Print.Size = record->DiskSize;
    place->Print.Time = record->DiskTime;
}

// Where the stored place's text is now, when the file changed since it was
// stored: `*target` moves to the line found, with its column, keeping the
// cursor's row on the screen. A file of the stored size and time is not
// read; a search that fails in any way leaves `*target` as stored.
void FollowText(Module& m, const EditorRecord& record, store::EditorPlace* target) {
    const TextFingerprint* print = store::PrintOf(*target);
    if (print == nullptr) return;
    if (store::HasStamp(*print)) {
        std::int64_t size = 0, time = 0;
        const bool known = record.Disk == DiskText::Known;
        if (known) {
            size = record.DiskSize;
            time = record.DiskTime;
        }
        if ((known || FileStamp(m, record.Path, &size, &time)) && size == print->Size && time == print->Time) return;
    }
    CurrentEditor now;
    HostCurrentEditor(m, &now);
    if (now.Id != record.EditorID) return;
    EditorLines lines(m, now.Place.Line, now.TotalLines);
    std::int32_t line = 0;
    if (FindLine(lines, now.TotalLines, *print, &line) != FoundPlace::Moved) return;
    std::int32_t row = target->Line - target->Top;
    if (row < 0) row = 0;
    if (row > line) row = line;
    target->Line = line;
    target->Top = line - row;
    target->Print.Line = line;
}

// Sets the stored bookmarks again, skipping those beyond the file's end and
// those the host's own memory already set to the same place. Leaves the
// editor wherever the last one took it.
void RestoreBookmarks(Module& m, const CurrentEditor& editor, const store::Bookmarks& stored) {
    store::Bookmarks now;
    if (!HostEditorBookmarks(m, &now)) return;
    for (int slot = 0; slot < store::kBookmarkCount; ++slot) {
        const store::Bookmark& mark = stored.Slot[slot];
        if (!store::IsSet(mark) || mark.Line >= editor.TotalLines) continue;
        if (store::SameBookmark(mark, now.Slot[slot])) continue;
        HostSetBookmark(m, slot, mark, editor.Place.Overtype);
    }
}

// The table first (it may change what the lines hold), then the bookmarks,
// then the cursor and screen.
bool RestoreCurrent(Module& m, const CurrentEditor& editor) {
    EditorRecord record = EditorKey(editor.Id);
    if (!FetchRecord(m.Editors, &record)) return false;
    store::EditorPlace target = record.RestorePos.Editor;
    m.Restoring = true;
    if (!RestoreTable(m, editor, target.Table)) {
        record.KeptTable = target.Table;
        record.OpenedTable = editor.Place.Table;
        InsertRecord(m.Editors, record);
    }
    RestoreBookmarks(m, editor, target.Marks);
    FollowText(m, record, &target);
    HostSetEditorPlace(m, target);
    m.Restoring = false;
    return true;
}

// The redraw's refresh of a tracked editor's record, in place: no record
// is copied in or out. A file that got another name (saved under it) goes
// the long way, through the table, which keeps its filter of paths.
bool TrackInPlace(Module& m, const CurrentEditor& editor, bool* renamed) {
    *renamed = false;
    EditorRecord* record = FindRecord(m.Editors, editor.Id, ItemKind::Editor);
    if (record == nullptr) return false;
    if (!SameText(record->Path, editor.FileName)) {  // the host names a file the same way each time
        *renamed = true;
        return false;
    }
    const bool wasDirty = record->Dirty != 0;
    StoredPlace snapshot = PlaceOf(m, editor, wasDirty ? &record->DirtyPos : &record->CleanPos);
    KeepTable(record, &snapshot.Editor.Table);
    if (!editor.Dirty) TakePrint(m, editor, wasDirty ? nullptr : &record->CleanPos.Editor, &snapshot.Editor);
    record->Dirty = editor.Dirty ? 1 : 0;
    record->RestorePos.Editor = snapshot.Editor;
    (editor.Dirty ? record->DirtyPos : record->CleanPos).Editor = snapshot.Editor;
    return true;
}

bool RecordCurrent(Module& m, PositionMode mode, const CurrentEditor& editor) {
    if (!UsableFileName(editor.FileName)) return false;
    if (mode == PositionMode::Track) {
        bool renamed = false;
        if (TrackInPlace(m, editor, &renamed)) return true;
        if (!renamed) return false;  // not followed
    }
    // Checked once a record is made or renamed: the redraws above compare
    // the name with the record's.
    if (!FileNameToFollow(m, editor.FileName)) return false;

    EditorRecord previous = EditorKey(editor.Id);
    const bool hadRecord = FetchRecord(m.Editors, &previous);
    if (mode == PositionMode::Track && !hadRecord) return false;
    // The host's name of the file stays valid until its next call, which
    // the snapshot makes: keep a copy.
    char fileName[kPathSize];
    CopyBounded(fileName, editor.FileName, sizeof fileName);
    const StoredPlace* lastSeen = hadRecord ? (previous.Dirty ? &previous.DirtyPos : &previous.CleanPos) : nullptr;
    StoredPlace snapshot = PlaceOf(m, editor, lastSeen);
    if (hadRecord) KeepTable(&previous, &snapshot.Editor.Table);
    // The fingerprint goes with every clean place (the one a close writes)
    // and with every stored one; at open the cursor is not yet where the
    // restore puts it, so nothing is read there.
    if (mode == PositionMode::Store || (!editor.Dirty && mode != PositionMode::Load)) {
        const bool stillClean = hadRecord && previous.Dirty == 0 && !editor.Dirty;
        TakePrint(m, editor, stillClean ? &previous.CleanPos.Editor : nullptr, &snapshot.Editor);
    }

    EditorRecord record = EditorKey(editor.Id);
    if (mode == PositionMode::Track) {
        record = previous;
    } else {
        // A new record: both snapshot fields start from the current position.
        record.CleanPos = snapshot;
        record.DirtyPos = snapshot;
        if (hadRecord) {
            record.KeptTable = previous.KeptTable;
            record.OpenedTable = previous.OpenedTable;
        }
    }

    CopyBounded(record.Path, fileName, sizeof record.Path);
    record.Dirty = editor.Dirty ? 1 : 0;
    record.RestorePos = snapshot;
    if (editor.Dirty) {
        record.DirtyPos = snapshot;
    } else {
        record.CleanPos = snapshot;
    }
    if (mode == PositionMode::Store) record.CleanPos = snapshot;

    if (mode == PositionMode::Load) {
        if (!store::ReadItem(m.Positions, ItemKind::Editor, fileName, &record.RestorePos)) return false;
        // An editor opened with unsaved changes has not been seen clean yet:
        // until it is, the stored position is the one that matches the file
        // on disk, and the one a close writes back.
        if (editor.Dirty) record.CleanPos = record.RestorePos;
    }
    if (!hadRecord) {
        // The file was just read, or is stored for the first time while
        // the editor holds what it read or last saved.
        record.Disk = DiskText::Unknown;
        if (!editor.Dirty && FileStamp(m, fileName, &record.DiskSize, &record.DiskTime)) record.Disk = DiskText::Known;
    } else if (mode == PositionMode::Store && editor.Dirty) {
        // The clean place becomes the unsaved text's (a store from the
        // menu; a save marks it JustSaved afterwards).
        record.Disk = DiskText::Unknown;
    }
    if (mode == PositionMode::Store && !editor.Dirty) StampPrint(m, &record, &snapshot.Editor);

    if (!InsertRecord(m.Editors, record)) return false;
    if (mode != PositionMode::Store) return true;

    // Under the update lock: the change goes into the latest file, and no
    // other host writes between this Load and the Save. The item is stored
    // whole or not at all; when it is not, the editor's record goes back to
    // what it was (rewritten in place, which cannot fail).
    store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
    LoadPositions(m);
    if (!StoreItem(m, ItemKind::Editor, fileName, snapshot)) {
        if (hadRecord) {
            InsertRecord(m.Editors, previous);
        } else {
            RemoveRecord(m.Editors, record);
        }
        return false;
    }
    SavePositions(m, true);
    return true;
}

void OnRead(Module& m) {
    PositionOp(m, PositionMode::Reload);
    PositionOp(m, PositionMode::Load);
    if (m.CurrentSettings.Automatic == 0) return;
    PositionOp(m, PositionMode::Restore);
    if (m.CurrentSettings.CheckMask == 0) return;
    CurrentEditor editor;
    HostCurrentEditor(m, &editor);
    if (editor.FileName != nullptr && HostMatchMaskList(m, m.CurrentSettings.Mask, editor.FileName)) {
        PositionOp(m, PositionMode::Store);
    }
}

void OnSave(Module& m) {
    if (m.CurrentSettings.Automatic == 0) return;
    PositionOp(m, PositionMode::Reload);
    if (!PositionOp(m, PositionMode::Track) || !PositionOp(m, PositionMode::Store)) return;
    // The host writes the file after this event: its stamp is taken later.
    CurrentEditor editor;
    HostCurrentEditor(m, &editor);
    EditorRecord record = EditorKey(editor.Id);
    if (!FetchRecord(m.Editors, &record)) return;
    record.Disk = DiskText::JustSaved;
    InsertRecord(m.Editors, record);  // rewritten in place: cannot fail
}

void OnRedraw(Module& m) {
    if (m.CurrentSettings.Automatic == 0 || m.Restoring) return;
    PositionOp(m, PositionMode::Track);
}

void OnClose(Module& m, const void* param) {
    std::int32_t editorId;
    if (!EventId(param, &editorId)) return;
    EditorRecord record = EditorKey(editorId);
    if (m.CurrentSettings.Automatic == 0) {
        RemoveRecord(m.Editors, record);
        return;
    }
    // The host answers no editor call now: the fingerprint is the one the
    // clean place got while the editor could be asked; the file's stamp
    // needs none.
    StoredPlace place = store::EmptyPlace();
    EditorRecord closing = record;
    if (FetchRecord(m.Editors, &closing)) {
        place = closing.CleanPos;
        StampPrint(m, &closing, &place.Editor);
    }
    {
        store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
        LoadPositions(m);
        if (!FetchRecord(m.Editors, &record)) return;
        // Only an item that still exists is updated; one removed meanwhile
        // (by the list or by another host) is not brought back.
        store::WriteItem(m.Positions, ItemKind::Editor, record.Path, place);
        SavePositions(m, true);
    }
    RemoveRecord(m.Editors, record);
}

}  // namespace

bool PositionOp(Module& m, PositionMode mode) {
    CurrentEditor editor;
    HostCurrentEditor(m, &editor);
    switch (mode) {
    case PositionMode::Reload:
        return LoadPositions(m);
    case PositionMode::Restore:
        return RestoreCurrent(m, editor);
    case PositionMode::Track:
    case PositionMode::Store:
    case PositionMode::Load:
        return RecordCurrent(m, mode, editor);
    }
    return false;
}
void HandleEditorEvent(Module& m, int event, void* param) {
    switch (event) {
    case EE_READ:
        OnRead(m);
        break;
    case EE_SAVE:
        OnSave(m);
        break;
    case EE_REDRAW:
        OnRedraw(m);
        break;
    case EE_CLOSE:
        OnClose(m, param);
        break;
    default:
        break;
    }
}

}  // namespace plugin
}  // namespace tarnwick
