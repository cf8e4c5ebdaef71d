#include "plugin/editor_events.h"

#include "plugin/host.h"
#include "plugin/module.h"
#include "store/pending_changes.h"
#include "store/update_lock.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using namespace store;

namespace {

EditorSetPosition Snapshot(const EditorInfo& info) {
    EditorSetPosition position;
    position.CurLine = info.CurLine;
    position.CurPos = info.CurPos;
    position.CurTabPos = -1;
    position.TopScreenLine = info.TopScreenLine;
    position.LeftPos = info.LeftPos;
    position.Overtype = info.Overtype;
    return position;
}

// Unsaved changes: modified and not just saved.
bool IsDirty(const EditorInfo& info) {
    return (info.CurState & ECSTATE_MODIFIED) != 0 && (info.CurState & ECSTATE_SAVED) == 0;
}

// A file name the position file and the record can hold whole; a cut name
// could name another file.
bool UsableFileName(const char* fileName) {
    return fileName != nullptr && StrLength(fileName) < static_cast<std::size_t>(kPathSize);
}

bool RestoreCurrent(Module& m, const EditorInfo& info) {
    EditorRecord record = EditorKey(info.EditorID);
    if (!FetchRecord(m.Editors, &record)) return false;
    HostSetEditorPosition(m, record.RestorePos);
    return true;
}

bool RecordCurrent(Module& m, PositionMode mode, const EditorInfo& info) {
    if (!UsableFileName(info.FileName)) return false;
    const EditorSetPosition snapshot = Snapshot(info);
    const bool dirty = IsDirty(info);

    EditorRecord record = EditorKey(info.EditorID);
    if (mode == PositionMode::Track) {
        if (!ContainsRecord(m.Editors, record)) return false;
        if (!FetchRecord(m.Editors, &record)) return false;
    } else {
        // A new record: both snapshot fields start from the current position.
        record.CleanPos = snapshot;
        record.DirtyPos = snapshot;
    }

    CopyBounded(record.Path, info.FileName, sizeof record.Path);
    record.Dirty = dirty ? 1 : 0;
    record.RestorePos = snapshot;
    if (dirty) {
        record.DirtyPos = snapshot;
    } else {
        record.CleanPos = snapshot;
    }
    if (mode == PositionMode::Store) record.CleanPos = snapshot;

    if (mode == PositionMode::Load) {
        if (!ReadItem(m.Positions, kItemTypeEditor, info.FileName, &record.RestorePos)) return false;
        record.RestorePos.CurTabPos = -1;
        // An editor opened with unsaved changes has not been seen clean yet:
        // until it is, the stored position is the one that matches the file
        // on disk, and the one a close writes back.
        if (dirty) record.CleanPos = record.RestorePos;
    }

    EditorRecord previous = EditorKey(info.EditorID);
    const bool hadRecord = FetchRecord(m.Editors, &previous);
    if (!InsertRecord(m.Editors, record)) return false;
    if (mode != PositionMode::Store) return true;

    // Under the update lock: the change goes into the latest file, and no
    // other host writes between this Load and the Save. The item is stored
    // whole or not at all; when it is not, the editor's record goes back to
    // what it was (rewritten in place, which cannot fail).
    UpdateScope update(m.Positions, m.CurrentSettings.CfgFile);
    LoadPositions(m);
    if (!StoreItem(m.Positions, kItemTypeEditor, info.FileName, snapshot)) {
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
    EditorInfo info;
    HostEditorInfo(m, &info);
    if (info.FileName != nullptr && HostMatchMaskList(m, m.CurrentSettings.Mask, info.FileName)) {
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
        UpdateScope update(m.Positions, m.CurrentSettings.CfgFile);
        LoadPositions(m);
        if (!FetchRecord(m.Editors, &record)) return;
        // Only an item that still exists is updated; one removed meanwhile
        // (by the list or by another host) is not brought back.
        UpdateExistingItem(m.Positions, kItemTypeEditor, record.Path, record.CleanPos);
        SavePositions(m, true);
    }
    RemoveRecord(m.Editors, record);
}

}  // namespace

bool PositionOp(Module& m, PositionMode mode) {
    EditorInfo info;
    HostEditorInfo(m, &info);
    switch (mode) {
    case PositionMode::Reload:
        return LoadPositions(m);
    case PositionMode::Restore:
        return RestoreCurrent(m, info);
    case PositionMode::Track:
    case PositionMode::Store:
    case PositionMode::Load:
        return RecordCurrent(m, mode, info);
    default:
        return false;
    }
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
