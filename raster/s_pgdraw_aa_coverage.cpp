// The antialiased triangle's geometry: edge lines, parameter planes and the
// sampled coverage of one pixel.
#include "core/context.h"
#include "raster/s_pgdraw_aa.h"

namespace aa_triangle {

void FindLineEquation(AALine *edge, const double p[2], const double q[2], const double r[2]) {
  // The second point has the larger y, or the larger x on equal y.
  const bool swap = p[1] > q[1] || (p[1] == q[1] && p[0] > q[0]);
  const double *first = swap ? q : p, *second = swap ? p : q;
  const double dx = second[0] - first[0], dy = second[1] - first[1];
  edge->a = -dy;
  edge->b = dx;
  edge->c = first[0] * dy - first[1] * dx;
  edge->inside = edge->a * r[0] + edge->b * r[1] + edge->c >= 0.0;
}

void FindPlaneEquation(AAPlane *plane, const GLfloat x[3], const GLfloat y[3],
                       const GLfloat p[3]) {
  const GLfloat A = (p[2] - p[0]) * (y[1] - y[0]) - (y[2] - y[0]) * (p[1] - p[0]);
  const GLfloat B = (x[2] - x[0]) * (p[1] - p[0]) - (p[2] - p[0]) * (x[1] - x[0]);
  const GLfloat C = (y[2] - y[0]) * (x[1] - x[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  plane->a = A / C;
  plane->b = B / C;
  plane->one = 1.0f;
  plane->d = -((x[0] - 0.5f) * A + (y[0] - 0.5f) * B + p[0] * C) / C;
}

void ComputeCoverageStuff(AACoverage *coverage, int32_t n) {
  coverage->n = n;
  coverage->count = n * n;
  coverage->dx = coverage->dy = 1.0f / GLfloat(n);
  coverage->weight = 1.0f / GLfloat(n * n);
  coverage->full = 0;
  coverage->firstX = coverage->firstY = 0.5f / GLfloat(n) - 0.5f;
  coverage->lastX = coverage->lastY = 0.5f - 0.5f / GLfloat(n);
}

GLfloat FindP(const AAPlane *plane, GLfloat x, GLfloat y) {
  return -(plane->a * x + plane->b * y + plane->d);
}

GLfloat Coverage(const AALine edges[3], GLfloat *x, GLfloat *y, AACoverage *coverage) {
  const int32_t n = coverage->n;
  int32_t count = 0;
  double minX = 999999.0, maxX = -1.0, minY = 999999.0, maxY = -1.0;
  for (int32_t l = 0; l < n; l++) {
    const double sy = double(*y) + double(coverage->firstY) + double(l) / n;
    for (int32_t k = 0; k < n; k++) {
      const double sx = double(*x) + double(coverage->firstX) + double(k) / n;
      bool in = true;
      for (int e = 0; e < 3 && in; e++) {
        const AALine &edge = edges[e];
        in = (edge.a * sx + edge.b * sy + edge.c >= 0.0) == (edge.inside != 0);
      }
      if (!in) continue;
      count++;
      if (sx < minX) minX = sx;
      if (sx > maxX) maxX = sx;
      if (sy < minY) minY = sy;
      if (sy > maxY) maxY = sy;
    }
  }
  if (count == 0) {
    coverage->full = 0;
    return 0.0f;
  }
  *x = GLfloat((minX + maxX) * 0.5);
  *y = GLfloat((minY + maxY) * 0.5);
  if (count == coverage->count) {
    coverage->full = 1;
    return 1.0f;
  }
  coverage->full = 0;
  return GLfloat(count) * coverage->weight;
}

}  // namespace aa_triangle
