// The RGB colour buffer's span stores: through the fragment store, and the
// 16- and 24-bit stores without a call per pixel.
#include <string.h>

#include "core/context.h"
#include "raster/s_color_pixel.h"
#include "raster/s_rgb.h"
#include "raster/s_shader.h"

namespace rgb {

namespace {

// Calls `store` for each pixel of the span with its position and colour.
template <typename Store>
void ForEachPixel(const GlShader &sh, Store store) {
  for (int32_t i = 0; i < sh.length; i++) store(sh.x + i, sh.spanColors[i]);
}

// Whether 2-byte pixels carry alpha (the 1-5-5-5 layout).
bool HasAlphaChannel(const GlContext *gc) { return gc->modes.alphaMask != 0; }

// A 2-byte pixel from components rounded to nearest.
template <typename Round>
uint16_t Pack16(const GlColorBuffer *cfb, const GlColor &c, bool alpha, Round round) {
  uint32_t value =
      round(c.r) << cfb->redShift | round(c.g) << cfb->greenShift | round(c.b) << cfb->blueShift;
  if (alpha) value |= round(c.a) << cfb->alphaShift;
  return uint16_t(value);
}

}  // namespace

GLbool8 StoreSpan(GlContext *gc) {
  __glStoreSpanThroughFragments(gc, false);
  return 0;
}

GLbool8 StoreStippledSpan(GlContext *gc) {
  __glStoreSpanThroughFragments(gc, true);
  return 0;
}

GLbool8 StoreSpan_24(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  ForEachPixel(sh, [&](int32_t x, const GlColor &c) {
    if (!__glColorStoreOwns(gc, cfb, x, sh.y)) return;
    uint8_t *p = __glPixelAddress(gc, cfb->buf.drawableBuf, x, sh.y);
    p[2] = uint8_t(__glRoundBits(c.r));
    p[1] = uint8_t(__glRoundBits(c.g));
    p[0] = uint8_t(__glRoundBits(c.b));
  });
  return 0;
}

GLbool8 StoreSpan_16(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  const bool alpha = HasAlphaChannel(gc);
  ForEachPixel(sh, [&](int32_t x, const GlColor &c) {
    if (!__glColorStoreOwns(gc, cfb, x, sh.y)) return;
    const uint16_t value = Pack16(cfb, c, alpha, __glRoundBits);
    memcpy(__glPixelAddress(gc, cfb->buf.drawableBuf, x, sh.y), &value, sizeof value);
  });
  return 0;
}

GLbool8 StoreSpan_16_Dither(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  const bool alpha = HasAlphaChannel(gc);
  const GLfloat *ditherRow = &__glFloatDitherTable[4 * (uint32_t(sh.y) & 3)];
  ForEachPixel(sh, [&](int32_t x, const GlColor &c) {
    if (!__glColorStoreOwns(gc, cfb, x, sh.y)) return;
    const GLfloat d = ditherRow[uint32_t(x) & 3];
    const uint16_t value =
        Pack16(cfb, c, alpha, [d](GLfloat v) { return __glRoundBitsSigned(v + d); });
    memcpy(__glPixelAddress(gc, cfb->buf.drawableBuf, x, sh.y), &value, sizeof value);
  });
  return 0;
}

GLbool8 StoreSpan_16_General(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GlColorBuffer *cfb = sh.cfb;
  const bool alpha = HasAlphaChannel(gc);
  GlFragment frag{};
  frag.y = sh.y;
  ForEachPixel(sh, [&](int32_t x, const GlColor &c) {
    if (!__glColorStoreOwns(gc, cfb, x, sh.y)) return;
    uint8_t *p = __glPixelAddress(gc, cfb->buf.drawableBuf, x, sh.y);
    uint16_t current;
    memcpy(&current, p, sizeof current);
    frag.x = x;
    frag.color = c;
    const uint16_t value = uint16_t(PixelValue(gc, cfb, &frag, current, 0xFFFF, true, alpha));
    memcpy(p, &value, sizeof value);
  });
  return 0;
}

}  // namespace rgb
