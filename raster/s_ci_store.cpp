// The colour-index buffer's fragment stores, fetches and span stores.
#include <string.h>

#include "core/context.h"
#include "raster/s_ci.h"
#include "raster/s_color_pixel.h"
#include "raster/s_shader.h"

namespace ci {

namespace {

uint8_t *Address(GlColorBuffer *cfb, int32_t x, int32_t y) {
  return __glPixelAddress(cfb->buf.gc, cfb->buf.drawableBuf, x, y);
}

// The index drawing leaves in a pixel holding `current`, `widthMask` wide.
uint32_t IndexValue(GlContext *gc, const GlColorBuffer *cfb, const GlFragment *frag,
                    uint32_t current, uint32_t widthMask) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GLfloat offset = __glColorRoundOffset(flags & __GL_SHADE_DITHER, frag->x, frag->y);
  uint32_t value = __glColorBits(frag->color.r, offset);
  if (flags & __GL_SHADE_LOGIC_OP)
    value = __glApplyLogicOp(gc->state.raster.logicOp, value, current);
  value &= widthMask;
  return (value & cfb->sourceMask) | (current & cfb->destMask);
}

template <typename Pixel>
void StoreIndex(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  if (!__glColorStoreOwns(gc, cfb, frag->x, frag->y)) return;
  uint8_t *p = Address(cfb, frag->x, frag->y);
  Pixel current;
  memcpy(&current, p, sizeof current);
  const Pixel value = Pixel(IndexValue(gc, cfb, frag, current, Pixel(~Pixel(0))));
  memcpy(p, &value, sizeof value);
}

template <typename Pixel>
void FetchIndex(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  Pixel v;
  memcpy(&v, Address(cfb, x, y), sizeof v);
  out->r = GLfloat(v);
}

}  // namespace

void Store_8(GlColorBuffer *cfb, const GlFragment *frag) { StoreIndex<uint8_t>(cfb, frag); }
void Store_16(GlColorBuffer *cfb, const GlFragment *frag) { StoreIndex<uint16_t>(cfb, frag); }
void Store_32(GlColorBuffer *cfb, const GlFragment *frag) { StoreIndex<uint32_t>(cfb, frag); }

void Store_24(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  if (!__glColorStoreOwns(gc, cfb, frag->x, frag->y)) return;
  uint8_t *p = Address(cfb, frag->x, frag->y);
  __glWrite24(p, IndexValue(gc, cfb, frag, __glRead24(p), 0xFFFFFFu));
}

void Fetch_8(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  FetchIndex<uint8_t>(cfb, x, y, out);
}
void Fetch_16(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  FetchIndex<uint16_t>(cfb, x, y, out);
}
void Fetch_32(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  FetchIndex<uint32_t>(cfb, x, y, out);
}
void Fetch_24(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out) {
  out->r = GLfloat(__glRead24(Address(cfb, x, y)));
}

GLbool8 StoreSpan(GlContext *gc) {
  __glStoreSpanThroughFragments(gc, false);
  return 0;
}

GLbool8 StoreStippledSpan(GlContext *gc) {
  __glStoreSpanThroughFragments(gc, true);
  return 0;
}

}  // namespace ci
