// The colour buffer of a colour-index visual, and its index-test table.
#include "core/context.h"
#include "core/s_standin.h"
#include "raster/s_buffers.h"

namespace {

// Stand-in: the colour-index buffer's own procedures replace it.
void Pick(GlContext *, GlColorBuffer *) { __glStandInCalled("CI Pick"); }

}  // namespace

void __glInitCI(GlColorBuffer *cfb, GlContext *gc) {
  __glInitBuffer(&cfb->buf, gc);
  cfb->pick = Pick;
  uint32_t bits = gc->modes.indexBits;
  cfb->redMax = bits >= 32 ? UINT32_MAX : (uint32_t(1) << bits) - 1;
  // Indices are not scaled: the colour scales only keep the derived words
  // (rescales, the alpha-table conversion) at their neutral values.
  cfb->redScale = gc->constants.redScale;
  cfb->greenScale = gc->constants.greenScale;
  cfb->blueScale = gc->constants.blueScale;
  cfb->alphaScale = gc->constants.alphaScale;
}

void __glFreeIndexTestTable(GlContext *) {
  // The index test builds no table yet.
}
