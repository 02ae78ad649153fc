// What the portable clip checks share: the frustum codes of a clip
// coordinate and the mapping to window coordinates.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "geometry/s_vertex.h"

namespace clipcheck {

typedef long double Ext;

// The codes of one coordinate against -w and w: `low` when c < -w, the bit
// above it when c > w. The second test is made as "not w >= c", so a NaN in
// c or w sets the high bit and the vertex counts as outside.
inline uint32_t PairCodes(GLfloat c, GLfloat w, uint32_t low) {
  uint32_t code = 0;
  if (c < -w) code |= low;
  if (!(w >= c)) code |= low << 1;
  return code;
}

inline uint32_t FrustumCodes(const GlCoord &c) {
  return PairCodes(c.x, c.w, __GL_CLIP_LEFT) | PairCodes(c.y, c.w, __GL_CLIP_BOTTOM) |
         PairCodes(c.z, c.w, __GL_CLIP_NEAR);
}

// Window coordinates of a vertex inside the frustum: scale · invW · clip +
// centre, in extended precision and rounded once.
inline void StoreWindow(const GlContext *gc, GlVertex *v, GLfloat invW) {
  const GlViewport &vp = gc->state.viewport;
  const Ext w = invW;
  v->window.x = GLfloat(vp.xScale * w * v->clip.x + vp.xCenter);
  v->window.y = GLfloat(vp.yScale * w * v->clip.y + vp.yCenter);
  v->window.z = GLfloat(vp.zScale * w * v->clip.z + vp.zCenter);
}

}  // namespace clipcheck
