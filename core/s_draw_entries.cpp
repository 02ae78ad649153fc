// glClear and glAccum: validated like every drawing entry, then handed to
// the frame buffers once the hardware is idle.
#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_draw_entry.h"
#include "raster/s_accum.h"
#include "raster/s_clear.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

void GLENTRY __glim_Clear(GLbitfield mask) {
  GlContext *gc = __glContextForDrawing([&] { glClear(mask); });
  if (!gc) return;
  gc->procs.waitIdle(gc);
  __glClearBuffers(gc, mask);
}

// The accumulation buffer checks its arguments before it waits.
void GLENTRY __glim_Accum(GLenum op, GLfloat value) {
  GlContext *gc = __glContextForDrawing([&] { glAccum(op, value); });
  if (!gc) return;
  __glAccumOp(gc, op, value);
}
