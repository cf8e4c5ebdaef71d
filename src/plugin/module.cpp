#include "plugin/module.h"

namespace tarnwick {
namespace plugin {

bool LoadPositions(Module& m) { return store::Load(m.Positions, m.CurrentSettings.CfgFile, &m.Editors); }

bool SavePositions(Module& m, bool reloadFirst) {
    return store::Save(m.Positions, m.CurrentSettings.CfgFile, &m.Editors, reloadFirst);
}

}  // namespace plugin
}  // namespace tarnwick
