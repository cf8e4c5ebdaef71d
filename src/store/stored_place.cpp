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

StoredPlace EmptyPlace() {
    StoredPlace place{};
    place.Editor.Marks = NoBookmarks();
    place.Editor.Table.Number = -1;
    place.Viewer.Table.Number = -1;
    return place;
}

}  // namespace store
}  // namespace tarnwick
