// Processing the vertex cache: its vertices are drawn as one batch through
// the array drawing procedures, with the vertex-cache compile (the vertices
// already hold their attributes), and a primitive that goes on past a full
// cache keeps the vertices the next batch needs.
#include "core/context.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_compile.h"
#include "geometry/vc_cache.h"

namespace {

constexpr uint32_t kBoundary = __GL_HAS_EDGEFLAG_BOUNDARY;

GlVertex *At(GlContext *gc, int32_t i) { return &gc->vcache.vertices[i]; }

void Copy(GlContext *gc, int32_t from, int32_t to) {
  GlVertex *dst = At(gc, to);
  *dst = *At(gc, from);
  dst->color = &dst->colors[__GL_FRONTFACE];
}

void Reset(GlVertexCacheMachine &vc) {
  vc.vertexCount = 0;
  vc.validatedCount = 0;
  vc.flags &= ~__GL_VC_MATERIAL_VALIDATED;
}

// Draws `count` vertices from batch position `from`: the walk compiles and
// emits from position 0 of `cursor`, so a piece that starts later moves it.
void Draw(GlContext *gc, GLenum mode, int32_t count, int32_t from = 0) {
  GlVertexArrayMachine &va = gc->vertexArray;
  va.cursor = reinterpret_cast<uintptr_t>(At(gc, from));
  va.drawVertexes[mode](gc, 0, count, nullptr);
  va.cursor = reinterpret_cast<uintptr_t>(gc->vcache.vertices);
}

// The last `carry` vertices move to the front for the next batch. The
// walk then takes them as compiled, and the line stipple runs on.
void Carry(GlContext *gc, int32_t carry) {
  GlVertexCacheMachine &vc = gc->vcache;
  for (int32_t k = 0; k < carry; ++k) Copy(gc, vc.vertexCount - carry + k, k);
  vc.vertexCount = vc.validatedCount = carry;
  gc->vertexArray.vertexCacheContinued = 1;
}

// Points, lines, triangles and quads: a full cache ends on a whole
// primitive, so nothing is carried.
template <GLenum Mode, int32_t Minimum>
void Independent(GlContext *gc, int32_t) {
  GlVertexCacheMachine &vc = gc->vcache;
  if (vc.vertexCount >= Minimum) Draw(gc, Mode, vc.vertexCount);
  Reset(vc);
}

// Line strips, triangle strips and quad strips.
template <GLenum Mode, int32_t Minimum, int32_t Kept>
void Strip(GlContext *gc, int32_t how) {
  GlVertexCacheMachine &vc = gc->vcache;
  const int32_t count = vc.vertexCount;
  if (count >= Minimum) Draw(gc, Mode, count);
  if (how != __GL_VC_FULL || count < Minimum) {
    Reset(vc);
    return;
  }
  Carry(gc, Kept);
}

// The fan's first vertex stays at position 0; its last goes to position 1.
void TriangleFan(GlContext *gc, int32_t how) {
  GlVertexCacheMachine &vc = gc->vcache;
  const int32_t count = vc.vertexCount;
  if (count >= 3) Draw(gc, GL_TRIANGLE_FAN, count);
  if (how != __GL_VC_FULL || count < 3) {
    Reset(vc);
    return;
  }
  Copy(gc, count - 1, 1);
  vc.vertexCount = vc.validatedCount = 2;
  gc->vertexArray.vertexCacheContinued = 1;
}

// A polygon past a full cache is drawn as fans around its first vertex; the
// edges that join the pieces are interior.
void Polygon(GlContext *gc, int32_t how) {
  GlVertexCacheMachine &vc = gc->vcache;
  const int32_t count = vc.vertexCount;
  uint32_t lastEdge = 0;
  if (how == __GL_VC_FULL) {
    vc.flags |= __GL_VC_POLYGON_CONTINUED;
    GlVertex *last = At(gc, count - 1);
    lastEdge = last->has & kBoundary;
    last->has &= ~kBoundary;
  } else {
    vc.flags &= ~__GL_VC_POLYGON_CONTINUED;
  }
  if (count >= 3) Draw(gc, GL_POLYGON, count);
  if (how != __GL_VC_FULL || count < 3) {
    Reset(vc);
    return;
  }
  Copy(gc, count - 1, 1);
  At(gc, 0)->has &= ~kBoundary;
  // The carried vertex's own edge flag, not the current one: an edge flag
  // given after it belongs to the next vertex.
  GlVertex *carried = At(gc, 1);
  carried->has = (carried->has & ~kBoundary) | lastEdge;
  vc.vertexCount = vc.validatedCount = 2;
  gc->vertexArray.vertexCacheContinued = 1;
}

// A loop that fits one cache is drawn as a loop. A longer one is drawn as
// strip pieces (position 0 keeps its first vertex, position 1 the previous
// piece's last), closed at glEnd by its first vertex put behind the last.
void LineLoop(GlContext *gc, int32_t how) {
  GlVertexCacheMachine &vc = gc->vcache;
  const int32_t count = vc.vertexCount;
  if (!(vc.flags & __GL_VC_LOOP_CONTINUED)) {
    if (how != __GL_VC_FULL) {
      if (count >= 2) Draw(gc, GL_LINE_LOOP, count);
      Reset(vc);
      return;
    }
    Draw(gc, GL_LINE_STRIP, count);
    vc.flags |= __GL_VC_LOOP_CONTINUED;
  } else if (how == __GL_VC_FULL) {
    Draw(gc, GL_LINE_STRIP, count - 1, 1);
  } else {
    Copy(gc, 0, count);
    Draw(gc, GL_LINE_STRIP, count, 1);
    vc.flags &= ~__GL_VC_LOOP_CONTINUED;
    Reset(vc);
    return;
  }
  Copy(gc, count - 1, 1);
  vc.vertexCount = vc.validatedCount = 2;
  gc->vertexArray.vertexCacheContinued = 1;
}

}  // namespace

const GlVcacheProcessProc __glProcessCacheProcs2[10] = {
    Independent<GL_POINTS, 1>,
    Independent<GL_LINES, 2>,
    LineLoop,
    Strip<GL_LINE_STRIP, 2, 1>,
    Independent<GL_TRIANGLES, 3>,
    Strip<GL_TRIANGLE_STRIP, 3, 2>,
    TriangleFan,
    Independent<GL_QUADS, 4>,
    Strip<GL_QUAD_STRIP, 4, 2>,
    Polygon,
};

void __glProcessVertexCacheLock(GlContext *gc, int32_t how) {
  GlVertexCacheMachine &vc = gc->vcache;
  if (vc.vertexCount == 0) return;
  __glRenderLock(gc);
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlVertexArrayMachine saved = va;
  const uint32_t sizeClass = vc.sizeMask >= __GL_VC_SIZE4   ? 3
                             : vc.sizeMask < __GL_VC_SIZE3 ? 1
                                                           : 2;
  const GlMatrix &m = gc->transform.modelView->mvp;
  va.sizeBits = sizeClass << 14;
  va.transformProc = sizeClass == 1 ? m.xf2 : sizeClass == 2 ? m.xf3 : m.xf4;
  va.clipCheckProc = gc->procs.clipCheck[sizeClass - 1];
  va.validateProc = gc->procs.validateVertex[sizeClass];
  va.flags &= ~__GL_VARRAY_LOCK_COMPILED;
  va.compileProc = (vc.flags & __GL_VC_MATERIAL_VALIDATED) ? __glCompileElements_NoCopy
                                                          : vc.compile[sizeClass - 1];
  va.compileIndexed = CompileElementsIndexed;
  va.compileSilhouette = __glCompileElementsSilhouette_NoCopy;
  va.cursor = reinterpret_cast<uintptr_t>(vc.vertices);
  vc.processMode[vc.mode](gc, how);
  va.transformProc = saved.transformProc;
  va.clipCheckProc = saved.clipCheckProc;
  va.validateProc = saved.validateProc;
  va.sizeBits = saved.sizeBits;
  va.flags = saved.flags;
  va.compileProc = saved.compileProc;
  va.compileIndexed = saved.compileIndexed;
  va.compileSilhouette = saved.compileSilhouette;
  va.cursor = saved.cursor;
  __glRenderUnlock(gc);
}
