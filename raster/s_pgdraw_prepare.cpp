// What the triangle fills share before they walk: the working copies of the
// vertices and the gradients of colour and texture.
#include "raster/s_pgdraw_prepare.h"

#include <math.h>

#include "core/context.h"

namespace tri_prepare {

bool Walkable(const GlVertex *v) {
  return fabsf(v->window.x) <= kMaxWindowCoord && fabsf(v->window.y) <= kMaxWindowCoord;
}

// Colours to colour-buffer units, by component name (the rescale words are
// stored red, blue, green, alpha).
GlColor Rescaled(const GlConstants &k, const GlColor &c) {
  return {c.r * k.redRescale, c.g * k.greenRescale, c.b * k.blueRescale, c.a * k.alphaRescale};
}

void Prepare(const GlContext *gc, const GlVertex *in, Prepared *out) {
  out->v = *in;
  out->fog = out->rho = 0;
  out->s = out->t = out->q = 0;
  out->v.window.x += 0.5f;
  out->v.window.y += 0.5f;
  out->v.window.z *= gc->constants.depthMax;
  if (in->color) {
    out->color = Rescaled(gc->constants, *in->color);
    out->v.color = &out->color;
  }
}


const GlColor kNoColor = {0, 0, 0, 0};
const GlColor &ColorOf(const Prepared *p) { return p->v.color ? *p->v.color : kNoColor; }

void SetColors(GlContext *gc, const Plane &plane, const Prepared *min, const Prepared *mid,
               const Prepared *max) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    const GlColor &c0 = ColorOf(min), &c1 = ColorOf(mid), &c2 = ColorOf(max);
    plane.Gradients(c0.r, c1.r, c2.r, &sh.drdx, &sh.drdy);
    if (flags & __GL_SHADE_RGB) {
      plane.Gradients(c0.g, c1.g, c2.g, &sh.dgdx, &sh.dgdy);
      plane.Gradients(c0.b, c1.b, c2.b, &sh.dbdx, &sh.dbdy);
      plane.Gradients(c0.a, c1.a, c2.a, &sh.dadx, &sh.dady);
    }
    return;
  }
  const GlVertex *provoking = gc->vertexBuffer.provoking;
  if (!provoking || !provoking->color) return;
  const GlColor flat = Rescaled(gc->constants, *provoking->color);
  sh.r = flat.r;
  if (flags & __GL_SHADE_RGB) {
    sh.g = flat.g;
    sh.b = flat.b;
    sh.a = flat.a;
  }
}

void SetTexture(GlContext *gc, const Plane &plane, Prepared *v[3]) {
  GlShader &sh = gc->polygon.shader;
  const bool divide =
      (sh.modeFlags & __GL_SHADE_PERSPECTIVE) && !(sh.modeFlags & __GL_SHADE_TEX_DIVIDED);
  for (int i = 0; i < 3; i++) {
    const GlVertex &vx = v[i]->v;
    const GLfloat w = divide ? vx.window.w : 1.0f;
    v[i]->s = divide ? vx.texture.x * w : vx.texture.x;
    v[i]->t = divide ? vx.texture.y * w : vx.texture.y;
    v[i]->q = divide ? vx.texture.w * w : vx.texture.w;
  }
  plane.Gradients(v[0]->s, v[1]->s, v[2]->s, &sh.dsdx, &sh.dsdy);
  plane.Gradients(v[0]->t, v[1]->t, v[2]->t, &sh.dtdx, &sh.dtdy);
  plane.Gradients(v[0]->q, v[1]->q, v[2]->q, &sh.dqdx, &sh.dqdy);
  // rho reads the s, t, q gradients just stored.
  for (int i = 0; i < 3; i++) {
    const GLfloat rho = gc->procs.calcPolygonRho
                            ? gc->procs.calcPolygonRho(gc, &gc->polygon.edges, v[i]->s, v[i]->t,
                                                       v[i]->q)
                            : 0.0f;
    v[i]->rho = rho * v[i]->q;
  }
  plane.Gradients(v[0]->rho, v[1]->rho, v[2]->rho, &sh.drhodx, &sh.drhody);
}

}  // namespace tri_prepare
