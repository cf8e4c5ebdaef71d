#include "plugin/editor_tables.h"

#include <cstdint>

namespace tarnwick {
namespace plugin {

bool SameTable(const store::CharTableChoice& a, const store::CharTableChoice& b) {
    return a.Kind == b.Kind && a.Number == b.Number;
}

bool RestoreTable(Module& m, const CurrentEditor& editor, const store::CharTableChoice& stored) {
    const store::CharTableChoice& now = editor.Place.Table;
    std::int32_t number = -1;
    switch (stored.Kind) {
    case store::TableKind::Oem:
    case store::TableKind::Ansi:
        if (now.Kind == stored.Kind) return true;
        break;
    case store::TableKind::Code: {
        number = HostFindTable(m, stored);
        if (number < 0) return false;
        if (now.Kind == store::TableKind::Code && now.Number == number) return true;
        break;
    }
    default:
        return true;  // nothing to show
    }
    if (now.Kind == store::TableKind::Unknown) return false;
    return HostSetEditorTable(m, stored.Kind, number, editor.Options);
}

void KeepTable(EditorRecord* record, store::CharTableChoice* table) {
    if (record->KeptTable.Kind == store::TableKind::Unknown) return;
    if (SameTable(*table, record->OpenedTable)) {
        *table = record->KeptTable;
    } else {
        record->KeptTable = store::CharTableChoice{};
    }
}

}  // namespace plugin
}  // namespace tarnwick
