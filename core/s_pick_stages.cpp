// The stage groups the span and line pickers share.
#include "core/s_pick_stages.h"

#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_line.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

GlStageLists __glStartStageLists(GlSpanProc *plain, GlSpanProc *stippled, int32_t capacity) {
  for (int32_t i = 0; i < capacity; ++i) plain[i] = stippled[i] = nullptr;
  return GlStageLists{plain, stippled, capacity, 0};
}

void __glAddStage(GlStageLists *lists, GlSpanProc plain, GlSpanProc stippled) {
  // No state asks for more stages than the lists hold; the check only keeps
  // a mistake in a picker from writing past them.
  if (lists->count >= lists->capacity) return;
  lists->plain[lists->count] = plain;
  lists->stippled[lists->count] = stippled;
  lists->count++;
}

const GlBufferTestStages __glSpanBufferTests = {
    __glStencilTestSpan,
    __glStencilTestStippledSpan,
    __glDepthTestStencilSpan,
    __glDepthTestStencilStippledSpan,
    __glDepthTestStencilOffsetSpan,
    __glDepthTestStencilStippledOffsetSpan,
    __glDepthPassSpan,
    __glDepthPassStippledSpan,
    __glDepthTestSpan,
    __glDepthTestStippledSpan,
    __glDepthTestOffsetSpan,
    __glDepthTestStippledOffsetSpan,
};

const GlBufferTestStages __glLineBufferTests = {
    __glStencilTestLine,
    __glStencilTestStippledLine,
    __glDepthTestStencilLine,
    __glDepthTestStencilStippledLine,
    nullptr,
    nullptr,
    __glDepthPassLine,
    __glDepthPassStippledLine,
    __glDepthTestLine,
    __glDepthTestStippledLine,
    nullptr,
    nullptr,
};

bool __glAddBufferTests(GlContext *gc, GlStageLists *lists, const GlBufferTestStages &s) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool depth = flags & __GL_SHADE_DEPTH_TEST;
  // Lines have no offset forms: for them the plain tests serve.
  const bool offset = (flags & __GL_SHADE_POLYGON_OFFSET) && s.depthOffset != nullptr;
  if (flags & __GL_SHADE_STENCIL_TEST) {
    __glAddStage(lists, s.stencil, s.stencilStippled);
    if (!depth)
      __glAddStage(lists, s.depthPass, s.depthPassStippled);
    else if (offset)
      __glAddStage(lists, s.depthStencilOffset, s.depthStencilOffsetStippled);
    else
      __glAddStage(lists, s.depthStencil, s.depthStencilStippled);
    return true;
  }
  if (!depth) return true;
  // Without stencil operations to run, a test nothing passes leaves nothing
  // to do.
  if (gc->state.depth.testFunc == GL_NEVER) return false;
  if (offset)
    __glAddStage(lists, s.depthOffset, s.depthOffsetStippled);
  else
    __glAddStage(lists, s.depth, s.depthStippled);
  return true;
}

void __glAddColorStages(GlContext *gc, GlStageLists *lists) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool smooth = flags & __GL_SHADE_ITERATE_COLOR;
  GlSpanProc shade;
  if (flags & __GL_SHADE_RGB)
    shade = smooth ? __glShadeRGBASpan : __glFlatRGBASpan;
  else
    shade = smooth ? __glShadeCISpan : __glFlatCISpan;
  __glAddStage(lists, shade, shade);
  if (flags & __GL_SHADE_TEXTURE) __glAddStage(lists, __glTextureSpan, __glTextureStippledSpan);
  if (flags & __GL_SHADE_FRAGMENT_FOG) {
    if (gc->state.hints.fog == GL_NICEST)
      __glAddStage(lists, __glFogSpanSlow, __glFogStippledSpanSlow);
    else
      __glAddStage(lists, __glFogSpan, __glFogStippledSpan);
  }
}
