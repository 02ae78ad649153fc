// The line picker: primitive assembly's line procedures, the render
// procedure of a segment behind its trap, and the stages every aliased or
// antialiased line runs.
#include "core/context.h"
#include "core/s_pick.h"
#include "core/s_pick_stages.h"
#include "core/s_pick_steady.h"
#include "geometry/s_prim.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"
#include "raster/s_line.h"
#include "raster/s_line_aa.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

namespace {

// A line's store: the general one, or a direct store for the common 16-bit
// RGB and 8-bit colour-index buffers when no colour operation needs the
// destination.
void AddStore(GlContext *gc, GlStageLists *lists) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GlColorBuffer *cfb = gc->drawBuffer;
  constexpr uint32_t kNeedsDestination =
      __GL_SHADE_FRONT_BUFFER | __GL_SHADE_LOGIC_OP | __GL_SHADE_BLEND;
  constexpr uint32_t kIterated =
      __GL_SHADE_ITERATE_COLOR | __GL_SHADE_TEXTURE | __GL_SHADE_FRAGMENT_FOG;
  static_assert(kNeedsDestination == 0x400180 && kIterated == 0x100A, "line store tests");
  const bool dither = flags & __GL_SHADE_DITHER;
  const bool iterated = flags & kIterated;
  const bool general = cfb == nullptr || cfb->destMask != 0 || (flags & kNeedsDestination);
  // The direct 16-bit store packs red, green and blue only: a buffer with
  // alpha bits (1-5-5-5) would lose its alpha.
  const bool alpha = gc->modes.alphaBits != 0;
  if (!general && !alpha && (flags & __GL_SHADE_RGB) && __glColorBytesPerPixel(gc) == 2) {
    if (dither)
      __glAddStage(lists, __glStoreLine_RGB_16_Dither, __glStoreStippledLine_RGB_16_Dither);
    else if (iterated)
      __glAddStage(lists, __glStoreLine_RGB_16_Smooth, __glStoreStippledLine_RGB_16_Smooth);
    else
      __glAddStage(lists, __glStoreLine_RGB_16_Flat, __glStoreStippledLine_RGB_16_Flat);
  } else if (!general && !(flags & __GL_SHADE_RGB) && __glColorBytesPerPixel(gc) == 1) {
    if (dither && iterated)
      __glAddStage(lists, __glStoreLine_CI_8_Smooth_Dither,
                   __glStoreStippledLine_CI_8_Smooth_Dither);
    else if (dither)
      __glAddStage(lists, __glStoreLine_CI_8_Flat_Dither, __glStoreStippledLine_CI_8_Flat_Dither);
    else if (iterated)
      __glAddStage(lists, __glStoreLine_CI_8_Smooth, __glStoreStippledLine_CI_8_Smooth);
    else
      __glAddStage(lists, __glStoreLine_CI_8_Flat, __glStoreStippledLine_CI_8_Flat);
  } else {
    __glAddStage(lists, __glStoreLine, __glStoreStippledLine);
  }
}

// Fills procs.line for a rasterized line; false when no pixel can pass
// (processLine is then the empty procedure).
bool PickLineStages(GlContext *gc, bool smooth) {
  GlLineProcs &line = gc->procs.line;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  GlStageLists lists =
      __glStartStageLists(line.lineFuncs, line.stippledLineFuncs, __GL_MAX_LINE_FUNCS);

  // Antialiased lines apply the stipple in their coverage and are never
  // drawn as repeated rows.
  bool wide = false;
  if (!smooth) {
    if (flags & __GL_SHADE_LINE_STIPPLE) __glAddStage(&lists, __glStippleLine, nullptr);
    wide = gc->state.line.aliasedWidth > 1;
  }
  const int32_t rowStart = lists.count;
  __glAddStage(&lists, __glScissorLine, __glScissorStippledLine);

  // As for spans, the alpha and index tests decide before the stencil and
  // depth buffers are touched; without them those tests come early.
  const bool colorTest = flags & (__GL_SHADE_ALPHA_TEST | __GL_SHADE_INDEX_TEST);
  const bool lateBufferTests = smooth || colorTest;
  if (!lateBufferTests && !__glAddBufferTests(gc, &lists, __glLineBufferTests)) return false;
  __glAddColorStages(gc, &lists);
  if (smooth) __glAddStage(&lists, __glAntiAliasLine, __glAntiAliasStippledLine);
  if (flags & __GL_SHADE_ALPHA_TEST)
    __glAddStage(&lists, __glAlphaTestSpan, __glAlphaTestStippledSpan);
  if (flags & __GL_SHADE_INDEX_TEST)
    __glAddStage(&lists, __glIndexTestSpan, __glIndexTestStippledSpan);
  if (lateBufferTests && !__glAddBufferTests(gc, &lists, __glLineBufferTests)) return false;

  const int32_t storeStart = lists.count;
  AddStore(gc, &lists);
  line.count = lists.count;

  // The stages from startReplicate run once per row of a wide line, those
  // from storeIndex once per colour buffer. processLine runs the stages
  // before startReplicate and then the end pair, so the end pair is the row
  // repeat of a wide line and otherwise the buffer repeat (or nothing): a
  // line one pixel wide keeps the buffer repeat in the end pair, not in the
  // second pair, which only a wide line runs, after each row.
  const GlSpanProc nothing = __glNopStage();
  const bool both = gc->drawBoth;
  line.storeIndex = both ? storeStart : line.count;
  if (wide) {
    line.startReplicate = rowStart;
    line.lineEnd = __glWideLineRep;
    line.stippledLineEnd = __glWideStippleLineRep;
    line.lineFinal = both ? __glDrawBothLine : nothing;
    line.stippledLineFinal = both ? __glDrawBothStippledLine : nothing;
  } else {
    line.startReplicate = line.storeIndex;
    line.lineEnd = both ? __glDrawBothLine : nothing;
    line.stippledLineEnd = both ? __glDrawBothStippledLine : nothing;
    line.lineFinal = line.stippledLineFinal = nothing;
  }
  line.processLine = !wide && !both && line.count == 3 ? __glProcessLine3NW : __glProcessLine;
  return true;
}

// The render procedure of a segment in GL_RENDER mode.
GlLineProc PickRenderedLine(GlContext *gc) {
  GlProcs &p = gc->procs;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool smooth = gc->state.enables.general & __GL_LINE_SMOOTH_ENABLE;
  GlLineProc render = smooth ? __glRenderAntiAliasLine : __glRenderAliasLine;
  // A line nothing can pass still gets its render procedure and trap: only
  // its pixels are dropped.
  if (!PickLineStages(gc, smooth)) p.line.processLine = __glNop1;
  // Flat-shaded fogged lines fog their one colour per vertex; per-fragment
  // fog (GL_NICEST) needs no wrapper.
  if ((flags & __GL_SHADE_FOG) && !(flags & __GL_SHADE_SMOOTH_LIGHT) &&
      !(flags & __GL_SHADE_FRAGMENT_FOG)) {
    p.renderLineUnfogged = render;
    render = __glRenderFlatFogLine;
  }
  return render;
}

}  // namespace

void __glGenericPickLineProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.primSteady[__GL_STEADY_LSTRIP] =
      gc->vertexBuffer.frontNeeds ? __glOtherLStripVertexLock : __glOtherLStripVertexFastLock;
  p.primSteady[__GL_STEADY_LINES] = __glSecondLinesVertexLock;
  p.primSteady[__GL_STEADY_LLOOP] = __glSecondLLoopVertexLock;
  p.primSteady[__GL_STEADY_END_LLOOP] = __glSteadyEnd(__glEndLLoopLock);
  p.renderTriangleLines = __glRenderLineTriangle;

  GlLineProc render;
  if (gc->renderMode == GL_FEEDBACK)
    render = __glFeedbackLine;
  else if (gc->renderMode == GL_SELECT)
    render = __glSelectLine;
  else
    render = PickRenderedLine(gc);
  p.renderLineTrap = __glRenderLineSyncTrap;
  p.renderLinePicked = render;
  p.renderLine = __glRenderLineSyncTrap;
}
