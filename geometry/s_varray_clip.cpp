// The clip hand-offs of array drawing. A vertex the cull-vertex test left
// untransformed is compiled after all when a primitive that is drawn needs
// it; then the clipper takes the primitive unless it lies outside one plane.
#include "core/context.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_draw.h"
#include "raster/s_line_clip.h"

namespace {

void Recompile(GlContext *gc, GlVertex *v) {
  if (v->has & __GL_HAS_CLIP) return;
  GlVertexArrayMachine &va = gc->vertexArray;
  const int32_t position = __glVarrayBatchPosition(va, v);
  // In a locked walk a position is the element itself.
  const int32_t element = (va.flags & __GL_VARRAY_COMPILE_PENDING)
                              ? indexToBatchIndex(gc, position)
                              : position;
  va.compileSilhouette(gc, v, element);
}

}  // namespace

int32_t indexToBatchIndex(GlContext *gc, int32_t position) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  const GlPrimMode pm = PrimModes[va.batchMode];
  int32_t element;
  if (position >= pm.lead && va.batchPosition - va.batchFirst > 0)
    element = position + va.batchPosition - pm.carry;
  else
    element = position + va.batchFirst;
  return va.batchElements ? int32_t(va.batchElements[element]) : element;
}

void GLFASTCALL __glDoClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  Recompile(gc, a);
  Recompile(gc, b);
  Recompile(gc, c);
  if (a->has & b->has & c->has & __GL_PRIM_CLIP_MASK) return;
  gc->procs.clipTriangle(gc, a, b, c, (a->has | b->has | c->has) & __GL_PRIM_CLIP_MASK);
}

void ClipQuad(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, GlVertex *d) {
  GlVertex *list[4] = {a, b, c, d};
  for (GlVertex *v : list) Recompile(gc, v);
  if (a->has & b->has & c->has & d->has & __GL_PRIM_CLIP_MASK) return;
  __glDoPolygonClip(gc, list, 4, (a->has | b->has | c->has | d->has) & __GL_PRIM_CLIP_MASK);
}

void ClipLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  Recompile(gc, a);
  Recompile(gc, b);
  if (a->has & b->has & __GL_PRIM_CLIP_MASK) return;
  __glClipLine(gc, a, b);
}
