// The RGB colour buffer's fragment stores and fetches for 1-, 2-, 3- and
// 4-byte pixels.
#include <string.h>

#include "core/context.h"
#include "raster/s_color_pixel.h"
#include "raster/s_rgb.h"
#include "raster/s_shader.h"

namespace rgb {

uint32_t PixelValue(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag, uint32_t current,
                    uint32_t widthMask, bool dither, bool alpha) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GLfloat offset =
      __glColorRoundOffset(dither && (flags & __GL_SHADE_DITHER), frag->x, frag->y);
  GlColor color = frag->color;
  // Without a blend procedure the fragment goes in as it is.
  if ((flags & __GL_SHADE_BLEND) && gc->procs.blend.blend)
    gc->procs.blend.blend(gc, cfb, frag, &color);
  uint32_t value = __glColorBits(color.r, offset) << cfb->redShift |
                   __glColorBits(color.g, offset) << cfb->greenShift |
                   __glColorBits(color.b, offset) << cfb->blueShift;
  if (alpha) value |= __glColorBits(color.a, offset) << cfb->alphaShift;
  if (flags & __GL_SHADE_LOGIC_OP)
    value = __glApplyLogicOp(gc->state.raster.logicOp, value, current);
  value &= widthMask;
  return (value & cfb->sourceMask) | (current & cfb->destMask);
}

namespace {

uint8_t *Address(GlColorBuffer *cfb, int32_t x, int32_t y) {
  return __glPixelAddress(cfb->buf.gc, cfb->buf.drawableBuf, x, y);
}

// Whether 2-byte pixels carry alpha: a format with an alpha channel keeps it
// (the 1-5-5-5 layout), as the clears and the fast stores do.
bool HasAlphaChannel(const GlColorBuffer *cfb) { return cfb->buf.gc->modes.alphaMask != 0; }

template <typename Pixel>
Pixel Load(const uint8_t *p) {
  Pixel v;
  memcpy(&v, p, sizeof v);
  return v;
}

template <typename Pixel>
void StoreWide(GlColorBuffer *cfb, const GlFragment *frag, bool dither, bool alpha) {
  GlContext *gc = cfb->buf.gc;
  if (!__glColorStoreOwns(gc, cfb, frag->x, frag->y)) return;
  uint8_t *p = Address(cfb, frag->x, frag->y);
  const Pixel current = Load<Pixel>(p);
  const Pixel value = Pixel(PixelValue(gc, cfb, frag, current, Pixel(~Pixel(0)), dither, alpha));
  memcpy(p, &value, sizeof value);
}

// Components of a packed pixel, scaled as the buffer's colours are.
void Unpack(const GlColorBuffer *cfb, uint32_t pixel, bool alpha, GlColor *out) {
  out->r = GLfloat((pixel >> cfb->redShift) & cfb->redMax);
  out->g = GLfloat((pixel >> cfb->greenShift) & cfb->greenMax);
  out->b = GLfloat((pixel >> cfb->blueShift) & cfb->blueMax);
  out->a = alpha ? GLfloat((pixel >> cfb->alphaShift) & cfb->alphaMax) : cfb->alphaScale;
}

// A 3-byte pixel holds red in byte 2, green in byte 1 and blue in byte 0,
// whatever the shifts: the packed form puts each byte at its shift.
uint32_t Assemble24(const GlColorBuffer *cfb, const uint8_t *p) {
  return uint32_t(p[2]) << cfb->redShift | uint32_t(p[1]) << cfb->greenShift |
         uint32_t(p[0]) << cfb->blueShift;
}

}  // namespace

void Store_8(GlColorBuffer *cfb, const GlFragment *frag) {
  StoreWide<uint8_t>(cfb, frag, true, false);
}

void Store_16(GlColorBuffer *cfb, const GlFragment *frag) {
  StoreWide<uint16_t>(cfb, frag, true, HasAlphaChannel(cfb));
}

void Store_32A(GlColorBuffer *cfb, const GlFragment *frag) {
  StoreWide<uint32_t>(cfb, frag, false, true);
}

void Store_32(GlColorBuffer *cfb, const GlFragment *frag) {
  StoreWide<uint32_t>(cfb, frag, false, false);
}

void Store_24(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  if (!__glColorStoreOwns(gc, cfb, frag->x, frag->y)) return;
  uint8_t *p = Address(cfb, frag->x, frag->y);
  const uint32_t current = Assemble24(cfb, p);
  const uint32_t value = PixelValue(gc, cfb, frag, current, UINT32_MAX, true, false);
  p[2] = uint8_t(value >> cfb->redShift);
  p[1] = uint8_t(value >> cfb->greenShift);
  p[0] = uint8_t(value >> cfb->blueShift);
}

void Fetch_8(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  Unpack(cfb, *Address(cfb, x, y), false, out);
}

void Fetch_16(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  Unpack(cfb, Load<uint16_t>(Address(cfb, x, y)), HasAlphaChannel(cfb), out);
}

void Fetch_24(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  const uint8_t *p = Address(cfb, x, y);
  out->r = GLfloat(p[2] & cfb->redMax);
  out->g = GLfloat(p[1] & cfb->greenMax);
  out->b = GLfloat(p[0] & cfb->blueMax);
  out->a = cfb->alphaScale;
}

void Fetch_32A(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  Unpack(cfb, Load<uint32_t>(Address(cfb, x, y)), true, out);
}

void Fetch_32(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  Unpack(cfb, Load<uint32_t>(Address(cfb, x, y)), false, out);
}

}  // namespace rgb
