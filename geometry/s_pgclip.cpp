// The clip-space polygon clipper: cuts a polygon against the enabled user
// planes (in eye coordinates) and then the frustum planes (in clip
// coordinates), makes window coordinates for what is left and renders it as
// a fan whose inner diagonals are hidden.
#include "geometry/s_pgclip.h"

#include "core/context.h"
#include "core/gl_assert.h"
#include "geometry/s_clipcheck_frustum.h"
#include "raster/s_shader.h"

const GLfloat __gl_frustumClipPlanes[6][4] = {
    {1.0f, 0.0f, 0.0f, 1.0f},   // x >= -w
    {-1.0f, 0.0f, 0.0f, 1.0f},  // x <= w
    {0.0f, 1.0f, 0.0f, 1.0f},   // y >= -w
    {0.0f, -1.0f, 0.0f, 1.0f},  // y <= w
    {0.0f, 0.0f, 1.0f, 1.0f},   // z >= -w
    {0.0f, 0.0f, -1.0f, 1.0f},  // z <= w
};

namespace {

constexpr uint32_t kCodeBits = 0xFFFF0000u;
constexpr int32_t kMaxInput = 15;
// Six user planes and six frustum planes; a pass adds at most one vertex to
// the list (two new ones for at least one dropped), so 15 + 12 fits.
constexpr int32_t kMaxPasses = 12;
constexpr int32_t kMaxUserPlanes = 6;
constexpr int32_t kListSize = 32;

// The clip-vertex pool: records handed out in order, never freed one by
// one; every polygon starts again at the first.
struct ClipPool {
  GlVertex *next;
  GlVertex *end;
};

// Worked out exactly as the clip checks work it out, so that a vertex they
// put outside a plane is outside here too: one kept with its code bits would
// have its texture divided in place, again for every primitive sharing it.
template <bool Eye>
clipcheck::Ext Distance(const GlVertex *v, const GLfloat plane[4]) {
  using clipcheck::Ext;
  const GlCoord &c = Eye ? v->eye : v->clip;
  return Ext(plane[0]) * c.x + Ext(plane[1]) * c.y + Ext(plane[2]) * c.z + Ext(plane[3]) * c.w;
}

inline GLfloat Mix(double a, double b, double t) { return GLfloat((a - b) * t + b); }

// The vertex where the edge from b (inside) to a (outside) leaves the plane.
// It keeps the code bits the parameter-clip procedure wrote and takes the
// low bits of `earlier`, the first end of the cut edge in list order.
template <bool Eye>
GlVertex *MakeVertex(GlContext *gc, GlVertex *nv, const GlVertex *a, const GlVertex *b,
                     GLfloat t, const GlVertex *earlier) {
  gc->procs.polygonClipParam(gc, nv, a, b, t);
  nv->has = (nv->has & kCodeBits) | (earlier->has & ~kCodeBits);
  if (Eye) {
    nv->eye.x = Mix(a->eye.x, b->eye.x, t);
    nv->eye.y = Mix(a->eye.y, b->eye.y, t);
    nv->eye.z = Mix(a->eye.z, b->eye.z, t);
    nv->eye.w = Mix(a->eye.w, b->eye.w, t);
  }
  __GL_ASSERT(nv->color == &nv->colors[__GL_FRONTFACE],
              "newVertex->color == &newVertex->colors[__GL_FRONTFACE]", "s_pgclip");
  return nv;
}

// One pass against one plane: the number of vertices written to `out`, 0
// when the polygon is given up (a third crossing, which a convex polygon
// never has).
template <bool Eye>
int32_t ClipToPlane(GlContext *gc, ClipPool *pool, GlVertex **in, int32_t count, GlVertex **out,
                    const GLfloat plane[4]) {
  GlVertex *next = pool->next;
  int32_t n = 0, crossings = 0;
  const GlVertex *s = in[count - 1];
  clipcheck::Ext ds = Distance<Eye>(s, plane);
  for (int32_t i = 0; i < count; ++i) {
    GlVertex *p = in[i];
    const clipcheck::Ext dp = Distance<Eye>(p, plane);
    const bool pInside = dp >= 0, sInside = ds >= 0;
    if (pInside != sInside) {
      // A full pool or list only follows from input no caller makes.
      if (++crossings > 2 || next == pool->end || n + 2 > kListSize) return 0;
      // The inside distance is >= 0 and the outside one < 0, so t lies in
      // [0, 1] even when both are too small for a float.
      if (pInside) {
        out[n++] = MakeVertex<Eye>(gc, next++, s, p, GLfloat(dp / (dp - ds)), s);
      } else {
        out[n++] = MakeVertex<Eye>(gc, next++, p, s, GLfloat(ds / (ds - dp)), s);
      }
    }
    if (pInside) out[n++] = p;
    s = p;
    ds = dp;
  }
  pool->next = next;
  return n;
}

// Window coordinates for every vertex left, clamped to the viewport so that
// rounding in the cut never puts a vertex outside it; clip-made vertices
// take their texture division here.
void MakeWindow(GlContext *gc, GlVertex **list, int32_t count) {
  const GlViewport &vp = gc->state.viewport;
  const GLfloat xLow = vp.xCenter - vp.xScale, xHigh = vp.xCenter + vp.xScale;
  const GLfloat yLow = vp.yScale > 0.0f ? vp.yCenter - vp.yScale : vp.yCenter + vp.yScale;
  const GLfloat yHigh = vp.yScale > 0.0f ? vp.yCenter + vp.yScale : vp.yCenter - vp.yScale;
  const bool divide = (gc->polygon.shader.modeFlags & __GL_SHADE_TEX_DIVIDED) != 0;
  for (int32_t i = 0; i < count; ++i) {
    GlVertex *v = list[i];
    const GLfloat invW = gc->constants.one / v->clip.w;
    v->window.w = invW;
    clipcheck::StoreWindow(gc, v, invW);
    if (v->window.x < xLow) v->window.x = xLow;
    if (v->window.x > xHigh) v->window.x = xHigh;
    if (v->window.y < yLow) v->window.y = yLow;
    if (v->window.y > yHigh) v->window.y = yHigh;
    if ((v->has & kCodeBits) && divide) {
      v->texture.x *= invW;
      v->texture.y *= invW;
      v->texture.w *= invW;
    }
  }
}

}  // namespace

void __glDoPolygonClip(GlContext *gc, GlVertex **list, int32_t count, uint32_t orCodes) {
  if (count < 3 || count > kMaxInput) return;
  const uint32_t codes = orCodes >> 16;
  // The pass lists outlive the cutting: the fan reads the last of them.
  GlVertex *lists[kMaxPasses][kListSize];
  if (codes) {
    const GlVertexBuffer &vb = gc->vertexBuffer;
    const uint32_t needs = vb.frontNeeds | vb.backNeeds | __GL_HAS_CLIP;
    for (int32_t i = 0; i < count; ++i) {
      GlVertex *v = list[i];
      if (needs & ~v->has) gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, needs);
    }

    // Code bits of planes the context does not have name nothing to cut.
    int32_t planes = gc->constants.numberOfClipPlanes;
    if (planes > kMaxUserPlanes) planes = kMaxUserPlanes;
    const uint32_t user = (codes >> 6) & ((1u << planes) - 1u);
    ClipPool pool = {gc->transform.clipTemp,
                     gc->transform.clipTemp + 2 * gc->constants.numberOfClipPlanes + 12};
    int32_t pass = 0;
    for (int32_t i = 0; i < planes; ++i) {
      if (!(user & (1u << i))) continue;
      count = ClipToPlane<true>(gc, &pool, list, count, lists[pass],
                                &gc->state.transform.eyeClipPlanes[i].x);
      if (count < 3) return;
      list = lists[pass++];
    }
    for (int32_t i = 0; i < 6; ++i) {
      if (!(codes & (1u << i))) continue;
      count = ClipToPlane<false>(gc, &pool, list, count, lists[pass], __gl_frustumClipPlanes[i]);
      if (count < 3) return;
      list = lists[pass++];
    }
    MakeWindow(gc, list, count);
  }
  __glRenderFan(gc, gc->procs.renderTriangle, list, count);
}

void __glClipPolygon(GlContext *gc, GlVertex *first, int32_t count) {
  gc->vertexBuffer.provoking = first;
  if (count < 3 || count > kMaxInput) return;
  GlVertex *list[kMaxInput];
  uint32_t orHas = 0, andHas = ~0u;
  for (int32_t i = 0; i < count; ++i) {
    list[i] = first + i;
    orHas |= first[i].has;
    andHas &= first[i].has;
  }
  // Every vertex outside one plane: nothing is left.
  if (andHas & kCodeBits) return;
  __glDoPolygonClip(gc, list, count, orHas & kCodeBits);
}

void __glClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes) {
  GlVertex *list[3] = {a, b, c};
  __glDoPolygonClip(gc, list, 3, orCodes);
}
