// glRenderMode: switching between rendering, feedback and selection.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"

namespace {

// What the mode being left produced: feedback values or selection hits
// written, or -1 when its buffer ran full.
GLint ResultOfLeaving(const GlContext *gc) {
  switch (gc->renderMode) {
    case GL_FEEDBACK:
      if (gc->feedback.overflow) return -1;
      return GLint(gc->feedback.cursor - gc->feedback.buffer);
    case GL_SELECT:
      if (gc->select.overflow) return -1;
      return gc->select.hits;
    default:
      return 0;
  }
}

}  // namespace

GLint GLENTRY __glim_RenderMode(GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return 0;
  }
  if (mode != GL_RENDER && mode != GL_FEEDBACK && mode != GL_SELECT) {
    __glSetError(GL_INVALID_ENUM);
    return 0;
  }
  GLint result = ResultOfLeaving(gc);

  // The primitive procedures of the new mode are picked at the next glBegin.
  gc->renderMode = mode;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);

  // Entering a mode without its buffer reports the error, but the mode
  // stands: drawing in it then writes nothing.
  if (mode == GL_FEEDBACK) {
    if (!gc->feedback.buffer) {
      __glSetError(GL_INVALID_OPERATION);
      return result;
    }
    gc->feedback.cursor = gc->feedback.buffer;
    gc->feedback.overflow = 0;
  } else if (mode == GL_SELECT) {
    if (!gc->select.buffer) {
      __glSetError(GL_INVALID_OPERATION);
      return result;
    }
    gc->select.cursor = gc->select.buffer;
    gc->select.overflow = 0;
    gc->select.sp = gc->select.stack;
    gc->select.hit = 0;
    gc->select.hits = 0;
    gc->select.z = nullptr;
  }
  return result;
}
