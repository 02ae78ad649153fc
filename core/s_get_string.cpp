// glGetString: the four strings the context's reset chose (the device may
// replace them at its first binding).
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"

const GLubyte *GLENTRY __glim_GetString(GLenum name) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return nullptr;
  }
  const char *text;
  switch (name) {
    case GL_VENDOR: text = gc->constants.vendor; break;
    case GL_RENDERER: text = gc->constants.renderer; break;
    case GL_VERSION: text = gc->constants.version; break;
    case GL_EXTENSIONS: text = gc->constants.extensions; break;
    default: __glSetError(GL_INVALID_ENUM); return nullptr;
  }
  return reinterpret_cast<const GLubyte *>(text);
}
