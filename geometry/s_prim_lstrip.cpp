// GL_LINE_STRIP: each new vertex ends the segment from the vertex before.
// Two slots alternate; kept[0] is the older end of the next segment. The
// stipple restarts once, at glBegin.
#include "geometry/s_prim_machine.h"
#include "raster/s_line_clip.h"
#include "raster/s_triangle.h"

namespace {

void __glFirstLStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[0] = v;
  __glPrimAdvance(gc, v, 0, gc->procs.primSteady[__GL_STEADY_LSTRIP]);
  gc->procs.matValidate = __glMatValidateV1;
  // Later segments validate only their new end.
  const uint32_t needs = gc->vertexBuffer.frontNeeds;
  if (needs) __glPrimValidate(gc, v, needs);
}

}  // namespace

void __glBeginLStrip(GlContext *gc) {
  gc->lineStippleStarted = 0;
  __glPrimBegin(gc, __glFirstLStripVertex);
}

// a, the older end, was validated as the new end of the segment before, by
// the first-vertex procedure or by the clipper.
void __glOtherLStripVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = vb.kept[0];
  vb.next = a;
  vb.kept[0] = v;
  const uint32_t orCodes = (a->has | v->has) & __GL_PRIM_CLIP_MASK;
  const uint32_t andCodes = (a->has & v->has) & __GL_PRIM_CLIP_MASK;
  switch (__glPrimDecide(orCodes, andCodes)) {
    case __GL_PRIM_DRAW:
      __glPrimValidate(gc, v, vb.frontNeeds);
      __glRenderLock(gc);
      gc->procs.renderLine(gc, a, v);
      __glRenderUnlock(gc);
      return;
    case __GL_PRIM_CLIP:
      __glRenderLock(gc);
      __glClipLine(gc, a, v);
      __glRenderUnlock(gc);
      return;
    case __GL_PRIM_DROP:
      return;
  }
}

// No vertex field is needed: the line clipper takes any segment with codes.
void __glOtherLStripVertexFastLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = vb.kept[0];
  vb.next = a;
  vb.kept[0] = v;
  __glRenderLock(gc);
  if ((a->has | v->has) & __GL_PRIM_CLIP_MASK)
    gc->procs.clipLine(gc, a, v);
  else
    gc->procs.renderLine(gc, a, v);
  __glRenderUnlock(gc);
}
