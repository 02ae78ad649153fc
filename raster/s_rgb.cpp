// The colour buffer of an RGBA visual.
#include "core/context.h"
#include "core/s_standin.h"
#include "raster/s_buffers.h"

namespace {

// Stand-in: the RGB colour buffer's own procedures replace it.
void Pick(GlContext *, GlColorBuffer *) { __glStandInCalled("RGB Pick"); }

// The largest value of a component `bits` wide.
GLfloat LargestOf(uint32_t bits) {
  return bits >= 32 ? GLfloat(UINT32_MAX) : GLfloat((uint64_t(1) << bits) - 1);
}

}  // namespace

void __glInitRGB(GlColorBuffer *cfb, GlContext *gc) {
  __glInitBuffer(&cfb->buf, gc);
  cfb->pick = Pick;
  const GlModes &modes = gc->modes;
  cfb->redScale = LargestOf(modes.redBits);
  cfb->greenScale = LargestOf(modes.greenBits);
  cfb->blueScale = LargestOf(modes.blueBits);
  // Without alpha bits alpha still takes part in the alpha test and in
  // blending: it keeps the context's range.
  cfb->alphaScale = modes.alphaBits ? LargestOf(modes.alphaBits) : gc->constants.alphaScale;
}
