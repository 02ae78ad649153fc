// The pixel-rectangle procedures and what the span chains need to know of
// the pixel-transfer state: which kinds of value it changes, the colour
// missing components get, and whether the fast draw paths may run.
#include "core/context.h"
#include "core/s_pick.h"
#include "pixels/px_modify.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_state.h"

namespace {

// Into [0, 1]; NaN becomes 0.
GLfloat Clamped(GLfloat v) {
  if (!(v >= 0.0f)) return 0.0f;
  return v > 1.0f ? 1.0f : v;
}

// A colour map's entry for v: the nearest of the map's entries, limited to
// the map. A map without a table reads as the default map (0).
GLfloat Mapped(const GlPixelMap &map, GLfloat v) {
  if (map.size <= 0 || map.base.mapF == nullptr) return 0.0f;
  return map.base.mapF[__glColorMapIndex(map.size, v)];
}

GlColor ColorBufferScales(const GlContext *gc) {
  if (const GlColorBuffer *cfb = gc->drawBuffer)
    return {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
  const GlConstants &k = gc->constants;
  return {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
}

// Opaque black through the colour transfer, at colour-buffer scale.
GlColor TransferredBlack(const GlContext *gc) {
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  const GlPixelMap *maps = gc->pixel.pixelMap;
  GlColor c = {tm.redBias, tm.greenBias, tm.blueBias, tm.alphaScale + tm.alphaBias};
  if (tm.mapColor) {
    c = {Mapped(maps[__GL_PIXEL_MAP_R_TO_R], c.r), Mapped(maps[__GL_PIXEL_MAP_G_TO_G], c.g),
         Mapped(maps[__GL_PIXEL_MAP_B_TO_B], c.b), Mapped(maps[__GL_PIXEL_MAP_A_TO_A], c.a)};
  } else {
    c = {Clamped(c.r), Clamped(c.g), Clamped(c.b), Clamped(c.a)};
  }
  GlColor s = ColorBufferScales(gc);
  return {c.r * s.r, c.g * s.g, c.b * s.b, c.a * s.a};
}

void PickModifyFlags(GlContext *gc) {
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  GlPixelModifyState &m = gc->pixel.modify;
  bool shifted = tm.indexShift != 0 || tm.indexOffset != 0;
  // An RGBA context turns every index into a colour through the maps.
  m.modifyCI = tm.mapColor || !gc->modes.colorIndexMode || shifted;
  if (m.modifyCI) m.itoiValid = m.itoRgbaValid = 0;
  m.modifyStencil = tm.mapStencil || shifted;
  m.modifyDepth = tm.depthScale != 1.0f || tm.depthBias != 0.0f;
  m.modifyRGBA = tm.mapColor || tm.redBias != 0.0f || tm.greenBias != 0.0f ||
                 tm.blueBias != 0.0f || tm.alphaBias != 0.0f || tm.redScale != 1.0f ||
                 tm.greenScale != 1.0f || tm.blueScale != 1.0f || tm.alphaScale != 1.0f;
  if (m.modifyRGBA) {
    m.rgbaValid = 0;
    m.defaultColor = TransferredBlack(gc);
  } else {
    m.defaultColor = {0.0f, 0.0f, 0.0f, ColorBufferScales(gc).a};
  }
}

// The fast paths write pixels straight to the buffer: no per-fragment work
// may be on, and exactly one colour buffer is drawn.
bool FastDrawAllowed(const GlContext *gc, bool textured, bool fogged) {
  uint32_t general = gc->state.enables.general;
  constexpr uint32_t kTests =
      __GL_ALPHA_TEST_ENABLE | __GL_DEPTH_TEST_ENABLE | __GL_STENCIL_TEST_ENABLE;
  GLenum drawn = gc->state.raster.drawBuffer;
  return !(general & kTests) && drawn != GL_NONE && drawn != GL_FRONT_AND_BACK &&
         (general & __GL_DITHER_ENABLE) && !(general & __GL_BLEND_ENABLE) && !textured && !fogged;
}

}  // namespace

void __glGenericPickPixelProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  GLenum read = gc->pixel.readBuffer;
  if (read == GL_FRONT && gc->front != nullptr)
    gc->readBuffer = gc->front;
  else if (read == GL_BACK && gc->back != nullptr)
    gc->readBuffer = gc->back;

  bool textured = gc->texture.current != nullptr;
  bool fogged = (gc->state.enables.general & __GL_FOG_ENABLE) != 0;
  p.pixel.drawPixelsStore = textured || fogged ? __glSlowDrawPixelsStore : p.store;

  PickModifyFlags(gc);
  gc->pixel.modify.fastDraw = FastDrawAllowed(gc, textured, fogged);

  p.drawPixels = __glOptPickDrawPixels;
  p.copyPixels = __glSlowPickCopyPixels;
  p.readPixels = __glSlowPickReadPixels;
}
