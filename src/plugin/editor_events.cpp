#include "plugin/editor_events.h"

#include "plugin/host.h"
#include "plugin/plugin_state.h"
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

bool RestoreCurrent(const EditorInfo& info) {
    EditorRecord record = EditorKey(info.EditorID);
    if (!FetchRecord(Editors, &record)) return false;
    HostSetEditorPosition(record.RestorePos);
    return true;
}

bool RecordCurrent(std::int32_t mode, const EditorInfo& info) {
    if (!UsableFileName(info.FileName)) return false;
    const EditorSetPosition snapshot = Snapshot(info);
    const bool dirty = IsDirty(info);

    EditorRecord record = EditorKey(info.EditorID);
    if (mode == TrackEditor) {
        if (!ContainsRecord(Editors, record)) return false;
        if (!FetchRecord(Editors, &record)) return false;
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
    if (mode == StorePosition) record.CleanPos = snapshot;

    if (mode == LoadPosition) {
        if (!ReadItem(Positions, kItemTypeEditor, info.FileName, &record.RestorePos)) return false;
        record.RestorePos.CurTabPos = -1;
        // An editor opened with unsaved changes has not been seen clean yet:
        // until it is, the stored position is the one that matches the file
        // on disk, and the one a close writes back.
        if (dirty) record.CleanPos = record.RestorePos;
    }

    if (!InsertRecord(Editors, record)) return false;
    if (mode != StorePosition) return true;

    bool written = ItemExists(Positions, kItemTypeEditor, info.FileName)
                       ? WriteItem(Positions, kItemTypeEditor, info.FileName, snapshot)
                       : AddItem(Positions, kItemTypeEditor, info.FileName, snapshot);
    if (!written) {
        RemoveRecord(Editors, record);
        return false;
    }
    Save(Positions, CurrentSettings.CfgFile, &Editors, false);
    return true;
}

void OnRead() {
    PositionOp(ReloadFile);
    PositionOp(LoadPosition);
    if (CurrentSettings.Automatic == 0) return;
    PositionOp(RestorePosition);
    if (CurrentSettings.CheckMask == 0) return;
    EditorInfo info;
    HostEditorInfo(&info);
    if (info.FileName != nullptr && HostMatchMaskList(CurrentSettings.Mask, info.FileName)) {
        PositionOp(StorePosition);
    }
}

void OnSave() {
    if (CurrentSettings.Automatic == 0) return;
    PositionOp(ReloadFile);
    if (PositionOp(TrackEditor)) PositionOp(StorePosition);
}

void OnRedraw() {
    if (CurrentSettings.Automatic == 0) return;
    PositionOp(TrackEditor);
}

void OnClose(const void* param) {
    if (param == nullptr) return;
    std::int32_t editorId;
    CopyBytes(&editorId, param, sizeof editorId);
    EditorRecord record = EditorKey(editorId);
    if (CurrentSettings.Automatic == 0) {
        RemoveRecord(Editors, record);
        return;
    }
    Load(Positions, CurrentSettings.CfgFile, &Editors);
    if (!FetchRecord(Editors, &record)) return;
    // Only an item that still exists is updated; one removed meanwhile
    // (by the list or by another host) is not brought back.
    WriteItem(Positions, kItemTypeEditor, record.Path, record.CleanPos);
    Save(Positions, CurrentSettings.CfgFile, &Editors, false);
    RemoveRecord(Editors, record);
}

}  // namespace

bool PositionOp(std::int32_t mode) {
    EditorInfo info;
    HostEditorInfo(&info);
    switch (mode) {
    case ReloadFile:
        return Load(Positions, CurrentSettings.CfgFile, &Editors);
    case RestorePosition:
        return RestoreCurrent(info);
    case TrackEditor:
    case StorePosition:
    case LoadPosition:
        return RecordCurrent(mode, info);
    default:
        return false;
    }
}

void HandleEditorEvent(int event, void* param) {
    switch (event) {
    case EE_READ:
        OnRead();
        break;
    case EE_SAVE:
        OnSave();
        break;
    case EE_REDRAW:
        OnRedraw();
        break;
    case EE_CLOSE:
        OnClose(param);
        break;
    default:
        break;
    }
}

}  // namespace plugin
}  // namespace tarnwick
