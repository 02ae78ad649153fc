// The buffer lock's nesting counter and the device lock of the core back
// end, which has no device to lock.
#include "core/context.h"
#include "core/s_backend.h"

namespace core {

GLbool8 ObtainSLock(GlContext *gc) { return gc->sLockDepth++ != 0; }

GLbool8 ReleaseSLock(GlContext *gc) {
  // A release without an obtain leaves the counter at 0.
  if (gc->sLockDepth == 0) return 0;
  return --gc->sLockDepth != 0;
}

void LockDevice(GlContext *) {}
void UnlockDevice(GlContext *) {}

}  // namespace core
