// Clipping of independent line segments: the fast checks that draw a
// segment without clip codes and drop one wholly outside a plane, and the
// clipper that cuts it by parameter against the user planes (in eye space)
// and the frustum (in clip space), one new end per cut.
#include "core/context.h"
#include "geometry/s_clipcheck_frustum.h"
#include "geometry/s_pgclip.h"
#include "raster/s_line_clip.h"

namespace {

constexpr uint32_t kCodeBits = 0xFFFF0000u;
constexpr uint32_t kColorNormalEye = __GL_HAS_FRONT_COLOR | __GL_HAS_NORMAL | __GL_HAS_EYE;
constexpr int32_t kMaxUserPlanes = 6;

void Validate(GlContext *gc, GlVertex *v, uint32_t needs) {
  if (needs & ~v->has) gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, needs);
}

template <bool kFlat>
void FastClip(GlContext *gc, GlVertex *a, GlVertex *b) {
  if (((a->has | b->has) & kCodeBits) == 0) {
    const uint32_t needs = gc->vertexBuffer.frontNeeds;
    // A flat line takes its colour from b alone.
    Validate(gc, a, kFlat ? needs & ~__GL_HAS_FRONT_COLOR : needs | __GL_HAS_FRONT_COLOR);
    Validate(gc, b, needs | __GL_HAS_FRONT_COLOR);
    gc->procs.renderLine(gc, a, b);
    return;
  }
  if ((a->has & b->has) & kCodeBits) return;  // both outside one plane
  __glClipLine(gc, a, b);
}

template <bool kEye>
clipcheck::Ext Distance(const GlVertex *v, const GLfloat plane[4]) {
  using clipcheck::Ext;
  const GlCoord &c = kEye ? v->eye : v->clip;
  return Ext(plane[0]) * c.x + Ext(plane[1]) * c.y + Ext(plane[2]) * c.z + Ext(plane[3]) * c.w;
}

inline GLfloat Mix(double outside, double inside, double t) {
  return GLfloat((outside - inside) * t + inside);
}

// The two ends as the cuts leave them; each end owns two records, so that
// a new end is never made from itself.
struct Ends {
  GlVertex *end[2];
  GlVertex made[2][2];
  int32_t next[2] = {0, 0};
};

// Cuts the segment at one plane; false when nothing is left. A distance of
// exactly 0 is inside.
template <bool kEye>
bool Cut(GlContext *gc, Ends *ends, const GLfloat plane[4]) {
  const clipcheck::Ext d0 = Distance<kEye>(ends->end[0], plane);
  const clipcheck::Ext d1 = Distance<kEye>(ends->end[1], plane);
  if (d0 < 0 && d1 < 0) return false;
  if (d0 >= 0 && d1 >= 0) return true;
  const int out = d0 < 0 ? 0 : 1;
  const GlVertex *outside = ends->end[out], *inside = ends->end[1 - out];
  const clipcheck::Ext dIn = out == 0 ? d1 : d0, dOut = out == 0 ? d0 : d1;
  // dIn >= 0 > dOut, so t lies in [0, 1].
  const GLfloat t = GLfloat(dIn / (dIn - dOut));
  GlVertex *nv = &ends->made[out][ends->next[out]];
  ends->next[out] ^= 1;
  gc->procs.lineClipParam(gc, nv, outside, inside, t);
  // Made by clipping (every code bit, which the parameter procedure wrote),
  // with the inside end's fields and no size class, so never validated
  // again.
  nv->has = (nv->has & kCodeBits) | (inside->has & ~kCodeBits & ~__GL_HAS_SIZE_MASK);
  if (kEye) {
    nv->eye.x = Mix(outside->eye.x, inside->eye.x, t);
    nv->eye.y = Mix(outside->eye.y, inside->eye.y, t);
    nv->eye.z = Mix(outside->eye.z, inside->eye.z, t);
    nv->eye.w = Mix(outside->eye.w, inside->eye.w, t);
  }
  nv->color = &nv->colors[__GL_FRONTFACE];
  ends->end[out] = nv;
  return true;
}

void MakeWindow(GlContext *gc, GlVertex *v) {
  const GLfloat invW = gc->constants.one / v->clip.w;
  v->window.w = invW;
  clipcheck::StoreWindow(gc, v, invW);
  if ((v->has & kCodeBits) && (gc->polygon.shader.modeFlags & __GL_SHADE_TEX_DIVIDED)) {
    v->texture.x *= invW;
    v->texture.y *= invW;
    v->texture.w *= invW;
  }
}

}  // namespace

void __glFastClipSmoothLine(GlContext *gc, GlVertex *a, GlVertex *b) { FastClip<false>(gc, a, b); }
void __glFastClipFlatLine(GlContext *gc, GlVertex *a, GlVertex *b) { FastClip<true>(gc, a, b); }

void __glClipLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  const uint32_t codes = (a->has | b->has) >> 16;
  uint32_t needs = gc->vertexBuffer.frontNeeds | __GL_HAS_CLIP;
  if (codes >> 6) needs |= __GL_HAS_EYE;  // user planes cut in eye space
  const bool flat = gc->state.light.shadingModel == GL_FLAT;
  Validate(gc, a, flat ? needs & ~__GL_HAS_FRONT_COLOR : needs);
  Validate(gc, b, needs);

  Ends ends;
  ends.end[0] = a;
  ends.end[1] = b;
  // Code bits of planes the context does not have name nothing to cut.
  int32_t planes = gc->constants.numberOfClipPlanes;
  if (planes > kMaxUserPlanes) planes = kMaxUserPlanes;
  for (int32_t i = 0; i < planes; i++) {
    if (!((codes >> 6) & (1u << i))) continue;
    if (!Cut<true>(gc, &ends, &gc->state.transform.eyeClipPlanes[i].x)) return;
  }
  for (int32_t i = 0; i < 6; i++) {
    if (!(codes & (1u << i))) continue;
    if (!Cut<false>(gc, &ends, __gl_frustumClipPlanes[i])) return;
  }
  GlVertex *const na = ends.end[0], *const nb = ends.end[1];
  MakeWindow(gc, na);
  MakeWindow(gc, nb);

  if (!flat) {
    Validate(gc, na, needs);
    Validate(gc, nb, needs);
    gc->procs.renderLine(gc, na, nb);
    return;
  }
  // Flat: the provoking end's colour, wherever the cuts moved that end.
  Validate(gc, b, needs & kColorNormalEye);
  GlColor *const own = nb->color;
  nb->color = &b->colors[__GL_FRONTFACE];
  Validate(gc, na, needs & ~kColorNormalEye);
  Validate(gc, nb, needs & ~kColorNormalEye);
  gc->procs.renderLine(gc, na, nb);
  nb->color = own;
}
