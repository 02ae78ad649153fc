// The colour buffer of a colour-index visual: its set-up, the choice of its
// procedures for the current state.
#include "raster/s_ci.h"

#include "core/context.h"
#include "core/drawable.h"
#include "fastraster/fr_pick.h"
#include "raster/s_clear.h"
#include "raster/s_shader.h"

namespace {

// Bytes an index takes: 3-byte indexes keep 3-byte pixels and rows.
uint32_t PixelBytes(uint32_t colorBits) {
  return colorBits <= 8 ? 1 : colorBits <= 16 ? 2 : colorBits <= 24 ? 3 : 4;
}

}  // namespace

namespace ci {

void Pick(GlContext *gc, GlColorBuffer *cfb) {
  const uint32_t indexMask = cfb->redMax;
  if (gc->state.raster.drawBuffer == GL_NONE) {
    cfb->sourceMask = 0;
    cfb->destMask = indexMask;
  } else {
    cfb->sourceMask = indexMask & gc->state.raster.writeMask;
    cfb->destMask = indexMask & ~gc->state.raster.writeMask;
  }
  cfb->clear = Clear;
  cfb->clearRect = ClearRect;
  const GlDrawableBuffer *buffer = cfb->buf.drawableBuf;
  const uint32_t bytes =
      buffer && buffer->elementSize ? buffer->elementSize : PixelBytes(gc->modes.colorBits);
  if (gc->state.raster.drawBuffer != GL_NONE && cfb->sourceMask == indexMask && bytes == 1)
    cfb->clearRect = (gc->polygon.shader.modeFlags & __GL_SHADE_DITHER)
                         ? __glI386ClearRectCI_8_Dither
                         : __glI386ClearRectCI_8;
}

}  // namespace ci

void __glInitCI(GlColorBuffer *cfb, GlContext *gc) {
  __glInitBuffer(&cfb->buf, gc);
  cfb->separateSpanOps = 0;
  cfb->readSpan = __glReadSpan;
  cfb->returnSpan = __glReturnSpan;
  cfb->fetchSpan[0] = cfb->fetchSpan[1] = __glFetchSpan;
  cfb->storeSpan = ci::StoreSpan;
  cfb->storeStippledSpan = ci::StoreStippledSpan;
  cfb->clear = ci::Clear;
  cfb->clearRect = ci::ClearRect;
  cfb->pick = ci::Pick;
  uint32_t bits = gc->modes.indexBits;
  cfb->redMax = bits >= 32 ? UINT32_MAX : (uint32_t(1) << bits) - 1;
  cfb->sourceMask = cfb->redMax;
  cfb->destMask = 0;
  // Indices are not scaled: the colour scales only keep the derived words
  // (rescales, the alpha-table conversion) at their neutral values.
  cfb->redScale = gc->constants.redScale;
  cfb->greenScale = gc->constants.greenScale;
  cfb->blueScale = gc->constants.blueScale;
  cfb->alphaScale = gc->constants.alphaScale;
  switch (PixelBytes(gc->modes.colorBits)) {
    case 1:
      cfb->store = ci::Store_8, cfb->fetch[0] = ci::Fetch_8;
      break;
    case 2:
      cfb->store = ci::Store_16, cfb->fetch[0] = ci::Fetch_16;
      break;
    case 3:
      cfb->store = ci::Store_24, cfb->fetch[0] = ci::Fetch_24;
      break;
    default:
      cfb->store = ci::Store_32, cfb->fetch[0] = ci::Fetch_32;
      break;
  }
  cfb->fetch[1] = cfb->fetch[0];
  __glFRPickFBType(gc, cfb);
}
