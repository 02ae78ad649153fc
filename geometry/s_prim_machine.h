// What the primitive machines share: the draw, drop or clip decision on the
// `has` words, lazy validation of one vertex, the step of a vertex that
// completes nothing yet, the hand-off of a triangle and of a quad with
// codes, and the conversions between the per-vertex slot and the end
// procedures kept in procs.primSteady.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/s_nop.h"
#include "core/s_pick_steady.h"
#include "geometry/s_pgclip.h"
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

// What every begin procedure but the points' does: the first vertex goes
// into slot 0 and to `first`, and a material change protects every
// buffered vertex.
inline void __glPrimBegin(GlContext *gc, GlVertexProc first) {
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = first;
  gc->procs.matValidate = __glMatValidateVbuf0N;
}

// A vertex that completes nothing yet: it takes its boundary bit (the edge
// flag, 0x1000 or nothing, by mode), the next vertex goes into the slot
// after it, and `state` will take that one.
inline void __glPrimAdvance(GlContext *gc, GlVertex *v, uint32_t boundary, GlVertexProc state) {
  v->has |= boundary;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = state;
}

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
inline void __glPrimTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  const uint32_t orCodes = (a->has | b->has | c->has) & __GL_PRIM_CLIP_MASK;
  const uint32_t andCodes = a->has & b->has & c->has & __GL_PRIM_CLIP_MASK;
  const GlPrimDecision decision = __glPrimDecide(orCodes, andCodes);
  if (decision == __GL_PRIM_DROP) return;
  __glRenderLock(gc);
  if (decision == __GL_PRIM_DRAW)
    gc->procs.renderTriangle(gc, a, b, c);
  else
    gc->procs.clipTriangle(gc, a, b, c, orCodes);
  __glRenderUnlock(gc);
}

// A quad in OpenGL order: dropped when its vertices share a code, handed
// whole to the polygon clipper when they have others. Returns true unless
// it is clean, which the caller then draws as two triangles.
inline bool __glPrimQuadClipped(GlContext *gc, GlVertex *quad[4]) {
  const uint32_t h0 = quad[0]->has, h1 = quad[1]->has, h2 = quad[2]->has, h3 = quad[3]->has;
  const uint32_t orCodes = (h0 | h1 | h2 | h3) & __GL_PRIM_CLIP_MASK;
  switch (__glPrimDecide(orCodes, h0 & h1 & h2 & h3 & __GL_PRIM_CLIP_MASK)) {
    case __GL_PRIM_DRAW:
      return false;
    case __GL_PRIM_CLIP:
      __glRenderLock(gc);
      __glDoPolygonClip(gc, quad, 4, orCodes);
      __glRenderUnlock(gc);
      return true;
    case __GL_PRIM_DROP:
      break;
  }
  return true;
}
