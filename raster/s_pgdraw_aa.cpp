// The antialiased triangle fill. The plain fill's set-up and walker carry
// the shader; every row's pixels are sampled against the triangle snapped to
// 1/8 pixel. Partly covered pixels go one by one to the fragment store with
// their coverage; the fully covered run of a row goes to processSpan with
// the plain fill's values at its first pixel.
#include <math.h>

#include <initializer_list>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_convert.h"
#include "raster/s_fog.h"
#include "raster/s_pgdraw.h"
#include "raster/s_pgdraw_aa.h"
#include "raster/s_pgdraw_prepare.h"
#include "raster/s_point.h"
#include "raster/s_point_prepare.h"
#include "raster/s_triangle.h"

using namespace tri_prepare;
using namespace aa_triangle;

namespace {

constexpr double kSnap = 8.0;  // 1/8 pixel

struct AAFill {
  AATriangle tri;
  double snapped[3][2];  // window coordinates
  GlColor flat;
  GlFragmentStoreProc store;
};

// The x extent of the triangle between two heights; false when it has
// none there.
bool Extent(const double v[3][2], double yLo, double yHi, double *xLo, double *xHi) {
  double lo = INFINITY, hi = -INFINITY;
  auto take = [&](double x) { lo = fmin(lo, x), hi = fmax(hi, x); };
  for (int i = 0; i < 3; i++) {
    const double *p = v[i], *q = v[(i + 1) % 3];
    if (p[1] >= yLo && p[1] <= yHi) take(p[0]);
    for (double y : {yLo, yHi}) {
      if ((p[1] < y && q[1] > y) || (p[1] > y && q[1] < y))
        take(p[0] + (q[0] - p[0]) * (y - p[1]) / (q[1] - p[1]));
    }
  }
  *xLo = lo, *xHi = hi;
  return lo <= hi;
}

bool StippleAlive(const GlContext *gc, int32_t x, int32_t y) {
  const GlConstants &k = gc->constants;
  const int32_t row = y - k.viewportYAdjust;
  const int32_t r = k.yInverted ? (k.height - row - 1) & 31 : row & 31;
  const uint32_t bit = 31 - (uint32_t(x - k.viewportXAdjust) & 31);
  return (gc->polygon.stipple[r] >> bit) & 1;
}

// One fragment at the evaluation point (x, y) that Coverage gave.
void Emit(AAFill &f, GLfloat x, GLfloat y, GLfloat coverage) {
  GlContext *gc = f.tri.gc;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  GlFragment frag{};
  frag.x = __glFloorToInt(x);
  frag.y = __glFloorToInt(y);
  if ((flags & __GL_SHADE_STIPPLE) && !StippleAlive(gc, frag.x, frag.y)) return;
  const AATriangle &t = f.tri;
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    frag.color.r = FindP(&t.r, x, y);
    if (flags & __GL_SHADE_RGB)
      frag.color.g = FindP(&t.g, x, y), frag.color.b = FindP(&t.b, x, y),
      frag.color.a = FindP(&t.a, x, y);
  } else {
    frag.color = f.flat;
  }
  if ((flags & __GL_SHADE_TEXTURE) && gc->procs.texture) {
    const GLfloat qInv = 1.0f / FindP(&t.q, x, y);
    gc->procs.texture(gc, &frag.color, FindP(&t.s, x, y) * qInv, FindP(&t.t, x, y) * qInv,
                      FindP(&t.rho, x, y) * qInv);
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG) __glFogFragmentSlow(gc, &frag, FindP(&t.fog, x, y));
  if (flags & __GL_SHADE_RGB)
    frag.color.a *= coverage;
  else
    frag.color.r = __glBuildAntiAliasIndex(frag.color.r, coverage);
  if (flags & __GL_SHADE_DEPTH_ITER) frag.z = __glTruncateToUint(FindP(&t.z, x, y));
  f.store(gc->drawBuffer, &frag);
}

void *Offset(void *p, int64_t bytes) {
  return reinterpret_cast<void *>(reinterpret_cast<uintptr_t>(p) + uintptr_t(bytes));
}

// The plain fill's values n pixels right of the left edge's first pixel.
void Advance(GlContext *gc, int32_t n) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  const GLfloat k = GLfloat(n);
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    sh.r += k * sh.drdx;
    if (flags & __GL_SHADE_RGB) sh.g += k * sh.dgdx, sh.b += k * sh.dbdx, sh.a += k * sh.dadx;
  }
  if (flags & __GL_SHADE_TEXTURE)
    sh.s += k * sh.dsdx, sh.t += k * sh.dtdx, sh.q += k * sh.dqdx, sh.rho += k * sh.drhodx;
  if (flags & __GL_SHADE_FRAGMENT_FOG) sh.fog += k * sh.dfdx;
  if (flags & __GL_SHADE_DEPTH_ITER) sh.z += uint32_t(n) * uint32_t(sh.dzdx);
  if (flags & __GL_SHADE_POLYGON_OFFSET) {
    // As the offset span steps: by the whole step, also past 2^31.
    const GLfloat step = DepthStepValue(sh.dzdxFloat);
    sh.offsetZ += k * step;
    if (sh.dzdxFloat != 0.0f) sh.offsetRangeEnd -= k * step / sh.dzdxFloat;
  }
  if ((flags & __GL_SHADE_DEPTH_TEST) && gc->depthBuffer.buf.drawableBuf)
    sh.zbuf = Offset(sh.zbuf, int64_t(n) * gc->depthBuffer.buf.drawableBuf->elementSize);
  if (flags & __GL_SHADE_STENCIL_TEST) sh.sbuf = static_cast<uint8_t *>(Offset(sh.sbuf, n));
}

// One row: its fringe fragments, and with the walker's edges its interior.
void Row(AAFill &f, int32_t iy, const GlEdge *left, const GlEdge *right) {
  GlContext *gc = f.tri.gc;
  const int32_t *box = gc->transform.clipBox;
  if (iy < box[1] || iy >= box[3]) return;  // the store would clip it all
  AACoverage &cov = f.tri.coverage;
  const double half = 0.5 / cov.n;
  double xLo, xHi;
  if (!Extent(f.snapped, iy + half, iy + 1 - half, &xLo, &xHi)) return;
  // Pixels whose sample columns reach the extent, within the clip box.
  const int32_t i0 = __glFloorToInt(fmax(xLo - 1.0, double(box[0]) - 1.0));
  const int32_t i1 = __glFloorToInt(fmin(xHi + 1.0, double(box[2]) + 1.0));
  int32_t start = 0, end = -1;
  bool interior = false;
  for (int32_t i = i0; i <= i1; i++) {
    GLfloat x = GLfloat(i) + 0.5f, y = GLfloat(iy) + 0.5f;
    const GLfloat c = Coverage(f.tri.edges, &x, &y, &cov);
    if (c == 0.0f) continue;
    // Fully covered pixels inside the plain fill's span make the interior.
    if (cov.full && left && i >= left->x && i < right->x) {
      if (!interior) start = i, interior = true;
      end = i;
      continue;
    }
    Emit(f, x, y, c);
  }
  if (!interior || !gc->procs.span.processSpan) return;
  GlShader &sh = gc->polygon.shader;
  const GlShader saved = sh;
  Advance(gc, start - left->x);
  sh.x = start;
  sh.y = iy;
  sh.length = end - start + 1;
  gc->procs.span.processSpan(gc);
  sh = saved;
}

void FillAASubTriangle(void *user, GlContext *gc, int32_t iyStart, int32_t iyEnd) {
  AAFill &f = *static_cast<AAFill *>(user);
  GlEdge left = gc->polygon.edges.left, right = gc->polygon.edges.right;
  StartSubTriangleRows(gc, iyStart);
  for (int32_t iy = iyStart; iy < iyEnd; iy++) {
    Row(f, iy, &left, &right);
    StepRow(gc, &left, &right);
  }
  gc->polygon.edges.left = left;
  gc->polygon.edges.right = right;
}

void SetPlane(AAPlane *plane, Prepared *const v[3], GLfloat p0, GLfloat p1, GLfloat p2) {
  const GLfloat x[3] = {v[0]->v.window.x, v[1]->v.window.x, v[2]->v.window.x};
  const GLfloat y[3] = {v[0]->v.window.y, v[1]->v.window.y, v[2]->v.window.y};
  const GLfloat p[3] = {p0, p1, p2};
  FindPlaneEquation(plane, x, y, p);
  // An area that rounds to 0 here: the parameter stays at its first value.
  if (!isfinite(plane->a) || !isfinite(plane->b) || !isfinite(plane->d))
    *plane = {0.0f, 0.0f, 1.0f, -p0};
}

void SetPlanes(AAFill &f, Prepared *const v[3]) {
  GlContext *gc = f.tri.gc;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  AATriangle &t = f.tri;
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    GlColor c[3];
    for (int i = 0; i < 3; i++) c[i] = v[i]->v.color ? *v[i]->v.color : GlColor{0, 0, 0, 0};
    SetPlane(&t.r, v, c[0].r, c[1].r, c[2].r);
    SetPlane(&t.g, v, c[0].g, c[1].g, c[2].g);
    SetPlane(&t.b, v, c[0].b, c[1].b, c[2].b);
    SetPlane(&t.a, v, c[0].a, c[1].a, c[2].a);
  }
  if (flags & __GL_SHADE_DEPTH_ITER)
    SetPlane(&t.z, v, v[0]->v.window.z, v[1]->v.window.z, v[2]->v.window.z);
  if (flags & __GL_SHADE_TEXTURE) {
    SetPlane(&t.s, v, v[0]->s, v[1]->s, v[2]->s);
    SetPlane(&t.t, v, v[0]->t, v[1]->t, v[2]->t);
    SetPlane(&t.q, v, v[0]->q, v[1]->q, v[2]->q);
    SetPlane(&t.rho, v, v[0]->rho, v[1]->rho, v[2]->rho);
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG)
    SetPlane(&t.fog, v, v[0]->v.eye.z, v[1]->v.eye.z, v[2]->v.eye.z);
}

}  // namespace

void GLFASTCALL __glFillAntiAliasedTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                            GlVertex *c) {
  if (!Walkable(a) || !Walkable(b) || !Walkable(c) || !gc->drawBuffer) return;
  Prepared pa, pb, pc;
  Prepare(gc, a, &pa);
  Prepare(gc, b, &pb);
  Prepare(gc, c, &pc);
  Prepared *sorted[3] = {&pa, &pb, &pc};

  AAFill f;
  f.tri.gc = gc;
  // Snapped to 1/8 pixel (the prepared + 0.5 positions), then back to window
  // coordinates; a snapped area of 0 draws nothing.
  for (int i = 0; i < 3; i++) {
    f.snapped[i][0] = floor(double(sorted[i]->v.window.x) * kSnap) / kSnap - 0.5;
    f.snapped[i][1] = floor(double(sorted[i]->v.window.y) * kSnap) / kSnap - 0.5;
  }
  const double(&s)[3][2] = f.snapped;
  const double area = (s[1][0] - s[0][0]) * (s[2][1] - s[0][1]) -
                      (s[2][0] - s[0][0]) * (s[1][1] - s[0][1]);
  if (area == 0.0) return;
  for (int i = 0; i < 3; i++) FindLineEquation(&f.tri.edges[i], s[i], s[(i + 1) % 3], s[(i + 2) % 3]);
  ComputeCoverageStuff(&f.tri.coverage, gc->state.hints.polygonSmooth == GL_NICEST ? 8 : 4);

  TriangleSetUp t;
  if (!SetUpTriangle(gc, sorted, &t)) return;
  const GlShader &sh = gc->polygon.shader;
  f.flat = {sh.r, sh.g, sh.b, sh.a};
  f.store = point_prepare::ClippedStore(gc);
  SetPlanes(f, sorted);

  // The rows next to the walker's hold only partly covered pixels.
  Row(f, t.iyMin - 1, nullptr, nullptr);
  if (t.iyMin != t.iyMax) WalkTriangle(gc, sorted, t, FillAASubTriangle, &f);
  Row(f, t.iyMax, nullptr, nullptr);
}
