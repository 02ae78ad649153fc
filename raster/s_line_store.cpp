// The line stores: every pixel through the colour buffer's fragment store,
// or written directly into 16-bit RGB and 8-bit colour-index memory when no
// colour operation needs the destination. The direct stores round to
// nearest by adding 1.5 x 2^23 (after the dither offset when dithering);
// the 16-bit RGB ones first clamp each component into its field.
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
  // With the draw buffer GL_NONE no colour buffer is locked for drawing.
  if (!cfb || !cfb->store || gc->state.raster.drawBuffer == GL_NONE) return 0;
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
// first one's), with the dither offset or not, and the memory format.
enum class Source { kFlat, kSmooth };

// A component rounded into its field. A line's last pixel can lie past its
// second vertex, and its colour then runs past the second colour, out of
// the buffer's range: a green below 0 would set every bit above it.
inline uint32_t Field(GLfloat v, GLfloat max) {
  return __glRoundBitsSigned(v > 0.0f ? (v < max ? v : max) : 0.0f);
}

struct RGB16 {
  using Pixel = uint16_t;
  uint32_t rs, gs, bs;
  GLfloat rm, gm, bm;
  explicit RGB16(const GlColorBuffer &cfb)
      : rs(cfb.redShift),
        gs(cfb.greenShift),
        bs(cfb.blueShift),
        rm(GLfloat(cfb.redMax)),
        gm(GLfloat(cfb.greenMax)),
        bm(GLfloat(cfb.blueMax)) {}
  Pixel Pack(const GlColor &col, GLfloat d) const {
    return Pixel(Field(col.r + d, rm) << rs | Field(col.g + d, gm) << gs |
                 Field(col.b + d, bm) << bs);
  }
};

struct CI8 {
  using Pixel = uint8_t;
  explicit CI8(const GlColorBuffer &) {}
  Pixel Pack(const GlColor &col, GLfloat d) const {
    return Pixel(__glRoundBitsSigned(col.r + d));
  }
};

template <class Format, bool kStippled, Source kSource, bool kDither>
GLbool8 StoreDirect(GlContext *gc) {
  using Pixel = typename Format::Pixel;
  const GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  if (!cfb) return 0;
  Dda dda(gc->line);
  Cursor c(gc, cfb->buf.drawableBuf, gc->line);
  if (!c.p) return 0;
  const Format format(*cfb);
  // Without dither a flat line has one pixel value throughout.
  const Pixel flat = format.Pack(sh.spanColors[0], 0.0f);
  for (int32_t k = 0; k < sh.length; k++) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      Pixel pixel = flat;
      if (kSource == Source::kSmooth || kDither)
        pixel = format.Pack(sh.spanColors[kSource == Source::kSmooth ? k : 0],
                            kDither ? DitherOffset(dda.x, dda.y) : 0.0f);
      *reinterpret_cast<Pixel *>(c.p) = pixel;
    }
    c.Step(dda.Step());
  }
  return 0;
}

}  // namespace

GLbool8 __glStoreLine(GlContext *gc) { return StoreThroughFragments<false>(gc); }
GLbool8 __glStoreStippledLine(GlContext *gc) { return StoreThroughFragments<true>(gc); }

// Each direct store in its plain and stippled form.
#define GL_LINE_STORES(Suffix, Format, kSource, kDither)                       \
  GLbool8 __glStoreLine_##Suffix(GlContext *gc) {                              \
    return StoreDirect<Format, false, kSource, kDither>(gc);                   \
  }                                                                            \
  GLbool8 __glStoreStippledLine_##Suffix(GlContext *gc) {                      \
    return StoreDirect<Format, true, kSource, kDither>(gc);                    \
  }
GL_LINE_STORES(RGB_16_Flat, RGB16, Source::kFlat, false)
GL_LINE_STORES(RGB_16_Smooth, RGB16, Source::kSmooth, false)
GL_LINE_STORES(RGB_16_Dither, RGB16, Source::kSmooth, true)
GL_LINE_STORES(CI_8_Flat, CI8, Source::kFlat, false)
GL_LINE_STORES(CI_8_Smooth, CI8, Source::kSmooth, false)
GL_LINE_STORES(CI_8_Flat_Dither, CI8, Source::kFlat, true)
GL_LINE_STORES(CI_8_Smooth_Dither, CI8, Source::kSmooth, true)
#undef GL_LINE_STORES
