// The 4x4 matrix helpers of the procedure table: copy, identity and product.
#include <string.h>

#include "geometry/s_xform.h"

void __glCopyMatrix(GlMatrix *dst, const GlMatrix *src) {
  // The destination keeps its own transform procedures.
  memmove(dst->matrix, src->matrix, sizeof dst->matrix);
  dst->matrixType = src->matrixType;
}

void __glMakeIdentity(GlMatrix *m) {
  memset(m->matrix, 0, sizeof m->matrix);
  m->matrix[0] = m->matrix[5] = m->matrix[10] = m->matrix[15] = 1.0f;
  m->matrixType = __GL_MT_IDENTITY;
}

// result = a x b in storage order: a point goes through a, then b. All of b
// and each row of a are read before the row of the result is stored, so the
// result may be either operand.
void __glMultMatrix(GlMatrix *result, const GlMatrix *a, const GlMatrix *b) {
  GLfloat bm[16];
  memcpy(bm, b->matrix, sizeof bm);
  for (int i = 0; i < 4; ++i) {
    long double a0 = a->matrix[4 * i], a1 = a->matrix[4 * i + 1];
    long double a2 = a->matrix[4 * i + 2], a3 = a->matrix[4 * i + 3];
    for (int j = 0; j < 4; ++j)
      result->matrix[4 * i + j] =
          GLfloat(a0 * bm[j] + a1 * bm[4 + j] + a2 * bm[8 + j] + a3 * bm[12 + j]);
  }
}
