// The begin-mode step every drawing entry takes first (glClear, glAccum,
// glBitmap, the pixel rectangles, glRasterPos, glRect), the one glBegin
// takes too: refused inside glBegin/glEnd; with validation pending the
// procedures are picked and the call is issued again through the current
// dispatch table, so that an entry validation replaced, or a display list
// being compiled, takes it.
#pragma once

#include "core/context.h"
#include "core/current.h"
#include "core/s_error.h"

// The calling thread's context when the entry should go on; null when the
// call was refused (GL_INVALID_OPERATION recorded) or has been issued again
// through `reissue`, which calls the entry's API stub with its arguments.
template <typename Reissue>
inline GlContext *__glContextForDrawing(Reissue reissue) {
  GlContext *gc = __glGetTLSCXValue();
  switch (gc->beginMode) {
    case __GL_NOT_IN_BEGIN:
      return gc;
    case __GL_VALIDATE_PENDING:
      gc->procs.validate(gc);
      gc->beginMode = __GL_NOT_IN_BEGIN;
      reissue();
      return nullptr;
    default:
      __glSetError(GL_INVALID_OPERATION);
      return nullptr;
  }
}
