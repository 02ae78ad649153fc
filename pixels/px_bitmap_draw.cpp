// The bitmap procedure: the client's bits packed with the unpack modes
// into a temporary the renderer reads.
#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_pack.h"

void __glDrawBitmap(GlContext *gc, GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                    GLfloat xmove, GLfloat ymove, const GLubyte *bitmap) {
  const GlBitmap desc = {width, height, xorig, yorig, xmove, ymove};
  // An empty bitmap, or one without bits, still moves the raster position.
  if (width < 1 || height < 1 || bitmap == nullptr) {
    gc->procs.renderBitmap(gc, &desc, nullptr);
    return;
  }
  const int64_t bytes = __glImageSize(width, height, GL_COLOR_INDEX, GL_BITMAP);
  if (!__glImageSizeFits(bytes)) return;
  GLubyte *bits = static_cast<GLubyte *>(gc->imports.malloc(gc, size_t(bytes)));
  if (bits == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return;
  }
  // A client image out of reach has recorded its error: nothing drawn.
  if (__glFillImage(gc, width, height, GL_COLOR_INDEX, GL_BITMAP, bitmap, bits))
    gc->procs.renderBitmap(gc, &desc, bits);
  gc->imports.free(gc, bits);
}
