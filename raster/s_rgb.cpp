// The colour buffer of an RGBA visual: its set-up from the visual's channel
// masks and the choice of its procedures for the current state.
#include "raster/s_rgb.h"

#include "core/context.h"
#include "core/drawable.h"
#include "fastraster/fr_pick.h"
#include "raster/s_clear.h"
#include "raster/s_shader.h"

namespace {

// The largest value of a component `bits` wide.
uint32_t LargestOf(uint32_t bits) { return bits >= 32 ? UINT32_MAX : (uint32_t(1) << bits) - 1; }

uint32_t TrailingZeros(uint32_t mask) {
  if (mask == 0) return 0;
  uint32_t n = 0;
  while (!(mask & 1)) mask >>= 1, n++;
  return n;
}

// Bytes a pixel of the buffer takes: the bound drawable buffer's, or the
// visual's before the first binding.
uint32_t PixelBytes(const GlContext *gc, const GlColorBuffer *cfb) {
  const GlDrawableBuffer *buffer = cfb->buf.drawableBuf;
  if (buffer && buffer->elementSize) return buffer->elementSize;
  return gc->modes.colorBits <= 8    ? 1
         : gc->modes.colorBits <= 16 ? 2
         : gc->modes.colorBits <= 24 ? 3
                                     : 4;
}

// The store and fetch of a pixel size; both fetch slots hold the fetch.
// 4-byte pixels carry alpha when the visual has an alpha channel to put it
// in.
void UseStoreAndFetch(const GlContext *gc, GlColorBuffer *cfb, uint32_t bytes) {
  const bool alpha = gc->modes.alphaMask != 0;
  switch (bytes) {
    case 1:
      cfb->store = rgb::Store_8, cfb->fetch[0] = rgb::Fetch_8;
      break;
    case 2:
      cfb->store = rgb::Store_16, cfb->fetch[0] = rgb::Fetch_16;
      break;
    case 3:
      cfb->store = rgb::Store_24, cfb->fetch[0] = rgb::Fetch_24;
      break;
    default:
      cfb->store = alpha ? rgb::Store_32A : rgb::Store_32;
      cfb->fetch[0] = alpha ? rgb::Fetch_32A : rgb::Fetch_32;
      break;
  }
  cfb->fetch[1] = cfb->fetch[0];
}

uint32_t AllChannels(const GlContext *gc) {
  const GlModes &m = gc->modes;
  return m.redMask | m.greenMask | m.blueMask | m.alphaMask;
}

// sourceMask: the channels drawing may change; destMask: the rest. Nothing
// is drawn with the draw buffer GL_NONE.
void PickMasks(const GlContext *gc, GlColorBuffer *cfb) {
  const GlModes &m = gc->modes;
  const GlRasterState &r = gc->state.raster;
  const uint32_t all = AllChannels(gc);
  uint32_t source = 0;
  if (r.drawBuffer != GL_NONE) {
    if (r.rMask) source |= m.redMask;
    if (r.gMask) source |= m.greenMask;
    if (r.bMask) source |= m.blueMask;
    if (r.aMask) source |= m.alphaMask;
  }
  cfb->sourceMask = source;
  cfb->destMask = all & ~source;
}

// Every channel written: the fast stores and clears may be used.
bool WritesEveryChannel(const GlContext *gc, const GlColorBuffer *cfb) {
  return gc->state.raster.drawBuffer != GL_NONE && cfb->sourceMask == AllChannels(gc);
}

}  // namespace

namespace rgb {

void Pick(GlContext *gc, GlColorBuffer *cfb) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  PickMasks(gc, cfb);
  const uint32_t bytes = PixelBytes(gc, cfb);
  UseStoreAndFetch(gc, cfb, bytes);
  // The 3-byte span store writes whole pixels: only when nothing is masked,
  // blended or combined (a depth-only pass must leave the colours alone).
  cfb->storeSpan = StoreSpan;
  if (bytes == 3 && !(flags & (__GL_SHADE_LOGIC_OP | __GL_SHADE_BLEND)) &&
      WritesEveryChannel(gc, cfb))
    cfb->storeSpan = StoreSpan_24;
  cfb->clear = Clear;
  cfb->clearRect = ClearRect;
  if (!WritesEveryChannel(gc, cfb)) return;
  // 3-byte pixels never take the word fills.
  if (bytes == 3)
    cfb->clearRect = ClearRect_24;
  else if (!(flags & __GL_SHADE_DITHER))
    cfb->clearRect = __glI386ClearRectRGB;
  else if (bytes == 1)
    cfb->clearRect = __glI386ClearRectRGB_8_Dither;
  else if (bytes == 2)
    cfb->clearRect = __glI386ClearRectRGB_16_Dither;
  else
    cfb->clearRect = __glI386ClearRectRGB;
}

void Pick16(GlContext *gc, GlColorBuffer *cfb) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  PickMasks(gc, cfb);
  cfb->store = Store_16;
  cfb->fetch[0] = cfb->fetch[1] = Fetch_16;
  cfb->storeSpan = StoreSpan_16_General;
  cfb->clear = Clear;
  cfb->clearRect = ClearRect;
  if (!WritesEveryChannel(gc, cfb)) return;
  const bool dither = flags & __GL_SHADE_DITHER;
  if (!(flags & (__GL_SHADE_LOGIC_OP | __GL_SHADE_BLEND)))
    cfb->storeSpan = dither ? StoreSpan_16_Dither : StoreSpan_16;
  cfb->clearRect = dither ? __glI386ClearRectRGB_16_Dither : __glI386ClearRectRGB;
}

}  // namespace rgb

void __glInitRGB(GlColorBuffer *cfb, GlContext *gc) {
  __glInitBuffer(&cfb->buf, gc);
  cfb->separateSpanOps = 0;
  cfb->readSpan = __glReadSpan;
  cfb->returnSpan = __glReturnSpan;
  cfb->fetchSpan[0] = cfb->fetchSpan[1] = __glFetchSpan;
  cfb->storeSpan = rgb::StoreSpan;
  cfb->storeStippledSpan = rgb::StoreStippledSpan;
  cfb->clear = rgb::Clear;
  cfb->clearRect = rgb::ClearRect;
  cfb->pick = rgb::Pick;

  const GlModes &modes = gc->modes;
  cfb->redShift = TrailingZeros(modes.redMask);
  cfb->greenShift = TrailingZeros(modes.greenMask);
  cfb->blueShift = TrailingZeros(modes.blueMask);
  cfb->alphaShift = TrailingZeros(modes.alphaMask);
  cfb->redMax = modes.redMask >> cfb->redShift;
  cfb->greenMax = modes.greenMask >> cfb->greenShift;
  cfb->blueMax = modes.blueMask >> cfb->blueShift;
  cfb->alphaMax = modes.alphaMask ? modes.alphaMask >> cfb->alphaShift : 255;
  // The scales follow the visual's bit counts.
  cfb->iRedScale = LargestOf(modes.redBits);
  cfb->iGreenScale = LargestOf(modes.greenBits);
  cfb->iBlueScale = LargestOf(modes.blueBits);
  cfb->redScale = GLfloat(cfb->iRedScale);
  cfb->greenScale = GLfloat(cfb->iGreenScale);
  cfb->blueScale = GLfloat(cfb->iBlueScale);
  // Without alpha bits alpha still takes part in the alpha test and in
  // blending: it keeps the context's range.
  cfb->alphaScale =
      modes.alphaBits ? GLfloat(LargestOf(modes.alphaBits)) : gc->constants.alphaScale;
  auto inverse = [](GLfloat s) { return s != 0.0f ? 1.0f / s : 0.0f; };
  cfb->oneOverRedScale = inverse(cfb->redScale);
  cfb->oneOverGreenScale = inverse(cfb->greenScale);
  cfb->oneOverBlueScale = inverse(cfb->blueScale);
  cfb->oneOverAlphaScale = inverse(cfb->alphaScale);
  cfb->sourceMask = AllChannels(gc);
  cfb->destMask = 0;

  // Until the first pick the store and fetch follow the visual's pixel size.
  UseStoreAndFetch(gc, cfb, PixelBytes(gc, cfb));
  if (PixelBytes(gc, cfb) == 2) cfb->pick = rgb::Pick16;
  __glFRPickFBType(gc, cfb);
}
