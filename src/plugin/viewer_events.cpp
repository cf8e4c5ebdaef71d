#include "plugin/viewer_events.h"

#include "plugin/host.h"
#include "plugin/module.h"
#include "store/position_file.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

using store::ItemKind;
using store::StoredPlace;
using store::ViewerPlace;

namespace {

// The viewer's place with its table named, in a StoredPlace.
StoredPlace PlaceOf(Module& m, const CurrentViewer& viewer) {
    StoredPlace place = store::EmptyPlace();
    place.Viewer = viewer.Place;
    store::CharTableChoice& table = place.Viewer.Table;
    if (table.Kind == store::TableKind::Code) {
        HostNameTable(m, &table);
        if (table.Name[0] == '\0') table.Kind = store::TableKind::Unknown;
    }
    return place;
}

bool SamePlace(const ViewerPlace& a, const ViewerPlace& b) {
    return a.Offset == b.Offset && a.Left == b.Left && a.Hex == b.Hex && a.Wrap == b.Wrap &&
           a.Table.Kind == b.Table.Kind && a.Table.Number == b.Table.Number;
}

// Writes where the viewer left its file, `left`, into the file's item:
// nothing when it was not moved since it opened the file; a new item only
// when the file matched the mask (an item removed meanwhile, by the list or
// another host, is not brought back).
void LeaveFile(Module& m, const EditorRecord& record, const StoredPlace& left) {
    if (SamePlace(left.Viewer, record.DirtyPos.Viewer)) return;
    store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
    LoadPositions(m);
    bool stored = false;
    StoredPlace before = store::EmptyPlace();
    if (store::ReadItem(m.Positions, ItemKind::Viewer, record.Path, &before)) {
        // A table this host cannot tell (the 3.x host's layer names none)
        // leaves the one stored, by another host perhaps.
        StoredPlace place = left;
        if (place.Viewer.Table.Kind == store::TableKind::Unknown) place.Viewer.Table = before.Viewer.Table;
        stored = store::WriteItem(m.Positions, ItemKind::Viewer, record.Path, place);
    } else if (record.Matched != 0) {
        stored = store::AddItem(m.Positions, ItemKind::Viewer, record.Path, left);
    }
    if (stored) SavePositions(m, true);
}

// A viewer opened a file: move it to the stored place and follow it when
// the file has one or matches the mask.
void OpenFile(Module& m, const CurrentViewer& opened) {
    if (!FileNameToFollow(m, opened.FileName)) return;
    EditorRecord record = EditorKey(opened.Id, ItemKind::Viewer);
    CopyBounded(record.Path, opened.FileName, sizeof record.Path);
    const StoredPlace seen = PlaceOf(m, opened);
    record.RestorePos = seen;
    LoadPositions(m);
    const bool found = store::ReadItem(m.Positions, ItemKind::Viewer, record.Path, &record.RestorePos);
    record.Matched = m.CurrentSettings.CheckMask != 0 && HostMatchMaskList(m, m.CurrentSettings.Mask, record.Path) ? 1 : 0;
    if (!found && record.Matched == 0) return;

    record.CleanPos = seen;
    if (found) {
        HostSetViewerPlace(m, opened, record.RestorePos.Viewer);
        CurrentViewer now;
        if (HostCurrentViewer(m, &now) && now.Id == opened.Id) record.CleanPos = PlaceOf(m, now);
    }
    record.DirtyPos = record.CleanPos;
    InsertRecord(m.Editors, record);
}

void OnRead(Module& m) {
    if (m.CurrentSettings.Automatic == 0) return;
    CurrentViewer viewer;
    if (!HostCurrentViewer(m, &viewer)) return;
    // The same viewer reading again has moved on to the next or previous
    // file: the host has already left the old one, so what it is left at is
    // the place seen last.
    EditorRecord old = EditorKey(viewer.Id, ItemKind::Viewer);
    if (FetchRecord(m.Editors, &old)) {
        RemoveRecord(m.Editors, old);
        LeaveFile(m, old, old.CleanPos);
        // Writing may have called the host: ask for the viewer again.
        if (!HostCurrentViewer(m, &viewer)) return;
    }
    OpenFile(m, viewer);
}

void OnClose(Module& m, const void* param) {
    std::int32_t id;
    if (!EventId(param, &id)) return;
    EditorRecord record = EditorKey(id, ItemKind::Viewer);
    if (!FetchRecord(m.Editors, &record)) return;
    RemoveRecord(m.Editors, record);
    if (m.CurrentSettings.Automatic == 0) return;
    // The closing viewer still describes itself, except at the host's exit,
    // when the place seen last is all there is.
    CurrentViewer viewer;
    StoredPlace left = record.CleanPos;
    if (HostCurrentViewer(m, &viewer) && viewer.Id == id) left = PlaceOf(m, viewer);
    LeaveFile(m, record, left);
}

// A focus change: a chance to see where the user has taken the viewer.
void OnFocus(Module& m, const void* param) {
    std::int32_t id;
    if (!EventId(param, &id)) return;
    EditorRecord record = EditorKey(id, ItemKind::Viewer);
    if (!FetchRecord(m.Editors, &record)) return;
    CurrentViewer viewer;
    if (!HostCurrentViewer(m, &viewer) || viewer.Id != id) return;
    record.CleanPos = PlaceOf(m, viewer);
    InsertRecord(m.Editors, record);
}

}  // namespace

void HandleViewerEvent(Module& m, int event, void* param) {
    switch (event) {
    case VE_READ:
        OnRead(m);
        break;
    case VE_CLOSE:
        OnClose(m, param);
        break;
    case VE_GOTFOCUS:
    case VE_KILLFOCUS:
        OnFocus(m, param);
        break;
    default:
        break;
    }
}

bool StoreCurrentViewer(Module& m) {
    CurrentViewer viewer;
    if (!HostCurrentViewer(m, &viewer) || !FileNameToFollow(m, viewer.FileName)) return false;
    char path[kPathSize];
    CopyBounded(path, viewer.FileName, sizeof path);
    const StoredPlace place = PlaceOf(m, viewer);
    {
        store::UpdateScope update(OpenPositions(m), m.CurrentSettings.CfgFile);
        LoadPositions(m);
        if (!StoreItem(m, ItemKind::Viewer, path, place)) return false;
        SavePositions(m, true);
    }
    // A viewer followed from here on writes where it is left, unless it is
    // left where it was stored.
    if (m.CurrentSettings.Automatic != 0) {
        EditorRecord record = EditorKey(viewer.Id, ItemKind::Viewer);
        CopyBounded(record.Path, path, sizeof record.Path);
        record.CleanPos = record.DirtyPos = record.RestorePos = place;
        InsertRecord(m.Editors, record);
    }
    return true;
}

bool RestoreCurrentViewer(Module& m) {
    CurrentViewer viewer;
    if (!HostCurrentViewer(m, &viewer) || !FileNameToFollow(m, viewer.FileName)) return false;
    char path[kPathSize];
    CopyBounded(path, viewer.FileName, sizeof path);
    StoredPlace place = PlaceOf(m, viewer);
    if (!store::ReadItem(m.Positions, ItemKind::Viewer, path, &place)) return false;
    HostSetViewerPlace(m, viewer, place.Viewer);
    return true;
}

bool CurrentViewerKnown(Module& m) {
    CurrentViewer viewer;
    if (!HostCurrentViewer(m, &viewer)) return false;
    if (viewer.FileName != nullptr && store::ReadItem(m.Positions, ItemKind::Viewer, viewer.FileName, nullptr)) {
        return true;
    }
    return ContainsRecord(m.Editors, EditorKey(viewer.Id, ItemKind::Viewer));
}

}  // namespace plugin
}  // namespace tarnwick
