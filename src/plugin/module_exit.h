// The end of the module's life: the purge at the host's exit and the
// release of the two long-lived stores at unload.
#pragma once

namespace tarnwick {
namespace plugin {

struct Module;

// The host's exit: when RemoveOld is set, removes the entries of files that
// no longer exist (sparing those open in an editor of this process) and
// saves the position file. Nothing is shown.
void PurgeAtExit(Module& m);

// The host's exit: writes the changes that earlier saves could not (the
// file held open by another program, a full disk), trying a few times for
// about a second in all. Nothing is shown; what still cannot be written is
// lost with the process.
void SavePendingAtExit(Module& m);

// Puts the module back in its load-time state: releases the stores,
// forgets the host's tables and makes `m` a fresh, zero Module.
// Lets tests run each case against a freshly loaded module.
void ResetModuleState(Module& m);

}  // namespace plugin
}  // namespace tarnwick
