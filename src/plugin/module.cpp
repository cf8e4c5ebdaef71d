#include "plugin/module.h"

namespace tarnwick {
namespace plugin {

bool LoadPositions(Module& m) {
    m.PositionsCurrent = store::Load(m.Positions, m.CurrentSettings.CfgFile, &m.Editors);
    return m.PositionsCurrent;
}

bool SavePositions(Module& m, bool reloadFirst) {
    if (!reloadFirst && !m.PositionsCurrent) return false;
    bool saved = store::Save(m.Positions, m.CurrentSettings.CfgFile, &m.Editors, reloadFirst);
    // A save after a reload leaves the document current when it got as far as
    // writing; a refused reload leaves it as it was.
    if (reloadFirst && saved) m.PositionsCurrent = true;
    return saved;
}

}  // namespace plugin
}  // namespace tarnwick
