// The fragment store: single fragments clipped to the clip box, put
// through the enabled tests in a fixed order (alpha, index, stencil, depth)
// and then handed to procs.cfbStore.
#include "raster/s_store.h"

#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_span_tests.h"

namespace {

enum : uint32_t { kAlpha = 1, kStencil = 2, kDepth = 4, kIndex = 8 };

bool Inside(const GlContext *gc, const GlFragment *frag) {
  const int32_t *box = gc->transform.clipBox;  // x0, y0, x1, y1
  return frag->x >= box[0] && frag->y >= box[1] && frag->x < box[2] && frag->y < box[3];
}

// The alpha step clamped into the table, as the alpha-test span takes it;
// without a table (validation could not get one) the state's function
// decides.
bool AlphaPasses(const GlContext *gc, const GlFragment *frag) {
  const int32_t i = span_tests::AlphaEntry(frag->color.a, gc->constants.alphaTableConv,
                                          gc->constants.alphaTestSize - 1);
  if (gc->alphaTestTable) return gc->alphaTestTable[i] != 0;
  return span_tests::TablePasses(gc->state.raster.alphaFunction, i,
                                 span_tests::AlphaReference(gc));
}

// The index masked with the draw buffer's index mask. The table covers at
// most 2^16 indexes: deeper buffers and a missing table compare with the
// state.
bool IndexPasses(const GlColorBuffer *cfb, const GlContext *gc, const GlFragment *frag) {
  const uint32_t i = span_tests::IndexEntry(frag->color.r, cfb->redMax);
  if (gc->indexTestTable && i < span_tests::IndexTableEntries(gc))
    return gc->indexTestTable[i] != 0;
  return span_tests::TablePasses(gc->state.raster.indexFunction, i,
                                 span_tests::IndexReference(gc));
}

template <uint32_t kTests>
void DoStore(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  if (!Inside(gc, frag)) return;
  if ((kTests & kAlpha) && !AlphaPasses(gc, frag)) return;
  if ((kTests & kIndex) && !IndexPasses(cfb, gc, frag)) return;
  GlStencilBuffer *sfb = &gc->stencilBuffer;
  if (kTests & kStencil) {
    if (!sfb->testFunc(sfb, frag->x, frag->y)) {
      sfb->failOp(sfb, frag->x, frag->y);
      return;
    }
  }
  if (kTests & kDepth) {
    GlDepthBuffer *dfb = &gc->depthBuffer;
    if (!dfb->store(dfb, frag->x, frag->y, frag->z)) {
      if (kTests & kStencil) sfb->passDepthFailOp(sfb, frag->x, frag->y);
      return;
    }
  }
  if (kTests & kStencil) sfb->depthPassOp(sfb, frag->x, frag->y);
  gc->procs.cfbStore(cfb, frag);
}

}  // namespace

void __glDoStore(GlColorBuffer *cfb, const GlFragment *frag) { DoStore<0>(cfb, frag); }
void __glDoStore_A(GlColorBuffer *cfb, const GlFragment *frag) { DoStore<kAlpha>(cfb, frag); }
void __glDoStore_S(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kStencil>(cfb, frag);
}
void __glDoStore_AS(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kAlpha | kStencil>(cfb, frag);
}
void __glDoStore_D(GlColorBuffer *cfb, const GlFragment *frag) { DoStore<kDepth>(cfb, frag); }
void __glDoStore_AD(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kAlpha | kDepth>(cfb, frag);
}
void __glDoStore_SD(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kStencil | kDepth>(cfb, frag);
}
void __glDoStore_ASD(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kAlpha | kStencil | kDepth>(cfb, frag);
}
void __glDoStore_I(GlColorBuffer *cfb, const GlFragment *frag) { DoStore<kIndex>(cfb, frag); }
void __glDoStore_SI(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kStencil | kIndex>(cfb, frag);
}
void __glDoStore_DI(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kDepth | kIndex>(cfb, frag);
}
void __glDoStore_SDI(GlColorBuffer *cfb, const GlFragment *frag) {
  DoStore<kStencil | kDepth | kIndex>(cfb, frag);
}

// The alpha test means nothing in colour-index mode, so the rows with both
// bits repeat the index-only ones.
void (*const storeProcs[16])(GlColorBuffer *cfb, const GlFragment *frag) = {
    __glDoStore,    __glDoStore_A,  __glDoStore_S,  __glDoStore_AS,
    __glDoStore_D,  __glDoStore_AD, __glDoStore_SD, __glDoStore_ASD,
    __glDoStore_I,  __glDoStore_I,  __glDoStore_SI, __glDoStore_SI,
    __glDoStore_DI, __glDoStore_DI, __glDoStore_SDI, __glDoStore_SDI,
};

void __glDoNullStore(GlColorBuffer *, const GlFragment *) {}

void __glDoDoubleStore(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  gc->front->store(gc->front, frag);
  gc->back->store(gc->back, frag);
}

void __glGenericPickStoreProcs(GlContext *gc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool rgba = gc->modes.rgbMode != 0;
  uint32_t index = 0;
  if (rgba && (flags & __GL_SHADE_ALPHA_TEST)) index |= kAlpha;
  if (flags & __GL_SHADE_STENCIL_TEST) index |= kStencil;
  if (flags & __GL_SHADE_DEPTH_TEST) index |= kDepth;
  if (!rgba && (flags & __GL_SHADE_INDEX_TEST)) index |= kIndex;

  GlProcs &p = gc->procs;
  const GLenum drawBuffer = gc->state.raster.drawBuffer;
  if (drawBuffer == GL_NONE) {
    p.store = storeProcs[index];
    p.cfbStore = __glDoNullStore;
    return;
  }
  if (drawBuffer == GL_FRONT_AND_BACK && gc->modes.doubleBufferMode && gc->back) {
    p.store = storeProcs[index];
    p.cfbStore = __glDoDoubleStore;
    return;
  }
  const bool single = drawBuffer == GL_FRONT || drawBuffer == GL_BACK ||
                      drawBuffer == GL_FRONT_AND_BACK ||
                      (drawBuffer >= GL_AUX0 && drawBuffer <= GL_AUX0 + 3);
  if (!single || !gc->drawBuffer) return;
  p.cfbStore = gc->drawBuffer->store;
  p.store = index ? storeProcs[index] : gc->drawBuffer->store;
}
