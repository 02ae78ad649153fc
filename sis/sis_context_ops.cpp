// The SiS context's answers to the window-system layer: buffers,
// destruction, sharing, swapping and window changes. Until the texture
// manager exists the rest are the core's.
#include "core/context.h"
#include "core/s_backend.h"
#include "raster/s_buffers.h"
#include "sis/sis_clear.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_hw.h"

namespace sis {

void InitBuffers(GlContext *gc) {
  static const core::BufferProcs kProcs = {__glSiSInitDepth, __glSiSsLock,  __glSiSsUnlock,
                                           LockDevice,       UnlockDevice, SiSHALColorClear};
  core::InitBuffersWith(gc, &kProcs);
}

GLbool8 DestroyContext(GlContext *gc) { return core::DestroyContext(gc); }

GLbool8 ShareContext(GlContext *gc, GlContext *other) { return core::ShareContext(gc, other); }

GLbool8 NotifyChangeBufferSize(GlContext *gc, int32_t x, int32_t y, uint32_t width,
                               uint32_t height) {
  return core::NotifyChangeBufferSize(gc, x, y, width, height);
}

void NotifyDestroyBuffers(GlContext *gc) { core::NotifyDestroyBuffers(gc); }

}  // namespace sis

// The exchange itself is the drawable's; the chip must have finished first.
void SiSSwapBuffers(GlContext *gc) {
  if (gc->procs.waitIdle) gc->procs.waitIdle(gc);
}
