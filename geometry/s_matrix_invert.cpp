// Inverse transposes: of the upper 3x3 block and the translation for affine
// matrices, of the whole 4x4 for general ones. A singular matrix leaves the
// destination's values as they were.
#include <math.h>
#include <string.h>

#include "core/context.h"
#include "geometry/s_xform.h"

namespace {

typedef long double Ext;

// 1/det rounded to single; false when the matrix has no usable inverse: a
// zero or NaN determinant, or one so small (or large) that its reciprocal is
// not a finite single, which would turn every element into infinities or
// NaNs.
bool Reciprocal(Ext det, GLfloat *inv) {
  if (det == 0 || isnan(det)) return false;
  GLfloat r = GLfloat(1.0L / det);
  if (!isfinite(r)) return false;
  *inv = r;
  return true;
}

// The affine case: only the 3x3 block A is inverted; each element is its
// cofactor in A times 1/det, which is the transpose of the inverse of A, and
// the translation goes to the fourth column so that a plane (a, b, c, d)
// transforms by the general four-component transform. The determinant takes
// the cofactors before their rounding, so that a singular block of whole
// numbers comes out exactly zero.
void InvertTransposeAffine(GlMatrix *dst, const GLfloat *m) {
  Ext c[9];
  c[0] = Ext(m[5]) * m[10] - Ext(m[6]) * m[9];
  c[1] = Ext(m[6]) * m[8] - Ext(m[4]) * m[10];
  c[2] = Ext(m[4]) * m[9] - Ext(m[5]) * m[8];
  c[3] = Ext(m[9]) * m[2] - Ext(m[10]) * m[1];
  c[4] = Ext(m[10]) * m[0] - Ext(m[8]) * m[2];
  c[5] = Ext(m[8]) * m[1] - Ext(m[9]) * m[0];
  c[6] = Ext(m[6]) * m[1] - Ext(m[5]) * m[2];
  c[7] = Ext(m[4]) * m[2] - Ext(m[6]) * m[0];
  c[8] = Ext(m[5]) * m[0] - Ext(m[4]) * m[1];
  Ext det = m[0] * c[0] + m[4] * c[3] + m[8] * c[6];
  GLfloat inv;
  if (!Reciprocal(det, &inv)) return;

  GLfloat d[16];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) d[4 * i + j] = GLfloat(c[3 * i + j]) * inv;
  d[12] = d[13] = d[14] = 0.0f;
  d[15] = 1.0f;
  for (int i = 0; i < 3; ++i)
    d[4 * i + 3] =
        GLfloat(-(Ext(d[4 * i]) * m[12] + Ext(d[4 * i + 1]) * m[13] + Ext(d[4 * i + 2]) * m[14]));
  memcpy(dst->matrix, d, sizeof d);
}

// The 2x2 minor of rows r0, r1 and columns c0, c1; rounded to single when
// `round` is set.
inline Ext Minor2(const GLfloat *m, int r0, int r1, int c0, int c1, bool round) {
  Ext v = Ext(m[4 * r0 + c0]) * m[4 * r1 + c1] - Ext(m[4 * r0 + c1]) * m[4 * r1 + c0];
  return round ? Ext(GLfloat(v)) : v;
}

// The cofactor of element (row, col), the 3x3 minor expanded along its first
// remaining row. The elements take it with its minors rounded to single; the
// determinant takes it unrounded, as in the affine case.
Ext Cofactor4(const GLfloat *m, int row, int col, bool round) {
  int rows[3], cols[3];
  for (int k = 0, n = 0; k < 4; ++k)
    if (k != row) rows[n++] = k;
  for (int k = 0, n = 0; k < 4; ++k)
    if (k != col) cols[n++] = k;
  Ext minor = m[4 * rows[0] + cols[0]] * Minor2(m, rows[1], rows[2], cols[1], cols[2], round) -
              m[4 * rows[0] + cols[1]] * Minor2(m, rows[1], rows[2], cols[0], cols[2], round) +
              m[4 * rows[0] + cols[2]] * Minor2(m, rows[1], rows[2], cols[0], cols[1], round);
  if (round) minor = GLfloat(minor);
  return (row + col) % 2 ? -minor : minor;
}

void InvertTransposeGeneral(GlMatrix *dst, const GLfloat *m) {
  Ext det = 0;
  for (int j = 0; j < 4; ++j) det += m[j] * Cofactor4(m, 0, j, false);
  GLfloat inv;
  if (!Reciprocal(det, &inv)) return;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) dst->matrix[4 * i + j] = GLfloat(Cofactor4(m, i, j, true)) * inv;
}

}  // namespace

void __glInvertTransposeMatrix(GlMatrix *dst, const GlMatrix *src) {
  GLfloat m[16];
  memcpy(m, src->matrix, sizeof m);  // the destination may be the source
  dst->matrixType = src->matrixType;
  if (src->matrixType == __GL_MT_GENERAL)
    InvertTransposeGeneral(dst, m);
  else
    InvertTransposeAffine(dst, m);
}

void __glComputeInverseTranspose(GlContext *gc, GlTransform *tr) {
  gc->procs.invertTransposeMatrix(&tr->inverseTranspose, &tr->matrix);
  gc->procs.pickInvTransposeProcs(gc, &tr->inverseTranspose);
  tr->stale = 0;
}
