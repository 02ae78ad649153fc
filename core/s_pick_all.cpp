// The all-pickers pass, __glGenericPickAllProcs: the dirty words say which
// groups of state changed; each group re-runs its pickers, always in the
// same order, because later pickers read what earlier ones chose (the
// raster-mode flags, the needs words, the buffer choice).
#include "codegen/og_vertex_shape.h"
#include "core/context.h"
#include "core/s_pick.h"
#include "core/s_validate.h"
#include "geometry/s_lighting.h"
#include "geometry/s_varray_pick.h"
#include "geometry/s_xform.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

namespace {

// Groups whose change re-picks each family of procedures.
constexpr uint32_t kGenericOrLighting = __GL_DIRTY_GENERIC | __GL_DIRTY_LIGHTING;
constexpr uint32_t kTriangleGroups =
    __GL_DIRTY_GENERIC | __GL_DIRTY_POLYGON | __GL_DIRTY_LIGHTING | __GL_DIRTY_DEPTH;
constexpr uint32_t kPointGroups = __GL_DIRTY_GENERIC | __GL_DIRTY_POINT | __GL_DIRTY_LIGHTING;
// Lines also follow the depth group: their stage list holds the depth test,
// and a depth function of GL_NEVER empties it, so glDepthFunc alone must
// rebuild it or lines stay undrawn after the function changes back.
constexpr uint32_t kLineGroups =
    __GL_DIRTY_GENERIC | __GL_DIRTY_LINE | __GL_DIRTY_LIGHTING | __GL_DIRTY_DEPTH;
constexpr uint32_t kPixelGroups = __GL_DIRTY_GENERIC | __GL_DIRTY_PIXEL | __GL_DIRTY_LIGHTING;
static_assert(kTriangleGroups == 0xA5 && kPointGroups == 0x29 && kLineGroups == 0xA3 &&
                  kPixelGroups == 0x31,
              "the groups of each picker");

// The frame-buffer objects choose their own procedures for the new state;
// the stencil buffer rebuilds its tables here when they are dirty.
void PickBufferObjects(GlContext *gc) {
  gc->front->pick(gc, gc->front);
  if (gc->modes.doubleBufferMode) gc->back->pick(gc, gc->back);
  if (gc->modes.haveStencilBuffer) gc->stencilBuffer.pick(gc, &gc->stencilBuffer);
}

// The alpha-test and index-test tables, when their state changed.
void ValidateColorTestTables(GlContext *gc) {
  if (gc->tableDirtyMask & __GL_TABLE_DIRTY_ALPHA_TEST) __glValidateAlphaTest(gc);
  if (gc->tableDirtyMask & __GL_TABLE_DIRTY_INDEX_TEST) __glValidateIndexTest(gc);
}

// Tables asked for without a generic change (the setters mark both, but a
// back end or a restore need not): rebuilt alone, since the pass clears the
// word and the request would otherwise be lost.
void ValidateDirtyTables(GlContext *gc) {
  constexpr uint32_t kStencilTables = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
  if ((gc->tableDirtyMask & kStencilTables) && gc->modes.haveStencilBuffer)
    gc->stencilBuffer.pick(gc, &gc->stencilBuffer);
  ValidateColorTestTables(gc);
}

// Everything that follows generic, lighting, material or texture state.
void PickGenericProcs(GlContext *gc, uint32_t modeFlags) {
  GlProcs &p = gc->procs;
  __glComputeVertexNeeds(gc, modeFlags);
  __glPickVertexShape(gc);
  PickBufferObjects(gc);
  p.pickBufferProcs(gc);
  p.pickStoreProcs(gc);
  p.pickTransformProcs(gc);
  __glValidateLighting(gc);
  __glValidateCullVertexModelView(gc);
  p.pickColorMaterialProcs(gc);
  p.pickTextureProcs(gc);
  p.pickCalcTextureProcs(gc);
  p.pickBlendProcs(gc);
  p.pickFogProcs(gc);
  p.pickParameterClipProcs(gc);
  p.pickClipProcs(gc);
  p.pickRenderBitmapProcs(gc);
  ValidateColorTestTables(gc);
  p.computeClipBox(gc);
}

}  // namespace

void __glGenericPickAllProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  // The modelview-dependent state and the array enables are brought up to
  // date even when nothing else changed.
  if (gc->dirtyMask & __GL_DIRTY_TRANSFORM) {
    __glValidateLightingModelView(gc);
    __glValidateCullVertexModelView(gc);
    gc->dirtyMask &= ~__GL_DIRTY_TRANSFORM;
  }
  if (gc->dirtyMask & __GL_DIRTY_VERTEX_ARRAY) {
    __glGenericPickVertexArrayEnables(gc);
    gc->dirtyMask &= ~__GL_DIRTY_VERTEX_ARRAY;
  }
  if (gc->dirtyMask == 0 && gc->tableDirtyMask == 0) return;

  // Each step reads the mask as it stands: a picker may mark a group that a
  // later step of this pass then re-picks.
  const uint32_t &dirty = gc->dirtyMask;
  if (dirty & kGenericOrLighting) __glGenericPickTextureEnables(gc);
  const uint32_t modeFlags = __glComputeRasterModeFlags(gc);
  gc->polygon.shader.modeFlags = modeFlags;
  if (dirty & kGenericOrLighting)
    PickGenericProcs(gc, modeFlags);
  else
    ValidateDirtyTables(gc);

  if (dirty & __GL_DIRTY_POLYGON_STIPPLE) p.convertStipple(gc);
  if (dirty & __GL_DIRTY_DEPTH) p.pickDepthProcs(gc);
  if (dirty & kTriangleGroups) {
    p.pickVertexProcs(gc);
    // The span stages are chosen at the first span that needs them.
    p.span.processSpan = __glPickProcessSpan;
    p.pickTriangleProcs(gc);
  }
  if (dirty & kPointGroups) p.pickPointProcs(gc);
  if (dirty & kLineGroups) p.pickLineProcs(gc);
  if (dirty & kPixelGroups) p.pickPixelProcs(gc);
  // The polygon modes and the cull face decide what array vertices need.
  if (dirty & (kGenericOrLighting | __GL_DIRTY_POLYGON)) p.pickVertexArrayProcs(gc);

  gc->tableDirtyMask = 0;
  gc->dirtyMask = 0;
}
