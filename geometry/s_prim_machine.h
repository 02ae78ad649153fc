// What the primitive machines share: the draw, drop or clip decision on the
// `has` words, lazy validation of one vertex, and the conversions between
// the per-vertex slot and the end procedures kept in procs.primSteady.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/s_nop.h"
#include "core/s_pick_steady.h"
#include "geometry/s_prim.h"
#include "geometry/s_vertex.h"

enum GlPrimDecision { __GL_PRIM_DRAW, __GL_PRIM_DROP, __GL_PRIM_CLIP };

// From the OR and the AND of a primitive's `has` words, both masked with
// __GL_PRIM_CLIP_MASK: no code at all draws, a code every vertex shares
// drops, anything else clips.
inline GlPrimDecision __glPrimDecide(uint32_t orCodes, uint32_t andCodes) {
  if (orCodes == 0) return __GL_PRIM_DRAW;
  return andCodes ? __GL_PRIM_DROP : __GL_PRIM_CLIP;
}

// The size class of a vertex indexes procs.validateVertex.
inline uint32_t __glVertexSizeClass(const GlVertex *v) {
  return (v->has & __GL_HAS_SIZE_MASK) >> 14;
}

inline void __glPrimValidate(GlContext *gc, GlVertex *v, uint32_t needs) {
  gc->procs.validateVertex[__glVertexSizeClass(v)](gc, v, needs);
}

// Validates v only when `needs` asks for a field it lacks.
inline void __glPrimValidateMissing(GlContext *gc, GlVertex *v, uint32_t needs) {
  if (needs & ~v->has) __glPrimValidate(gc, v, needs);
}

inline GlVertex *__glPrimSlot(GlContext *gc, int index) { return &gc->vertexBuffer.slots[index]; }

inline void __glPrimRest(GlContext *gc) {
  gc->procs.primVertex = __glNopProc<GlVertexProc>();
  gc->procs.endPrim = __glEndPrim;
}

// An end procedure the pickers keep in procs.primSteady.
inline GlContextProc __glSteadyEndProc(GlVertexProc steady) {
  return reinterpret_cast<GlContextProc>(reinterpret_cast<void (*)(void)>(steady));
}

// Hands one triangle, in winding order, to the render procedure or to the
// triangle clipper, inside the render lock; a dropped one takes no lock.
inline void __glPrimTriangle(GlContext *gc, GlPrimDecision decision, GlVertex *a, GlVertex *b,
                             GlVertex *c, uint32_t orCodes) {
  if (decision == __GL_PRIM_DROP) return;
  __glRenderLock(gc);
  if (decision == __GL_PRIM_DRAW)
    gc->procs.renderTriangle(gc, a, b, c);
  else
    gc->procs.clipTriangle(gc, a, b, c, orCodes);
  __glRenderUnlock(gc);
}
