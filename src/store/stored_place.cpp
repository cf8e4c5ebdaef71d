#include "store/stored_place.h"

namespace tarnwick {
namespace store {

const char* ItemTypeText(ItemKind kind) {
    switch (kind) {
    case ItemKind::Editor:
        return "editor";
    case ItemKind::Viewer:
        return "viewer";
    }
    return "";
}

Bookmarks NoBookmarks() {
    Bookmarks marks;
    for (Bookmark& slot : marks.Slot) slot = Bookmark{-1, -1, -1, -1};
    return marks;
}

const TextFingerprint* PrintOf(const EditorPlace& place) {
    return HasHashes(place.Print) && place.Print.Line == place.Line ? &place.Print : nullptr;
}

bool SameBookmark(const Bookmark& a, const Bookmark& b) {
    if (!IsSet(a) || !IsSet(b)) return IsSet(a) == IsSet(b);
    return a.Line == b.Line && a.Cursor == b.Cursor && a.ScreenLine == b.ScreenLine && a.Left == b.Left;
}

bool SameBookmarks(const Bookmarks& a, const Bookmarks& b) {
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        if (!SameBookmark(a.Slot[slot], b.Slot[slot])) return false;
    }
    return true;
}

StoredPlace EmptyPlace() {
    StoredPlace place{};
    place.Editor.Marks = NoBookmarks();
    place.Editor.Table.Number = -1;
    place.Viewer.Table.Number = -1;
    return place;
}

}  // namespace store
}  // namespace tarnwick
