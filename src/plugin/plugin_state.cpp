#include "plugin/plugin_state.h"

#include "support/memory.h"

namespace tarnwick {
namespace plugin {

using namespace store;

Settings CurrentSettings;
char PluginKey[kPluginKeySize];
bool HasPluginKey;
char DefaultCfgFile[kPathSize];
PositionFile Positions;
EditorTable Editors;

void ZeroPluginState() {
    FillBytes(&CurrentSettings, 0, sizeof CurrentSettings);
    FillBytes(PluginKey, 0, sizeof PluginKey);
    HasPluginKey = false;
    FillBytes(DefaultCfgFile, 0, sizeof DefaultCfgFile);
    FillBytes(&Positions, 0, sizeof Positions);
    FillBytes(&Editors, 0, sizeof Editors);
}

}  // namespace plugin
}  // namespace tarnwick
