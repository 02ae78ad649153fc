// The draw-pixels procedure of the core's table: a kernel when the state
// leaves nothing for the fragment pipeline to do, the generic path
// otherwise, both inside one buffer lock.
#include "core/context.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_enums.h"
#include "pixels/px_fast_draw.h"
#include "pixels/px_unpack.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"

namespace {

// Fragment work the kernels cannot do. Fog is among it: the generic store
// fogs drawn pixels.
constexpr uint32_t kFragmentWork = __GL_SHADE_DEPTH_TEST | __GL_SHADE_TEXTURE | __GL_SHADE_STIPPLE |
                                   __GL_SHADE_STENCIL_TEST | __GL_SHADE_LOGIC_OP |
                                   __GL_SHADE_BLEND | __GL_SHADE_MASK | __GL_SHADE_INDEX_TEST |
                                   __GL_SHADE_FOG;

bool UnitZoom(GLfloat zoom) { return zoom == 1.0f || zoom == -1.0f; }

// Nothing between the image and the buffer but a format conversion.
bool IdentityTransfer(const GlPixelTransferMode &tm) {
  return !tm.mapColor && tm.redBias == 0.0f && tm.greenBias == 0.0f && tm.blueBias == 0.0f &&
         tm.alphaBias == 0.0f && tm.redScale == 1.0f && tm.greenScale == 1.0f &&
         tm.blueScale == 1.0f && tm.alphaScale == 1.0f && tm.indexShift == 0 && tm.indexOffset == 0;
}

// The kernels write one buffer: not both, and not the one GL_NONE left
// named.
bool OneBufferDrawn(const GlContext *gc) {
  const GLenum drawn = gc->state.raster.drawBuffer;
  return drawn != GL_NONE && drawn != GL_FRONT_AND_BACK && gc->drawBuffer != nullptr &&
         gc->drawBuffer->buf.drawableBuf != nullptr;
}

// The alpha test reads the table by the source's alpha byte.
bool ByteAlphaTable(const GlContext *gc) {
  return gc->alphaTestTable != nullptr && gc->constants.alphaTestSize == 256;
}

GlDrawPixelsKernel PickRGB16(const GlContext *gc, uint32_t flags, GLenum format) {
  const bool alphaTest = flags & __GL_SHADE_ALPHA_TEST;
  if (flags & __GL_SHADE_DITHER) {
    if (alphaTest) return nullptr;
    if (format == GL_RGB) return __glDrawPixels_FastRGB16_Dither;
    return format == GL_RGBA ? __glDrawPixels_FastRGBAubyte16 : nullptr;
  }
  if (alphaTest) {
    const bool fourBytes = format == GL_RGBA || format == GL_BGRA_EXT || format == GL_ABGR_EXT;
    return fourBytes && ByteAlphaTable(gc) ? __glDrawPixels_FastRGBA16_Atest : nullptr;
  }
  if (format == GL_RGB) return __glDrawPixels_FastRGB16;
  return format == GL_RGBA ? __glDrawPixels_FastRGBAubyte16 : nullptr;
}

}  // namespace

GlDrawPixelsKernel __glPickDrawPixelsKernel(const GlContext *gc, GLenum format, GLenum type) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  if (type != GL_UNSIGNED_BYTE || (flags & kFragmentWork) || !UnitZoom(tm.zoomX) ||
      !UnitZoom(tm.zoomY) || !IdentityTransfer(tm) || !OneBufferDrawn(gc))
    return nullptr;
  const uint32_t elementSize = gc->drawBuffer->buf.drawableBuf->elementSize;
  // The kernels write no alpha: a buffer with alpha planes would get 0
  // where the image's alpha belongs.
  if (gc->modes.rgbMode)
    return elementSize == 2 && gc->modes.alphaBits == 0 ? PickRGB16(gc, flags, format) : nullptr;
  // The colour-index kernel ignores the clip list, so it stays off the
  // screen's shared front buffer.
  if (elementSize == 1 && format == GL_COLOR_INDEX && !(flags & __GL_SHADE_FRONT_BUFFER))
    return __glDrawPixels_FastCI8;
  return nullptr;
}

void __glDrawPixelsPicked(GlContext *gc, GlDrawPixelsPicker pick, GLsizei width, GLsizei height,
                          GLenum format, GLenum type, const void *pixels, GLbool8 packed) {
  const uint32_t mask = __glDrawPixelsLockMask(gc, format);
  gc->lockBuffers(gc, mask);
  // Picked under the lock: taking it may deliver a resize.
  if (GlDrawPixelsKernel kernel = pick(gc, format, type)) {
    GlPixelSpanInfo info;
    __glInitDrawPixelsInfo(gc, &info, width, height, format, type, pixels);
    __glLoadUnpackModes(gc, &info, packed);
    if (__glClipDrawPixels(gc, &info) && __glInitUnpacker(gc, &info)) kernel(gc, &info);
  } else {
    __glSlowPickDrawPixels(gc, width, height, format, type, pixels, packed);
  }
  gc->unlockBuffers(gc, mask);
}

void __glOptPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                           const void *pixels, GLbool8 packed) {
  __glDrawPixelsPicked(
      gc, [](GlContext *c, GLenum f, GLenum t) { return __glPickDrawPixelsKernel(c, f, t); },
      width, height, format, type, pixels, packed);
}
