// glBitmap and the pixel-rectangle entries: validated like every drawing
// entry, their arguments checked, then handed to the context's bitmap and
// pixel procedures once the hardware is idle. A negative size is refused
// before anything else is looked at.
#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_draw_entry.h"
#include "geometry/s_feedback.h"
#include "pixels/px_args.h"
#include "pixels/px_enums.h"

namespace {

bool NegativeSize(GLsizei width, GLsizei height) {
  if (width >= 0 && height >= 0) return false;
  __glSetError(GL_INVALID_VALUE);
  return true;
}

// The format glCopyPixels moves for its type; 0 when the call is refused.
GLenum CopyFormat(GlContext *gc, GLenum type) {
  switch (type) {
    case GL_COLOR:
      return gc->modes.rgbMode ? GL_RGBA : GL_COLOR_INDEX;
    case GL_DEPTH:
      if (gc->modes.haveDepthBuffer) return GL_DEPTH_COMPONENT;
      __glSetError(GL_INVALID_OPERATION);
      return 0;
    case GL_STENCIL:
      if (gc->modes.haveStencilBuffer) return GL_STENCIL_INDEX;
      __glSetError(GL_INVALID_OPERATION);
      return 0;
    default:
      __glSetError(GL_INVALID_ENUM);
      return 0;
  }
}

// A null image of a non-empty rectangle is passed over: OpenGL leaves it
// undefined, and nothing may read through it.
bool MissingImage(GLsizei width, GLsizei height, const void *pixels) {
  return pixels == nullptr && width > 0 && height > 0;
}

}  // namespace

void GLENTRY __glim_Bitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                           GLfloat xmove, GLfloat ymove, const GLubyte *bitmap) {
  GlContext *gc =
      __glContextForDrawing([&] { glBitmap(width, height, xorig, yorig, xmove, ymove, bitmap); });
  if (!gc || NegativeSize(width, height)) return;
  gc->procs.waitIdle(gc);
  gc->procs.drawBitmap(gc, width, height, xorig, yorig, xmove, ymove, bitmap);
}

// Pixel rectangles drawn or copied need a valid raster position; in
// feedback they leave a record, while selecting nothing.
void GLENTRY __glim_DrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type,
                               const GLvoid *pixels) {
  GlContext *gc = __glContextForDrawing([&] { glDrawPixels(width, height, format, type, pixels); });
  if (!gc || !__glCheckDrawPixelArgs(gc, width, height, format, type)) return;
  if (MissingImage(width, height, pixels) || !gc->state.current.validRasterPos) return;
  if (gc->renderMode == GL_FEEDBACK) {
    __glFeedbackDrawPixels(gc, &gc->state.current.rasterPos);
    return;
  }
  if (gc->renderMode != GL_RENDER) return;
  gc->procs.waitIdle(gc);
  gc->procs.drawPixels(gc, width, height, format, type, pixels, 0);
}

// The raster position and the render mode play no part in reading.
void GLENTRY __glim_ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                               GLenum type, GLvoid *pixels) {
  GlContext *gc =
      __glContextForDrawing([&] { glReadPixels(x, y, width, height, format, type, pixels); });
  if (!gc || !__glCheckReadPixelArgs(gc, width, height, format, type)) return;
  if (MissingImage(width, height, pixels)) return;
  gc->procs.waitIdle(gc);
  gc->procs.readPixels(gc, x, y, width, height, format, type, pixels);
}

void GLENTRY __glim_CopyPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum type) {
  GlContext *gc = __glContextForDrawing([&] { glCopyPixels(x, y, width, height, type); });
  if (!gc || NegativeSize(width, height)) return;
  const GLenum format = CopyFormat(gc, type);
  if (!format || !gc->state.current.validRasterPos) return;
  if (gc->renderMode == GL_FEEDBACK) {
    __glFeedbackCopyPixels(gc, &gc->state.current.rasterPos);
    return;
  }
  if (gc->renderMode != GL_RENDER) return;
  gc->procs.waitIdle(gc);
  gc->procs.copyPixels(gc, x, y, width, height, format);
}
