// The SiS context's draw-pixels procedure: the colour kernels where the
// core's picker would take its own (RGBA contexts only), the depth kernel
// where storing the image's words is all OpenGL would do, the generic path
// otherwise.
#include "core/context.h"
#include "core/s_pick.h"
#include "pixels/px_draw_pixels.h"
#include "raster/s_depth.h"
#include "sis/sis_pixels.h"

namespace {

bool UnitZoom(GLfloat zoom) { return zoom == 1.0f || zoom == -1.0f; }

// Depth test on with GL_ALWAYS and writes on, no colour written, no test
// that could drop a fragment, no transfer of the depth values, and a plain
// 16-bit buffer (no clear epochs, not reversed): then each fragment stores
// its source word and nothing else.
bool OnlyDepthWordsStored(GlContext *gc) {
  const uint32_t general = gc->state.enables.general;
  const GlRasterState &raster = gc->state.raster;
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  if (!gc->modes.rgbMode || raster.rMask || raster.gMask || raster.bMask || raster.aMask)
    return false;
  if (!(general & __GL_DEPTH_TEST_ENABLE) || gc->state.depth.testFunc != GL_ALWAYS ||
      !gc->state.depth.writeEnable)
    return false;
  if (general & (__GL_STENCIL_TEST_ENABLE | __GL_ALPHA_TEST_ENABLE)) return false;
  if (tm.depthScale != 1.0f || tm.depthBias != 0.0f || !UnitZoom(tm.zoomX) || !UnitZoom(tm.zoomY))
    return false;
  const GlDrawableBuffer *buffer = gc->depthBuffer.buf.drawableBuf;
  if (!gc->modes.haveDepthBuffer || !buffer || buffer->elementSize != 2) return false;
  const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
  return rec && rec->step == 0 && rec->base == 0 && !rec->reverse;
}

// The SiS colour kernels stand where the core's would; they pack alike.
struct SameKernel {
  GlDrawPixelsKernel core, sis;
};
const SameKernel kColourKernels[] = {
    {__glDrawPixels_FastRGB16, __glSiSDrawPixels_FastRGB16},
    {__glDrawPixels_FastRGB16_Dither, __glSiSDrawPixels_FastRGB16_Dither},
    {__glDrawPixels_FastRGBAubyte16, __glSiSDrawPixels_FastRGBAubyte16},
    {__glDrawPixels_FastRGBA16_Atest, __glSiSDrawPixels_FastRGBA16_Atest},
};

}  // namespace

GlDrawPixelsKernel __glSiSPickDrawPixelsKernel(GlContext *gc, GLenum format, GLenum type) {
  // Depth rectangles of other types, or into a deeper buffer, take the
  // generic path.
  if (format == GL_DEPTH_COMPONENT)
    return type == GL_UNSIGNED_SHORT && OnlyDepthWordsStored(gc)
               ? __glSiSDrawPixels_FastDepthUShort16
               : nullptr;
  // The core's conditions are the colour path's: unsigned bytes, no fragment
  // work (fog included), unit zoom, identity transfer, one buffer drawn.
  if (!gc->modes.rgbMode) return nullptr;
  const GlDrawPixelsKernel core = __glPickDrawPixelsKernel(gc, format, type);
  for (const SameKernel &k : kColourKernels)
    if (k.core == core) return k.sis;
  return nullptr;
}

void __glSiSPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                           const void *pixels, GLbool8 packed) {
  __glDrawPixelsPicked(gc, __glSiSPickDrawPixelsKernel, width, height, format, type, pixels,
                       packed);
}

void __glSiSPickPixelProcs(GlContext *gc) {
  __glGenericPickPixelProcs(gc);
  gc->procs.drawPixels = __glSiSPickDrawPixels;
}
