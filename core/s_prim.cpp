// The Begin/End protocol. `beginMode` says whether the context is inside
// glBegin/glEnd and whether its procedures must be picked again first: only
// 1 counts as inside.
#include "core/s_prim.h"

#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"
#include "core/gl_assert.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "core/s_nop.h"

void GLENTRY __glim_Begin(GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  switch (gc->beginMode) {
    case __GL_NOT_IN_BEGIN:
      if (mode > GL_POLYGON) {  // unsigned: negative modes too
        __glSetError(GL_INVALID_ENUM);
        return;
      }
      gc->beginMode = __GL_IN_BEGIN;
      gc->procs.beginPrim[mode](gc);
      return;
    case __GL_VALIDATE_PENDING:
      gc->procs.validate(gc);
      gc->beginMode = __GL_NOT_IN_BEGIN;
      // Through the current table again: validation may have replaced this
      // entry, and a display list being compiled must see the call.
      glBegin(mode);
      return;
    default:
      __glSetError(GL_INVALID_OPERATION);
      return;
  }
}

void GLENTRY __glim_End(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_NOT_IN_BEGIN || gc->beginMode == __GL_VALIDATE_PENDING) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  __GL_ASSERT(gc->beginMode == __GL_IN_BEGIN, "beginMode == __GL_IN_BEGIN", "s_prim");
  gc->procs.endPrim(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

void __glEndPrim(GlContext *gc) {
  gc->procs.primVertex = __glNopProc<decltype(gc->procs.primVertex)>();
  gc->procs.endPrim = __glEndPrim;
}

void GLENTRY __glim_Flush(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  gc->procs.flush(gc);
}

void GLENTRY __glim_Finish(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  gc->procs.finish(gc);
}

void GLENTRY __glim_UnimplementedExtension(void) { __glSetError(GL_INVALID_OPERATION); }
