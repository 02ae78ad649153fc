// The span picker: the stages every span of a triangle runs, in the order
// the fragment operations must happen. Called at the first span after a
// validation (through __glPickProcessSpan), so triangles that never reach a
// span never pay for it.
#include "core/context.h"
#include "core/s_pick.h"
#include "core/s_pick_stages.h"
#include "raster/s_shader.h"
#include "raster/s_blend.h"
#include "raster/s_span_ops.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

namespace {

// The blend stage, a fused form for the commonest factor pairs.
GlSpanProc BlendStage(const GlRasterState &raster) {
  if (raster.blendSrc == GL_SRC_ALPHA) {
    if (raster.blendDst == GL_ONE_MINUS_SRC_ALPHA) return __glBlendSpan_SA_MSA;
    if (raster.blendDst == GL_ONE) return __glBlendSpan_SA_ONE;
    if (raster.blendDst == GL_ZERO) return __glBlendSpan_SA_ZERO;
  }
  if (raster.blendSrc == GL_ONE_MINUS_SRC_ALPHA && raster.blendDst == GL_SRC_ALPHA)
    return __glBlendSpan_MSA_SA;
  return __glBlendSpan;
}

// The colour operations of a buffer that does not do them in its store:
// fetch, blend, dither or round, logic op, mask.
void AddBufferColorStages(GlContext *gc, GlStageLists *lists, const GlColorBuffer *cfb) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool rgb = flags & __GL_SHADE_RGB;
  const bool mask = flags & __GL_SHADE_MASK;
  if (mask || (flags & __GL_SHADE_LOGIC_OP))
    __glAddStage(lists, cfb->fetchSpan[0], cfb->fetchSpan[1]);
  if (flags & __GL_SHADE_BLEND) {
    const GlRasterState &raster = gc->state.raster;
    if (!mask && __glBlendReadsDestination(raster.blendSrc, raster.blendDst))
      __glAddStage(lists, cfb->fetchSpan[0], cfb->fetchSpan[1]);
    __glAddStage(lists, BlendStage(raster), __glBlendStippledSpan);
  }
  if (flags & __GL_SHADE_DITHER) {
    if (rgb)
      __glAddStage(lists, __glDitherRGBASpan, __glDitherRGBAStippledSpan);
    else
      __glAddStage(lists, __glDitherCISpan, __glDitherCIStippledSpan);
  } else if (rgb) {
    __glAddStage(lists, __glRoundRGBASpan, __glRoundRGBAStippledSpan);
  } else {
    __glAddStage(lists, __glRoundCISpan, __glRoundCIStippledSpan);
  }
  if (flags & __GL_SHADE_LOGIC_OP) __glAddStage(lists, __glLogicOpSpan, __glLogicOpStippledSpan);
  if (mask) {
    GlSpanProc maskStage = rgb ? __glMaskRGBASpan : __glMaskCISpan;
    __glAddStage(lists, maskStage, maskStage);
  }
}

}  // namespace

void __glGenericPickSpanProcs(GlContext *gc) {
  GlSpanProcs &span = gc->procs.span;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  GlStageLists lists =
      __glStartStageLists(span.spanFuncs, span.stippledSpanFuncs, __GL_MAX_SPAN_FUNCS);

  // The clip stage comes first, so no stipple word exists before it.
  if (!gc->transform.viewportInside) __glAddStage(&lists, __glClipSpan, nullptr);
  if (flags & __GL_SHADE_STIPPLE) __glAddStage(&lists, __glStippleSpan, __glStippleStippledSpan);

  // The buffer tests run as early as they can: before the colour is
  // computed, unless a test on that colour must decide first.
  const bool colorTest = flags & (__GL_SHADE_ALPHA_TEST | __GL_SHADE_INDEX_TEST);
  if (!colorTest && !__glAddBufferTests(gc, &lists, __glSpanBufferTests)) {
    span.processSpan = __glNopStage();
    return;
  }
  __glAddColorStages(gc, &lists);
  if (colorTest) {
    if (flags & __GL_SHADE_ALPHA_TEST)
      __glAddStage(&lists, __glAlphaTestSpan, __glAlphaTestStippledSpan);
    else
      __glAddStage(&lists, __glIndexTestSpan, __glIndexTestStippledSpan);
    if (!__glAddBufferTests(gc, &lists, __glSpanBufferTests)) {
      span.processSpan = __glNopStage();
      return;
    }
  }

  // Drawing into both buffers repeats what follows once per buffer.
  const int32_t replicateFrom = lists.count;
  // With no colour buffer drawn (GL_NONE) the last one stays in drawBuffer,
  // unlocked: the span ends with the buffer tests.
  if (GlColorBuffer *cfb = gc->drawBufferMask ? gc->drawBuffer : nullptr) {
    if (cfb->separateSpanOps) AddBufferColorStages(gc, &lists, cfb);
    __glAddStage(&lists, cfb->storeSpan, cfb->storeStippledSpan);
  }
  span.m = lists.count;
  if (gc->drawBoth) {
    span.n = replicateFrom;
    span.processSpan = __glProcessReplicateSpan;
  } else {
    span.n = span.m;
    span.processSpan = __glProcessSpan;
  }
}
