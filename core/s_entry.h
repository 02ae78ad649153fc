// What every state entry does first and last: refuse the call between
// glBegin and glEnd, and mark the context for validation after a change.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/current.h"
#include "core/s_error.h"

// The calling thread's context; null, after recording GL_INVALID_OPERATION,
// between glBegin and glEnd.
inline GlContext *__glContextOutsideBegin() {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return nullptr;
  }
  return gc;
}

// State changed: the next drawing command validates the groups in `dirty`.
inline void __glDelayValidate(GlContext *gc, uint32_t dirty) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  gc->dirtyMask |= dirty;
}
