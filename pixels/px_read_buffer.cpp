// glReadBuffer: the colour buffer the read and copy paths read.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"

namespace {

// The buffer read for a request, or 0 with the error it raises.
GLenum ReadBufferFor(const GlContext *gc, GLenum mode, GLenum *error) {
  *error = GL_NO_ERROR;
  switch (mode) {
    case GL_FRONT_LEFT:
    case GL_FRONT:
    case GL_LEFT: return GL_FRONT;
    case GL_FRONT_RIGHT:
    case GL_BACK_RIGHT:
    case GL_RIGHT: *error = GL_INVALID_OPERATION; return 0;  // no stereo
    case GL_BACK_LEFT:
    case GL_BACK:
      if (gc->modes.doubleBufferMode) return GL_BACK;
      *error = GL_INVALID_OPERATION;
      return 0;
    default: break;
  }
  if (mode >= GL_AUX0 && mode <= 0x04FF) {
    if (mode - GL_AUX0 < __GL_AUX_BUFFERS) return mode;
    *error = GL_INVALID_OPERATION;
    return 0;
  }
  *error = GL_INVALID_ENUM;  // GL_FRONT_AND_BACK too
  return 0;
}

}  // namespace

void GLENTRY __glim_ReadBuffer(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GLenum error;
  const GLenum read = ReadBufferFor(gc, mode, &error);
  if (error != GL_NO_ERROR) {
    __glSetError(error);
    return;
  }
  gc->pixel.readBuffer = read;
  gc->pixel.readBufferReturn = mode;
  __glDelayValidate(gc, __GL_DIRTY_PIXEL | __GL_DIRTY_GENERIC);
}
