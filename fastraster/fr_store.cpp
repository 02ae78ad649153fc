// The store spans, one template over the pixel format. The mode flags are
// read once per chunk; blend factors and the logic op are looked at per
// pixel, as this is the complete (not the fast) path.
#include "fastraster/fr_store.h"

#include <string.h>

#include "core/context.h"
#include "fastraster/fr_format.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"
#include "raster/s_color_pixel.h"
#include "raster/s_shader.h"

namespace {

template <uint32_t kBytes>
uint32_t LoadPixel(const uint8_t *p) {
  uint32_t v = 0;
  memcpy(&v, p, kBytes);  // little-endian: RGB8 reads B, G, R as one value
  return v;
}
template <uint32_t kBytes>
void WritePixel(uint8_t *p, uint32_t v) {
  memcpy(p, &v, kBytes);
}

// A colour component used as a factor, widened from the field's scale
// (3-bit white is 224) to 0..255 by adding it shifted by the field width
// (224 + 28 + 3 = 255; a whole field value repeats its bits), so that the
// largest field is 1 and a white source or destination leaves the other
// operand as it is. Taken as it comes it would scale by 224/255 and darken
// the pixel a unit with every pass. The bits below the field are kept.
uint32_t Factor(uint32_t c, uint32_t bits) {
  if (bits == 0 || bits >= 8) return c;
  uint32_t out = c;
  for (uint32_t shift = bits; shift < 8; shift += bits) out += c >> shift;
  return out > 255 ? 255 : out;
}

// The source's share of one component; the destination alpha counts as 255.
// s and d arrive widened where they act as factors (sf, df).
uint32_t SourceTerm(GLenum factor, uint32_t s, uint32_t df, uint32_t a) {
  switch (factor) {
    case GL_ONE:
    case GL_DST_ALPHA:
      return s;
    case GL_SRC_ALPHA:
      return __glFRProduct(s, a);
    case GL_ONE_MINUS_SRC_ALPHA:
      return __glFRProduct(s, 255 - a);
    case GL_DST_COLOR:
      return __glFRProduct(s, df);
    case GL_ONE_MINUS_DST_COLOR:
      return __glFRProduct(s, 255 - df);
    default:  // GL_ZERO, GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE
      return 0;
  }
}

uint32_t DestTerm(GLenum factor, uint32_t sf, uint32_t d, uint32_t a) {
  switch (factor) {
    case GL_ONE:
    case GL_DST_ALPHA:
      return d;
    case GL_SRC_COLOR:
      return __glFRProduct(d, sf);
    case GL_ONE_MINUS_SRC_COLOR:
      return __glFRProduct(d, 255 - sf);
    case GL_SRC_ALPHA:
      return __glFRProduct(d, a);
    case GL_ONE_MINUS_SRC_ALPHA:
      return __glFRProduct(d, 255 - a);
    default:  // GL_ZERO, GL_ONE_MINUS_DST_ALPHA
      return 0;
  }
}

uint32_t Blend(const GlRasterState &rs, uint32_t s, uint32_t d, uint32_t a, FrField f) {
  const uint32_t sum = SourceTerm(rs.blendSrc, s, Factor(d, f.bits), a) +
                       DestTerm(rs.blendDst, Factor(s, f.bits), d, a);
  const uint32_t ceiling = FrFieldCeiling(f);
  return sum > ceiling ? ceiling : sum;
}

uint32_t Dither(uint32_t c, FrField f, uint32_t d) {
  return f.bits < 8 ? FrDitherComponent(c, f.bits, d) : c;
}

// The packed colour of one RGBA pixel before the logic op and the masks.
template <uint8_t kType>
uint32_t RgbaValue(const GlContext *gc, uint32_t flags, uint32_t color, uint32_t dst,
                   uint32_t dither) {
  constexpr FrPixelFormat f = kFrPixelFormats[kType];
  FrRGBA c = {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, color >> 24};
  if (flags & __GL_SHADE_BLEND) {
    const FrRGBA d = FrUnpack(f, dst);
    const GlRasterState &rs = gc->state.raster;
    c = {Blend(rs, c.r, d.r, c.a, f.red), Blend(rs, c.g, d.g, c.a, f.green),
         Blend(rs, c.b, d.b, c.a, f.blue), c.a};
  }
  if (flags & __GL_SHADE_DITHER)
    c = {Dither(c.r, f.red, dither), Dither(c.g, f.green, dither), Dither(c.b, f.blue, dither),
         c.a};
  c.a = 0;  // none of these layouts stores alpha
  return FrPack(f, c);
}

template <uint8_t kType>
void GLFASTCALL StoreSpan(uint32_t mask, FrSpan *span) {
  constexpr uint32_t kBytes = kFrPixelFormats[kType].bytes;
  // Only formats of fewer than three bytes dither.
  constexpr bool kDithers = kBytes < 3;
  GlContext *gc = span->gc;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GlColorBuffer *cfb = gc->drawBuffer;
  const bool dither = kDithers && (flags & __GL_SHADE_DITHER);
  const bool readsDst = flags & (__GL_SHADE_LOGIC_OP | __GL_SHADE_MASK |
                                 (kType == FR_FB_CI8 ? 0u : __GL_SHADE_BLEND));
  const int32_t step = span->direction * int32_t(kBytes);
  uint8_t *pixel = span->pixel;
  const uint32_t *color = span->colors;
  // The dither pointer moves over every pixel walked, live or not.
  const uint32_t *row = span->ditherRow;
  for (; mask; mask <<= 1, pixel += step, color++) {
    const uint32_t d = dither ? row[color - span->colors] : 0;
    if (!(mask & 0x80000000u)) continue;
    const uint32_t dst = readsDst ? LoadPixel<kBytes>(pixel) : 0;
    uint32_t v;
    if constexpr (kType == FR_FB_CI8)
      v = dither ? FrDitherIndex(*color, d) : *color >> 16;
    else
      v = RgbaValue<kType>(gc, dither ? flags : flags & ~__GL_SHADE_DITHER, *color, dst, d);
    if (flags & __GL_SHADE_LOGIC_OP) v = __glApplyLogicOp(gc->state.raster.logicOp, v, dst);
    if (flags & __GL_SHADE_MASK) v = (cfb->sourceMask & v) | (cfb->destMask & dst);
    WritePixel<kBytes>(pixel, v);
  }
  if (kDithers && row) span->ditherRow = row + (color - span->colors);
}

}  // namespace

void GLFASTCALL __glStoreSpanCINDEX(uint32_t mask, FrSpan *span) { StoreSpan<FR_FB_CI8>(mask, span); }
void GLFASTCALL __glStoreSpanRGB332(uint32_t mask, FrSpan *span) {
  StoreSpan<FR_FB_RGB332>(mask, span);
}
void GLFASTCALL __glStoreSpanRGB5(uint32_t mask, FrSpan *span) { StoreSpan<FR_FB_RGB555>(mask, span); }
void GLFASTCALL __glStoreSpanRGB565(uint32_t mask, FrSpan *span) {
  StoreSpan<FR_FB_RGB565>(mask, span);
}
void GLFASTCALL __glStoreSpanRGB8(uint32_t mask, FrSpan *span) { StoreSpan<FR_FB_RGB8>(mask, span); }
void GLFASTCALL __glStoreSpanXRGB8(uint32_t mask, FrSpan *span) {
  StoreSpan<FR_FB_XRGB8>(mask, span);
}

const FrSpanletProc __glStoreTab[16] = {
    nullptr,
    __glStoreSpanCINDEX,
    __glStoreSpanRGB332,
    nullptr,
    __glStoreSpanRGB5,
    __glStoreSpanRGB565,
    nullptr,  // A1RGB5: declined by the picker
    __glStoreSpanRGB8,
    nullptr,
    nullptr,
    __glStoreSpanXRGB8,
};
