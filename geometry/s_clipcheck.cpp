// The portable frustum checks: the reference the x87 and 3DNow! checks must
// agree with, and the shortcut for two-component vertices.
#include "geometry/s_clipcheck.h"

#include "core/context.h"
#include "geometry/s_clipcheck_frustum.h"

using clipcheck::Ext;

uint32_t __glClipCheckFrustum(GlContext *gc, GlVertex *v) {
  const GLfloat invW = gc->constants.one / v->clip.w;
  v->window.w = invW;
  const uint32_t codes = clipcheck::FrustumCodes(v->clip);
  v->has |= __GL_HAS_CLIP;
  if (!codes) clipcheck::StoreWindow(gc, v, invW);
  return codes;
}

// The composite maps every two-component vertex to z = m[14] inside [-1, 1]
// and w = 1: only x and y can be outside, and there is nothing to divide by.
uint32_t __glClipCheckFrustum2D(GlContext *gc, GlVertex *v) {
  const GlCoord &c = v->clip;
  v->window.w = c.w;
  const uint32_t codes = clipcheck::PairCodes(c.x, c.w, __GL_CLIP_LEFT) |
                         clipcheck::PairCodes(c.y, c.w, __GL_CLIP_BOTTOM);
  v->has |= __GL_HAS_CLIP;
  if (!codes) {
    const GlViewport &vp = gc->state.viewport;
    v->window.x = GLfloat(Ext(vp.xScale) * c.x + vp.xCenter);
    v->window.y = GLfloat(Ext(vp.yScale) * c.y + vp.yCenter);
    v->window.z = GLfloat(Ext(vp.zScale) * c.z + vp.zCenter);
  }
  return codes;
}
