// What process and thread attachment share inside the layer: the ring of
// thread areas and the release of a context left current on a thread that
// goes away.
#pragma once

#include "wgl/wgl_attach.h"

namespace wgl {
// The ring's sentinel. Its `next` is none while the process is not attached,
// and points back at the sentinel when the ring is empty.
extern WglThreadArea threadList;
void openThreadList(void);
// Takes the first area off the ring; none when the ring is empty or closed.
WglThreadArea *takeFirstThreadArea(void);
// Lets go of the context current on the calling thread, whatever its render
// mode: the record is no longer current or bound, the drawable's reference is
// dropped, and the slot holds the placeholder again.
void releaseCurrentContext(void);
}  // namespace wgl
