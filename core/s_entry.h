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

// The calling thread's context for an entry that names one of a run of
// objects (the lights from GL_LIGHT0, the clip planes from GL_CLIP_PLANE0),
// with the object's number in *index; null, after recording the error,
// between glBegin and glEnd or when the name is outside the run (names
// below `first` wrap high).
inline GlContext *__glContextForNumbered(GLenum name, GLenum first,
                                         int32_t GlConstants::*count, int32_t *index) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return nullptr;
  const GLuint n = name - first;
  if (n >= GLuint(gc->constants.*count)) {
    __glSetError(GL_INVALID_ENUM);
    return nullptr;
  }
  *index = int32_t(n);
  return gc;
}

// Commands that read state the pickers derive (texture images, bindings)
// pick the procedures first when validation is pending.
inline void __glValidateIfPending(GlContext *gc) {
  if (gc->beginMode != __GL_VALIDATE_PENDING) return;
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

// State changed: the next drawing command validates the groups in `dirty`.
inline void __glDelayValidate(GlContext *gc, uint32_t dirty) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  gc->dirtyMask |= dirty;
}
