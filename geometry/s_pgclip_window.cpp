// The window-space triangle clipper of front-buffer drawing: each triangle
// is cut to every visible rectangle of the drawable in turn, and each portion
// goes to procs.renderClippedTriangle as a fan.
#include <stdint.h>

#include "core/context.h"
#include "core/drawable.h"
#include "geometry/s_pgclip.h"

namespace {

constexpr uint32_t kBoundary = __GL_HAS_EDGEFLAG_BOUNDARY;

// A convex portion crosses each rectangle edge at most twice, so each of the
// four edges adds at most one vertex to the list and makes at most two new
// ones. A pass that finds a third crossing gives the portion up, which keeps
// every list and the record pool inside these sizes whatever the input.
constexpr int kRectEdges = 4;
constexpr int kMaxCrossings = 2;
constexpr int kCopies = 3;
constexpr int kListEntries = kCopies + kRectEdges;       // 7
constexpr int kNewRecords = kMaxCrossings * kRectEdges;  // 8
constexpr int kRecords = kCopies + kNewRecords;          // 11
static_assert(kListEntries == 7 && kNewRecords == 8, "the window clipper's fixed lists");

struct RectEdge {
  uint32_t bit;
  bool isX;  // a bound on window x (else on window y)
};

// Left, right, first y bound, second y bound: the order every triangle is
// cut in.
constexpr RectEdge kEdges[kRectEdges] = {
    {__GL_CLIP2D_LEFT, true},
    {__GL_CLIP2D_RIGHT, true},
    {__GL_CLIP2D_BOTTOM, false},
    {__GL_CLIP2D_TOP, false},
};

GLfloat EdgeBound(const GlContext *gc, const GlRect *rect, int edge) {
  const GLfloat xBias = gc->constants.fviewportXAdjust;
  const GLfloat yBias = gc->constants.fviewportYAdjust;
  switch (edge) {
    case 0:
      return GLfloat(rect->x0) + xBias;
    case 1:
      return GLfloat(rect->x1) + xBias;
    case 2:
      return GLfloat(rect->y0) + yBias;
    default:
      return GLfloat(rect->y1) + yBias;
  }
}

GLfloat Lerp(GLfloat a, GLfloat b, GLfloat t) { return (a - b) * t + b; }

// The three copies and the records new vertices take; the new ones are
// handed out afresh for every rectangle.
struct RecordPool {
  GlClipVertex2D records[kRecords];
  int used;
};

// Makes the vertex where the boundary of `edge` cuts cur -> next. The edge
// is always cut from the same end (the one with the smaller window x, then
// smaller y), so a side two triangles share is cut bit-identically.
void CutEdge(GlContext *gc, const GlRect *rect, int edge, GLfloat bound, GlClipVertex2D *cur,
             GlClipVertex2D *next, GlClipVertex2D *made) {
  const RectEdge &e = kEdges[edge];
  GlClipVertex2D *p1 = cur, *p2 = next;
  const bool swapped = p2->v.window.x > p1->v.window.x ||
                       (p2->v.window.x == p1->v.window.x && p2->v.window.y > p1->v.window.y);
  if (swapped) {
    p1 = next;
    p2 = cur;
  }
  const GlVertex &a = p1->v, &b = p2->v;
  GlVertex &v = made->v;
  v.color = &v.colors[__GL_FRONTFACE];
  GLfloat t;
  if (e.isX) {
    t = (b.window.x - bound) / (b.window.x - a.window.x);
    v.window.x = bound;
    v.window.y = Lerp(a.window.y, b.window.y, t);
  } else {
    t = (b.window.y - bound) / (b.window.y - a.window.y);
    v.window.y = bound;
    v.window.x = Lerp(a.window.x, b.window.x, t);
  }
  v.window.z = Lerp(a.window.z, b.window.z, t);
  gc->procs.polygonClipParam(gc, &v, &a, &b, t);
  // The rasterizer steps s, t, q and fog linearly in window space: take
  // them from there rather than from the clip-space interpolation.
  v.texture.x = Lerp(a.texture.x, b.texture.x, t);
  v.texture.y = Lerp(a.texture.y, b.texture.y, t);
  v.texture.w = Lerp(a.texture.w, b.texture.w, t);
  if ((gc->state.enables.general & __GL_FOG_ENABLE) &&
      (gc->polygon.shader.modeFlags & __GL_SHADE_FOG))
    v.fog = Lerp(a.fog, b.fog, t);
  // The portion of a side that enters the rectangle keeps the side's
  // boundary flag; a side along the rectangle is never a boundary.
  if (!swapped && (p1->outcode & e.bit))
    v.has = a.has;
  else if (swapped && (p2->outcode & e.bit))
    v.has = (b.has & kBoundary) | (a.has & ~kBoundary);
  else
    v.has = a.has & ~kBoundary;
  __glCalc2DOutcode(gc, made, rect);
  made->outcode &= ~e.bit;
}

// One rectangle edge: from `in` (n entries) into `out`. Returns the count
// written, 0 when the portion is given up.
int ClipToEdge(GlContext *gc, const GlRect *rect, int edge, GlClipVertex2D **in, int n,
               GlClipVertex2D **out, RecordPool *pool) {
  const uint32_t bit = kEdges[edge].bit;
  const GLfloat bound = EdgeBound(gc, rect, edge);
  int count = 0, crossings = 0;
  for (int i = 0; i < n; ++i) {
    GlClipVertex2D *cur = in[i];
    GlClipVertex2D *next = in[i + 1 < n ? i + 1 : 0];
    if (!(cur->outcode & bit)) {
      if (count == kListEntries) return 0;
      out[count++] = cur;
    }
    if ((cur->outcode ^ next->outcode) & bit) {
      // A third crossing: the portion is not convex (a cut towards an
      // infinite corner lands at NaN, which no bound excludes); draw
      // nothing rather than a wrong fan. The size checks only back this up.
      if (++crossings > kMaxCrossings) return 0;
      if (count == kListEntries || pool->used == kRecords) return 0;
      GlClipVertex2D *made = &pool->records[pool->used++];
      CutEdge(gc, rect, edge, bound, cur, next, made);
      out[count++] = made;
    }
  }
  return count;
}

void CopyVertex(GlClipVertex2D *copy, const GlVertex *v) {
  copy->v = *v;
  // Keep the face the colour pointer chose, but in the copy's own record.
  if (v->color == &v->colors[__GL_FRONTFACE] || v->color == &v->colors[__GL_BACKFACE])
    copy->v.color = &copy->v.colors[v->color - v->colors];
}

}  // namespace

bool __glWholeDrawableVisible(const GlContext *gc, const GlDrawable *d) {
  if (d->clipCount != 1 || !gc->transform.viewportInside) return false;
  const GlRect &r = d->clipRects[0];
  const int32_t *box = gc->transform.clipBox;
  const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
  return r.x0 == box[0] - dx && r.y0 == box[1] - dy && r.x1 == box[2] - dx && r.y1 == box[3] - dy;
}

void GLFASTCALL __glClipAndRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  const GlDrawable *drawable = gc->drawablePrivate;
  if (!drawable || drawable->clipCount <= 0 || !drawable->clipRects) return;
  const GlTriangleProc render = gc->procs.renderClippedTriangle;
  if (__glWholeDrawableVisible(gc, drawable)) {
    render(gc, a, b, c);
    return;
  }

  const uint32_t needs = gc->vertexBuffer.frontNeeds | gc->vertexBuffer.backNeeds;
  GlVertex *const originals[kCopies] = {a, b, c};
  for (GlVertex *v : originals) {
    if (needs & ~v->has)
      gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, needs);
  }

  RecordPool pool;
  for (int i = 0; i < kCopies; ++i) CopyVertex(&pool.records[i], originals[i]);

  GlClipVertex2D *lists[2][kListEntries];
  for (int r = 0; r < drawable->clipCount; ++r) {
    const GlRect *rect = &drawable->clipRects[r];
    GlClipVertex2D *ca = &pool.records[0], *cb = &pool.records[1], *cc = &pool.records[2];
    __glCalc2DOutcode(gc, ca, rect);
    __glCalc2DOutcode(gc, cb, rect);
    __glCalc2DOutcode(gc, cc, rect);
    if ((ca->outcode | cb->outcode | cc->outcode) == 0) {
      render(gc, a, b, c);
      continue;
    }
    if (ca->outcode & cb->outcode & cc->outcode) continue;

    pool.used = kCopies;
    GlClipVertex2D **list = lists[0];
    list[0] = ca;
    list[1] = cb;
    list[2] = cc;
    int n = kCopies;
    for (int edge = 0; edge < kRectEdges && n >= 3; ++edge) {
      GlClipVertex2D **out = lists[(edge + 1) & 1];
      n = ClipToEdge(gc, rect, edge, list, n, out, &pool);
      list = out;
    }
    if (n < 3) continue;
    GlVertex *fan[kListEntries];
    for (int i = 0; i < n; ++i) fan[i] = &list[i]->v;
    __glRenderFan(gc, render, fan, n);
  }
}
