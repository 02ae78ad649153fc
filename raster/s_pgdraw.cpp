// The generic triangle fill: plane gradients of every iterated parameter,
// then the rows of the two sub-triangles split at the middle vertex. A pixel
// is drawn when its centre lies inside, or on the top or right edge.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_pgdraw.h"
#include "raster/s_pgdraw_prepare.h"
#include "raster/s_triangle.h"

using namespace tri_prepare;

bool tri_prepare::SetUpTriangle(GlContext *gc, Prepared *sorted[3], TriangleSetUp *out) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  Prepared *min = sorted[0], *mid = sorted[1], *max = sorted[2], *swap;
  // Sort by y; ties may come out either way.
  if (min->v.window.y > mid->v.window.y) swap = min, min = mid, mid = swap;
  if (mid->v.window.y > max->v.window.y) swap = mid, mid = max, max = swap;
  if (min->v.window.y > mid->v.window.y) swap = min, min = mid, mid = swap;
  sorted[0] = min, sorted[1] = mid, sorted[2] = max;
  const GlCoord &wMin = min->v.window, &wMid = mid->v.window, &wMax = max->v.window;

  const GLfloat dxAC = wMin.x - wMax.x, dxBC = wMid.x - wMax.x;
  const GLfloat dyAC = wMin.y - wMax.y, dyBC = wMid.y - wMax.y;
  const GLfloat area = dxAC * dyBC - dyAC * dxBC;
  // The front end measured the area with another vertex order; a zero here
  // would make every gradient NaN.
  if (area == 0.0f) return false;
  out->iyMin = __glFloorToInt(wMin.y);
  out->iyMid = __glFloorToInt(wMid.y);
  out->iyMax = __glFloorToInt(wMax.y);
  out->longEdgeLeft = !signbit(area);
  const GLfloat oneOverArea = 1.0f / area;
  const Plane plane = {dyBC * oneOverArea, dyAC * oneOverArea, dxAC * oneOverArea,
                       dxBC * oneOverArea};

  SetColors(gc, plane, min, mid, max);
  if (flags & __GL_SHADE_TEXTURE) SetTexture(gc, plane, sorted);
  if (flags & __GL_SHADE_DEPTH_ITER) {
    plane.Gradients(wMin.z, wMid.z, wMax.z, &sh.dzdxFloat, &sh.dzdyFloat);
    sh.dzdx = DepthStep(sh.dzdxFloat);
    sh.dzdxBig = int32_t(uint32_t(sh.dzdx) << 5);
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG) {
    const bool eye = gc->state.hints.fog == GL_NICEST;
    for (int i = 0; i < 3; i++) sorted[i]->fog = eye ? sorted[i]->v.eye.z : sorted[i]->v.fog;
    plane.Gradients(min->fog, mid->fog, max->fog, &sh.dfdx, &sh.dfdy);
  }
  return true;
}

void tri_prepare::WalkTriangle(GlContext *gc, Prepared *const sorted[3], const TriangleSetUp &t,
                               SubTriangleRows rows, void *user) {
  const Prepared *min = sorted[0], *mid = sorted[1], *max = sorted[2];
  const GlCoord &wMin = min->v.window, &wMid = mid->v.window, &wMax = max->v.window;
  const GLfloat dxAC = wMin.x - wMax.x, dxBC = wMid.x - wMax.x;
  const GLfloat dyAC = wMin.y - wMax.y, dyBC = wMid.y - wMax.y;
  const int32_t iyMin = t.iyMin, iyMid = t.iyMid, iyMax = t.iyMax;
  GlEdgeWalker &edges = gc->polygon.edges;
  const GLfloat dy0 = GLfloat(iyMin + 1) - wMin.y;
  const GLfloat dy1 = GLfloat(iyMid + 1) - wMid.y;
  const GLfloat dxdyAC = dxAC / dyAC;
  if (t.longEdgeLeft) {
    __glSnapXLeft(gc, wMin.x + dy0 * dxdyAC, dxdyAC);
    SetInitialParameters(gc, &min->v, min->v.color, min->fog, min->rho,
                         GLfloat(edges.left.x + 1) - wMin.x, dy0);
    if (iyMid != iyMin) {
      const GLfloat dxdyAB = (wMin.x - wMid.x) / (wMin.y - wMid.y);
      __glSnapXRight(&edges.right, wMin.x + dy0 * dxdyAB, dxdyAB);
      rows(user, gc, iyMin, iyMid);
    }
    if (iyMax != iyMid) {
      const GLfloat dxdyBC = dxBC / dyBC;
      __glSnapXRight(&edges.right, wMid.x + dy1 * dxdyBC, dxdyBC);
      rows(user, gc, iyMid, iyMax);
    }
  } else {
    __glSnapXRight(&edges.right, wMin.x + dy0 * dxdyAC, dxdyAC);
    if (iyMid != iyMin) {
      const GLfloat dxdyAB = (wMin.x - wMid.x) / (wMin.y - wMid.y);
      __glSnapXLeft(gc, wMin.x + dy0 * dxdyAB, dxdyAB);
      SetInitialParameters(gc, &min->v, min->v.color, min->fog, min->rho,
                           GLfloat(edges.left.x + 1) - wMin.x, dy0);
      rows(user, gc, iyMin, iyMid);
    }
    if (iyMax != iyMid) {
      const GLfloat dxdyBC = dxBC / dyBC;
      __glSnapXLeft(gc, wMid.x + dy1 * dxdyBC, dxdyBC);
      SetInitialParameters(gc, &mid->v, mid->v.color, mid->fog, mid->rho,
                           GLfloat(edges.left.x + 1) - wMid.x, dy1);
      rows(user, gc, iyMid, iyMax);
    }
  }
}

namespace {

void PlainRows(void *, GlContext *gc, int32_t iyStart, int32_t iyEnd) {
  FillSubTriangle(gc, iyStart, iyEnd);
}

}  // namespace

void GLFASTCALL __glFillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  if (!Walkable(a) || !Walkable(b) || !Walkable(c)) return;
  Prepared pa, pb, pc;
  Prepare(gc, a, &pa);
  Prepare(gc, b, &pb);
  Prepare(gc, c, &pc);
  Prepared *sorted[3] = {&pa, &pb, &pc};
  TriangleSetUp t;
  if (!SetUpTriangle(gc, sorted, &t)) return;
  if (t.iyMin == t.iyMax) return;  // no row centre inside
  WalkTriangle(gc, sorted, t, PlainRows, nullptr);
}
