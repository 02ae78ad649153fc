// glSelectBuffer and the name-stack entries. The stack changes only in
// GL_SELECT mode; every change closes the open hit record, so the next hit
// begins a new one.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_select.h"

namespace {

// The context when the name stack may change: outside glBegin/glEnd and in
// GL_SELECT mode; null otherwise (an error recorded only inside glBegin).
GlContext *ContextForNames() {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc || gc->renderMode != GL_SELECT) return nullptr;
  return gc;
}

int32_t Depth(const GlSelectState &s) { return int32_t(s.sp - s.stack); }

// The selection state when the name stack may change and holds a name;
// null otherwise, with `emptyError` recorded for an empty stack.
GlSelectState *StackWithTop(GLenum emptyError) {
  GlContext *gc = ContextForNames();
  if (!gc) return nullptr;
  if (Depth(gc->select) <= 0) {
    __glSetError(emptyError);
    return nullptr;
  }
  return &gc->select;
}

}  // namespace

void GLENTRY __glim_SelectBuffer(GLsizei size, GLuint *buffer) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (size < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (gc->renderMode == GL_SELECT) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  GlSelectState &s = gc->select;
  // A record left open points into the old buffer: the next hit begins anew.
  s.hit = 0;
  s.z = nullptr;
  s.overflow = 0;
  s.buffer = buffer;
  s.cursor = buffer;
  s.bufferSize = size;
}

void GLENTRY __glim_InitNames(void) {
  GlContext *gc = ContextForNames();
  if (!gc) return;
  gc->select.sp = gc->select.stack;
  gc->select.hit = 0;
}

void GLENTRY __glim_LoadName(GLuint name) {
  GlSelectState *s = StackWithTop(GL_INVALID_OPERATION);
  if (!s) return;
  s->sp[-1] = name;
  s->hit = 0;
}

void GLENTRY __glim_PushName(GLuint name) {
  GlContext *gc = ContextForNames();
  if (!gc) return;
  GlSelectState &s = gc->select;
  if (!s.stack || Depth(s) >= gc->constants.maxNameStackDepth) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  *s.sp++ = name;
  s.hit = 0;
}

void GLENTRY __glim_PopName(void) {
  GlSelectState *s = StackWithTop(GL_STACK_UNDERFLOW);
  if (!s) return;
  --s->sp;
  s->hit = 0;
}
