// The line stores: every pixel through the colour buffer's fragment store,
// or written directly into 16-bit RGB and 8-bit colour-index memory when no
// colour operation needs the destination. The direct stores round to
// nearest by adding 1.5 x 2^23 (after the dither offset when dithering).
#include "core/context.h"
#include "raster/s_color_pixel.h"
#include "raster/s_dither.h"
#include "raster/s_line.h"
#include "raster/s_line_walk.h"

namespace {

using line_walk::Cursor;
using line_walk::Dda;

bool Alive(const uint32_t *words, int32_t k) {
  return (words[k >> 5] & (0x80000000u >> (k & 31))) != 0;
}

GLfloat DitherOffset(int32_t x, int32_t y) {
  return __glFloatDitherTable[(uint32_t(x) & 3) + 4 * (uint32_t(y) & 3)];
}

template <bool kStippled>
GLbool8 StoreThroughFragments(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GlColorBuffer *cfb = sh.cfb;
  if (!cfb || !cfb->store) return 0;
  Dda dda(gc->line);
  GlFragment frag{};
  for (int32_t k = 0; k < sh.length; k++) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      frag.x = dda.x;
      frag.y = dda.y;
      frag.color = sh.spanColors[k];
      cfb->store(cfb, &frag);
    }
    dda.Step();
  }
  return 0;
}

// What the direct stores vary in: the colour of a pixel (its own or the
// first one's), with the dither offset or not.
enum class Source { kFlat, kSmooth };

template <bool kStippled, Source kSource, bool kDither>
GLbool8 StoreRGB16(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  if (!cfb) return 0;
  Dda dda(gc->line);
  Cursor c(gc, cfb->buf.drawableBuf, gc->line);
  if (!c.p) return 0;
  const uint32_t rs = cfb->redShift, gs = cfb->greenShift, bs = cfb->blueShift;
  auto pack = [&](const GlColor &col, GLfloat d) {
    return uint16_t(__glRoundBitsSigned(col.r + d) << rs | __glRoundBitsSigned(col.g + d) << gs |
                    __glRoundBitsSigned(col.b + d) << bs);
  };
  const uint16_t flat = pack(sh.spanColors[0], 0.0f);
  for (int32_t k = 0; k < sh.length; k++) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      uint16_t pixel = flat;
      if (kSource == Source::kSmooth)
        pixel = pack(sh.spanColors[k], kDither ? DitherOffset(dda.x, dda.y) : 0.0f);
      *reinterpret_cast<uint16_t *>(c.p) = pixel;
    }
    c.Step(dda.Step());
  }
  return 0;
}

template <bool kStippled, Source kSource, bool kDither>
GLbool8 StoreCI8(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  if (!cfb) return 0;
  Dda dda(gc->line);
  Cursor c(gc, cfb->buf.drawableBuf, gc->line);
  if (!c.p) return 0;
  const GLfloat first = sh.spanColors[0].r;
  for (int32_t k = 0; k < sh.length; k++) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      const GLfloat index = kSource == Source::kFlat ? first : sh.spanColors[k].r;
      const GLfloat d = kDither ? DitherOffset(dda.x, dda.y) : 0.0f;
      *c.p = uint8_t(__glRoundBitsSigned(index + d));
    }
    c.Step(dda.Step());
  }
  return 0;
}

}  // namespace

GLbool8 __glStoreLine(GlContext *gc) { return StoreThroughFragments<false>(gc); }
GLbool8 __glStoreStippledLine(GlContext *gc) { return StoreThroughFragments<true>(gc); }

GLbool8 __glStoreLine_RGB_16_Flat(GlContext *gc) {
  return StoreRGB16<false, Source::kFlat, false>(gc);
}
GLbool8 __glStoreStippledLine_RGB_16_Flat(GlContext *gc) {
  return StoreRGB16<true, Source::kFlat, false>(gc);
}
GLbool8 __glStoreLine_RGB_16_Smooth(GlContext *gc) {
  return StoreRGB16<false, Source::kSmooth, false>(gc);
}
GLbool8 __glStoreStippledLine_RGB_16_Smooth(GlContext *gc) {
  return StoreRGB16<true, Source::kSmooth, false>(gc);
}
GLbool8 __glStoreLine_RGB_16_Dither(GlContext *gc) {
  return StoreRGB16<false, Source::kSmooth, true>(gc);
}
GLbool8 __glStoreStippledLine_RGB_16_Dither(GlContext *gc) {
  return StoreRGB16<true, Source::kSmooth, true>(gc);
}

GLbool8 __glStoreLine_CI_8_Flat(GlContext *gc) { return StoreCI8<false, Source::kFlat, false>(gc); }
GLbool8 __glStoreStippledLine_CI_8_Flat(GlContext *gc) {
  return StoreCI8<true, Source::kFlat, false>(gc);
}
GLbool8 __glStoreLine_CI_8_Smooth(GlContext *gc) {
  return StoreCI8<false, Source::kSmooth, false>(gc);
}
GLbool8 __glStoreStippledLine_CI_8_Smooth(GlContext *gc) {
  return StoreCI8<true, Source::kSmooth, false>(gc);
}
GLbool8 __glStoreLine_CI_8_Flat_Dither(GlContext *gc) {
  return StoreCI8<false, Source::kFlat, true>(gc);
}
GLbool8 __glStoreStippledLine_CI_8_Flat_Dither(GlContext *gc) {
  return StoreCI8<true, Source::kFlat, true>(gc);
}
GLbool8 __glStoreLine_CI_8_Smooth_Dither(GlContext *gc) {
  return StoreCI8<false, Source::kSmooth, true>(gc);
}
GLbool8 __glStoreStippledLine_CI_8_Smooth_Dither(GlContext *gc) {
  return StoreCI8<true, Source::kSmooth, true>(gc);
}
