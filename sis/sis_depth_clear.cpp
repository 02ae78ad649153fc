// The SiS context's depth buffer: its width from the modes' depth bits
// (which already carry "GLFORCEZBITS", as the drawable's buffer does), its
// Z format for the chip, and its clear.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_depth.h"
#include "sis/sis_clear.h"
#include "sis/sis_context.h"

namespace {

struct DepthWidth {
  uint32_t mostBits;
  void (*init)(GlDepthBuffer *dfb, GlContext *gc);
  uint32_t zFormat;
};

constexpr DepthWidth kDepthWidths[] = {
    {16, __glInitDepth16, SIS_Z_FORMAT_16},
    {24, __glInitDepth24, SIS_Z_FORMAT_24},
    {32, __glInitDepth32, SIS_Z_FORMAT_32},
};

// The width the modes' depth bits give; the clear asks again rather than
// read the Z pitch word back, which validation rewrites.
const DepthWidth &WidthFor(const GlContext *gc) {
  for (const DepthWidth &w : kDepthWidths)
    if (gc->modes.depthBits <= w.mostBits) return w;
  return kDepthWidths[2];
}

}  // namespace

void __glSiSInitDepth(GlDepthBuffer *dfb, GlContext *gc) {
  const DepthWidth *width = &WidthFor(gc);
  width->init(dfb, gc);
  uint32_t &zPitch = __glSiSTail(gc)->work.zPitch;
  zPitch = (zPitch & ~SIS_Z_FORMAT_MASK) | width->zFormat << SIS_Z_FORMAT_SHIFT;
  dfb->clear = SiSHALDepthClear;
}

uint32_t ZClearVal(GlDepthBuffer *dfb) { return __glDepthClearValue(dfb); }

void SiSHALDepthClear(GlDepthBuffer *dfb) {
  GlContext *gc = dfb->buf.gc;
  if (gc == nullptr || !gc->state.depth.writeEnable) return;
  const uint32_t format = WidthFor(gc).zFormat;
  // The 24-bit buffer keeps clear epochs in its words, which the chip
  // neither tests nor writes: its clear is the core's.
  if (format == SIS_Z_FORMAT_24) {
    depth::Clear(dfb);
    return;
  }
  __GL_LOCK_DRAWABLE(gc, "sis_depth_clear");
  const int32_t *box = gc->transform.clipBox;
  if (box[2] <= box[0] || box[3] <= box[1]) {
    __GL_UNLOCK_DRAWABLE(gc);
    return;
  }
  const uint32_t value = ZClearVal(dfb);
  // The buffer lock takes the device lock, and with it the engine.
  __glLockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
  const GlDrawableBuffer *buffer = dfb->buf.drawableBuf;
  // The packet carries 24 bits of value: a 32-bit buffer is filled here.
  if (format == SIS_Z_FORMAT_16 && sis::ChipReaches(gc, buffer))
    sis::Fill2D(gc, buffer, box[0], box[1], box[2], box[3], value);
  else if (buffer && buffer->base)
    __glDepthFillRect(dfb, box[0], box[1], box[2], box[3], value);
  __glUnlockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
  __GL_UNLOCK_DRAWABLE(gc);
}
