#include "plugin/editor_events.h"

#include "plugin/host.h"
#include "plugin/module.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using store::ItemKind;
using store::StoredPlace;

namespace {

StoredPlace PlaceOf(const CurrentEditor& editor) {
    StoredPlace place = store::EmptyPlace();
    place.Editor = editor.Place;
    return place;
}

// A file name the position file and the record can hold whole; a cut name
// could name another file.
bool UsableFileName(const char* fileName) {
    return fileName != nullptr && StrLength(fileName) < static_cast<std::size_t>(kPathSize);
}

bool RestoreCurrent(Module& m, const CurrentEditor& editor) {
    EditorRecord record = EditorKey(editor.Id);
    if (!FetchRecord(m.Editors, &record)) return false;
    HostSetEditorPlace(m, record.RestorePos.Editor);
    return true;
}

// Puts the editor's place into the position file: into its item, or a new
// one when it has none.
bool StoreItem(Module& m, const char* path, const StoredPlace& place) {
    if (store::ReadItem(m.Positions, ItemKind::Editor, path, nullptr)) {
        return store::WriteItem(m.Positions, ItemKind::Editor, path, place);
    }
    return store::AddItem(m.Positions, ItemKind::Editor, path, place);
}

bool RecordCurrent(Module& m, PositionMode mode, const CurrentEditor& editor) {
    if (!UsableFileName(editor.FileName)) return false;
    const StoredPlace snapshot = PlaceOf(editor);

    EditorRecord record = EditorKey(editor.Id);
    if (mode == PositionMode::Track) {
        if (!ContainsRecord(m.Editors, record)) return false;
        if (!FetchRecord(m.Editors, &record)) return false;
    } else {
        // A new record: both snapshot fields start from the current position.
        record.CleanPos = snapshot;
        record.DirtyPos = snapshot;
    }

    CopyBounded(record.Path, editor.FileName, sizeof record.Path);
    record.Dirty = editor.Dirty ? 1 : 0;
    record.RestorePos = snapshot;
    if (editor.Dirty) {
        record.DirtyPos = snapshot;
    } else {
        record.CleanPos = snapshot;
    }
    if (mode == PositionMode::Store) record.CleanPos = snapshot;

    if (mode == PositionMode::Load) {
        if (!store::ReadItem(m.Positions, ItemKind::Editor, editor.FileName, &record.RestorePos)) return false;
        // An editor opened with unsaved changes has not been seen clean yet:
        // until it is, the stored position is the one that matches the file
        // on disk, and the one a close writes back.
        if (editor.Dirty) record.CleanPos = record.RestorePos;
    }

    EditorRecord previous = EditorKey(editor.Id);
    const bool hadRecord = FetchRecord(m.Editors, &previous);
    if (!InsertRecord(m.Editors, record)) return false;
    if (mode != PositionMode::Store) return true;

    // Under the update lock: the change goes into the latest file, and no
    // other host writes between this Load and the Save. The item is stored
    // whole or not at all; when it is not, the editor's record goes back to
    // what it was (rewritten in place, which cannot fail).
    store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
    LoadPositions(m);
    if (!StoreItem(m, editor.FileName, snapshot)) {
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
    if (PositionOp(m, PositionMode::Track)) PositionOp(m, PositionMode::Store);
}

void OnRedraw(Module& m) {
    if (m.CurrentSettings.Automatic == 0) return;
    PositionOp(m, PositionMode::Track);
}

void OnClose(Module& m, const void* param) {
    if (param == nullptr) return;
    std::int32_t editorId;
    CopyBytes(&editorId, param, sizeof editorId);
    EditorRecord record = EditorKey(editorId);
    if (m.CurrentSettings.Automatic == 0) {
        RemoveRecord(m.Editors, record);
        return;
    }
    {
        store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
        LoadPositions(m);
        if (!FetchRecord(m.Editors, &record)) return;
        // Only an item that still exists is updated; one removed meanwhile
        // (by the list or by another host) is not brought back.
        store::WriteItem(m.Positions, ItemKind::Editor, record.Path, record.CleanPos);
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
