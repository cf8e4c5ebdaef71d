// The update lock: a short exclusive lock that hosts sharing one position
// file take from the Load that precedes a change to the Save that writes
// it, so that every change is made to the latest file and no host's save
// discards another's.
//
// The lock is the file "<position file>.twlock" beside the position file
// (beside the file a symbolic link points to), through Env::TryLockFile: the
// system releases it when its holder dies, and it is removed when let go.
// BeginUpdate polls for it every millisecond or so and waits about one
// second after the lock last changed hands (each holder makes the lock file
// anew, so hosts taking quick turns are told from a hung one; at most about
// five seconds in all): a host that hangs holding it is then gone on
// without, as hosts did before there was a lock, and after such a timeout
// the next waits are short (about 100 ms) until the lock is had again.
// Where the lock file cannot be made (a read-only folder) the update goes on
// unlocked at once. The position file's own format is not touched, so hosts
// that know no lock still read and write it.
//
// Updates nest: only the outermost BeginUpdate takes the lock and only its
// EndUpdate lets it go. Callers never show a menu, a message or a dialog
// between the two.
#pragma once

#include "store/position_file_state.h"

namespace tarnwick {
namespace store {

// BeginUpdate and EndUpdate are the verbs of position_file.h.

// Lets a held lock go whatever the nesting (at close).
void ReleaseUpdateLock(PositionFile& file);

}  // namespace store
}  // namespace tarnwick
