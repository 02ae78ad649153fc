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

// The number of `name` in the run of `count` names from `first` (the
// lights from GL_LIGHT0, the clip planes from GL_CLIP_PLANE0), or -1; names
// below `first` wrap high and are outside the run too.
inline int32_t __glNameIndex(GLenum name, GLenum first, int32_t count) {
  const GLuint index = name - first;
  return index < GLuint(count) ? int32_t(index) : -1;
}

// State changed: the next drawing command validates the groups in `dirty`.
inline void __glDelayValidate(GlContext *gc, uint32_t dirty) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  gc->dirtyMask |= dirty;
}
