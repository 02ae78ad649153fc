// The generic triangle fill: plane gradients of every iterated parameter,
// then the rows of the two sub-triangles split at the middle vertex. A pixel
// is drawn when its centre lies inside, or on the top or right edge.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_pgdraw.h"
#include "raster/s_triangle.h"

namespace {

// Beyond this floats keep no fraction of a pixel, and the walk would take
// more rows than any drawable has; NaN fails the test too.
constexpr GLfloat kMaxWindowCoord = 16777216.0f;

bool Walkable(const GlVertex *v) {
  return fabsf(v->window.x) <= kMaxWindowCoord && fabsf(v->window.y) <= kMaxWindowCoord;
}

// Colours to colour-buffer units, by component name (the rescale words are
// stored red, blue, green, alpha).
GlColor Rescaled(const GlConstants &k, const GlColor &c) {
  return {c.r * k.redRescale, c.g * k.greenRescale, c.b * k.blueRescale, c.a * k.alphaRescale};
}

// A working copy of a vertex: pixel centres at whole numbers, z in
// depth-buffer units, colour rescaled. The caller's vertex is never written.
struct Prepared {
  GlVertex v;
  GlColor color;
  GLfloat fog, rho;
  GLfloat s, t, q;
};

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

// Gradients of a parameter over the triangle, from its values at the
// sorted vertices and the 1/area terms.
struct Plane {
  GLfloat t1, t2, t3, t4;  // dyBC, dyAC, dxAC, dxBC over the area
  void Gradients(GLfloat pMin, GLfloat pMid, GLfloat pMax, GLfloat *dpdx, GLfloat *dpdy) const {
    const GLfloat dpAC = pMin - pMax, dpBC = pMid - pMax;
    *dpdx = dpAC * t1 - dpBC * t2;
    *dpdy = dpBC * t3 - dpAC * t4;
  }
};

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

}  // namespace

void GLFASTCALL __glFillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  if (!Walkable(a) || !Walkable(b) || !Walkable(c)) return;
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  Prepared pa, pb, pc;
  Prepare(gc, a, &pa);
  Prepare(gc, b, &pb);
  Prepare(gc, c, &pc);

  // Sort by y; ties may come out either way.
  Prepared *min = &pa, *mid = &pb, *max = &pc, *swap;
  if (min->v.window.y > mid->v.window.y) swap = min, min = mid, mid = swap;
  if (mid->v.window.y > max->v.window.y) swap = mid, mid = max, max = swap;
  if (min->v.window.y > mid->v.window.y) swap = min, min = mid, mid = swap;
  const GlCoord &wMin = min->v.window, &wMid = mid->v.window, &wMax = max->v.window;

  const GLfloat dxAC = wMin.x - wMax.x, dxBC = wMid.x - wMax.x;
  const GLfloat dyAC = wMin.y - wMax.y, dyBC = wMid.y - wMax.y;
  const GLfloat area = dxAC * dyBC - dyAC * dxBC;
  // The front end measured the area with another vertex order; a zero here
  // would make every gradient NaN.
  if (area == 0.0f) return;
  const int32_t iyMin = __glFloorToInt(wMin.y);
  const int32_t iyMid = __glFloorToInt(wMid.y);
  const int32_t iyMax = __glFloorToInt(wMax.y);
  if (iyMin == iyMax) return;  // no row centre inside
  const bool longEdgeLeft = !signbit(area);
  const GLfloat oneOverArea = 1.0f / area;
  const Plane plane = {dyBC * oneOverArea, dyAC * oneOverArea, dxAC * oneOverArea,
                       dxBC * oneOverArea};

  SetColors(gc, plane, min, mid, max);
  Prepared *sorted[3] = {min, mid, max};
  if (flags & __GL_SHADE_TEXTURE) SetTexture(gc, plane, sorted);
  if (flags & __GL_SHADE_DEPTH_ITER) {
    plane.Gradients(wMin.z, wMid.z, wMax.z, &sh.dzdxFloat, &sh.dzdyFloat);
    sh.dzdx = DepthStep(sh.dzdxFloat);
    sh.dzdxBig = int32_t(uint32_t(sh.dzdx) << 5);
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG) {
    const bool eye = gc->state.hints.fog == GL_NICEST;
    for (Prepared *p : sorted) p->fog = eye ? p->v.eye.z : p->v.fog;
    plane.Gradients(min->fog, mid->fog, max->fog, &sh.dfdx, &sh.dfdy);
  }

  GlEdgeWalker &edges = gc->polygon.edges;
  const GLfloat dy0 = GLfloat(iyMin + 1) - wMin.y;
  const GLfloat dy1 = GLfloat(iyMid + 1) - wMid.y;
  const GLfloat dxdyAC = dxAC / dyAC;
  if (longEdgeLeft) {
    __glSnapXLeft(gc, wMin.x + dy0 * dxdyAC, dxdyAC);
    SetInitialParameters(gc, &min->v, min->v.color, min->fog, min->rho,
                         GLfloat(edges.left.x + 1) - wMin.x, dy0);
    if (iyMid != iyMin) {
      const GLfloat dxdyAB = (wMin.x - wMid.x) / (wMin.y - wMid.y);
      __glSnapXRight(&edges.right, wMin.x + dy0 * dxdyAB, dxdyAB);
      FillSubTriangle(gc, iyMin, iyMid);
    }
    if (iyMax != iyMid) {
      const GLfloat dxdyBC = dxBC / dyBC;
      __glSnapXRight(&edges.right, wMid.x + dy1 * dxdyBC, dxdyBC);
      FillSubTriangle(gc, iyMid, iyMax);
    }
  } else {
    __glSnapXRight(&edges.right, wMin.x + dy0 * dxdyAC, dxdyAC);
    if (iyMid != iyMin) {
      const GLfloat dxdyAB = (wMin.x - wMid.x) / (wMin.y - wMid.y);
      __glSnapXLeft(gc, wMin.x + dy0 * dxdyAB, dxdyAB);
      SetInitialParameters(gc, &min->v, min->v.color, min->fog, min->rho,
                           GLfloat(edges.left.x + 1) - wMin.x, dy0);
      FillSubTriangle(gc, iyMin, iyMid);
    }
    if (iyMax != iyMid) {
      const GLfloat dxdyBC = dxBC / dyBC;
      __glSnapXLeft(gc, wMid.x + dy1 * dxdyBC, dxdyBC);
      SetInitialParameters(gc, &mid->v, mid->v.color, mid->fog, mid->rho,
                           GLfloat(edges.left.x + 1) - wMid.x, dy1);
      FillSubTriangle(gc, iyMid, iyMax);
    }
  }
}
