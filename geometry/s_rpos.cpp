// The raster position: one vertex of the current state, transformed and
// clip-checked like any vertex. A position outside the volume only clears
// the valid flag; a valid one takes the current normal, colour and texture
// coordinates and is validated with the raster-position procedures, so its
// colour is lit but never fogged and its texture coordinates never divided
// by w nor scaled to the texture.
#include "geometry/s_rpos.h"

#include <cmath>

#include "core/context.h"
#include "geometry/s_select.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_vertex_procs.h"

namespace {

// Every bit the clip checks may set: frustum and user-plane codes.
constexpr uint32_t kClipCodes = 0xFFFF0000u;
// Front colour, texture, normal and eye coordinates.
constexpr uint32_t kRasterNeeds =
    __GL_HAS_FRONT_COLOR | __GL_HAS_TEXTURE | __GL_HAS_NORMAL | __GL_HAS_EYE;

void CopyCurrent(const GlContext *gc, GlVertex *v) {
  const GlCurrentState &cur = gc->state.current;
  v->normal.x = cur.normal[0];
  v->normal.y = cur.normal[1];
  v->normal.z = cur.normal[2];
  v->color = &v->colors[__GL_FRONTFACE];
  if (gc->modes.colorIndexMode)
    v->colors[__GL_FRONTFACE].r = cur.index;
  else
    v->colors[__GL_FRONTFACE] = cur.color;
  v->texture = cur.texture;
}

// A position the clip checks pass but that has no place in the window: w = 0
// at the origin, or coordinates beyond the float range.
bool Placeable(const GlVertex &v) {
  return std::isfinite(v.window.x) && std::isfinite(v.window.y) && std::isfinite(v.window.z);
}

template <int N>
void SetRasterPos(GlContext *gc, const GLfloat *p) {
  static_assert(N >= 2 && N <= 4, "two to four coordinates");
  GlCurrentState &cur = gc->state.current;
  // Worked out aside: an invalid position leaves the last valid one whole.
  alignas(16) GlVertex v = cur.rasterPos;
  GlCoord &obj = v.obj;
  obj.x = p[0];
  obj.y = p[1];
  obj.z = N > 2 ? p[2] : 0.0f;
  obj.w = N > 3 ? p[3] : gc->constants.one;
  const GlMatrix &mvp = gc->transform.modelView->mvp;
  (N == 2 ? mvp.xf2 : N == 3 ? mvp.xf3 : mvp.xf4)(&v.clip, &obj.x, &mvp);

  // Nothing of the last position's validity survives: a stale field or
  // clip code would stop validation from computing it again.
  v.has = N == 2 ? __GL_HAS_SIZE2 : N == 3 ? __GL_HAS_SIZE3 : __GL_HAS_SIZE4;
  v.has |= gc->procs.clipCheck[N - 2](gc, &v);
  if ((v.has & kClipCodes) || !Placeable(v)) {
    cur.validRasterPos = 0;
    return;
  }
  CopyCurrent(gc, &v);

  GlProcs &procs = gc->procs;
  const GlCalcColorProc calcColor = procs.calcColor;
  const GlVertexProc calcTexture = procs.calcTexture;
  procs.calcColor = procs.calcRasterPosColor;
  procs.calcTexture = procs.calcRasterPosTexture;
  __glFullValidator(gc, N - 1)(gc, &v, gc->vertexBuffer.baseNeeds | kRasterNeeds);
  procs.calcColor = calcColor;
  procs.calcTexture = calcTexture;

  GlVertex &rp = cur.rasterPos;
  rp = v;
  rp.color = &rp.colors[__GL_FRONTFACE];
  cur.validRasterPos = 1;
  if (gc->renderMode == GL_SELECT) __glSelectPoint(gc, &rp);
}

}  // namespace

void __glRasterPos2(GlContext *gc, const GLfloat *v) { SetRasterPos<2>(gc, v); }
void __glRasterPos3(GlContext *gc, const GLfloat *v) { SetRasterPos<3>(gc, v); }
void __glRasterPos4(GlContext *gc, const GLfloat *v) { SetRasterPos<4>(gc, v); }
