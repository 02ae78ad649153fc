// The core back end's answers to the window-system layer: destruction,
// sharing, swapping and window changes.
#include <stdint.h>

#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "dlist/dl_names.h"
#include "geometry/s_xform.h"
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"

namespace core {

GLbool8 DestroyContext(GlContext *gc) {
  __glFreeBufData(gc);
  __glDestroyContext(gc);
  gc->imports.free(gc, gc);
  return 1;
}

GLbool8 ShareContext(GlContext *gc, GlContext *other) {
  __glShareDlist(gc, other);
  __glShareTextureObjects(gc, other);
  __glShareTextureManager(gc, other);
  return 1;
}

void SwapBuffers(GlContext *gc) {
  if (gc->procs.flush) gc->procs.flush(gc);
}

void NotifyDestroyBuffers(GlContext *gc) { gc->exports.notifyChangeBufferSize(gc, 0, 0, 0, 0); }

GLbool8 NotifyChangeBufferSize(GlContext *gc, int32_t x, int32_t y, uint32_t width,
                               uint32_t height) {
  // During a context's first binding the notification can arrive before its
  // procedures and transform state exist; that binding reads the window
  // size itself.
  if (!(gc->flags & __GL_GC_INITIALIZED)) return 1;
  if (width > INT32_MAX || height > INT32_MAX) return 0;
  if (!__glChangeWindowSize(gc, x, y, int32_t(width), int32_t(height))) return 0;
  __glUpdateViewport(gc);
  CheckViewport(gc);
  return 1;
}

void Flush(GlContext *) {}
void Finish(GlContext *) {}
void WaitIdle(GlContext *) {}

}  // namespace core
