// glGetError: the one query that changes the context (it clears the error).
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"

GLenum GLENTRY __glim_GetError(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return GL_NO_ERROR;
  }
  GLenum error = gc->error;
  gc->error = GL_NO_ERROR;
  return error;
}
