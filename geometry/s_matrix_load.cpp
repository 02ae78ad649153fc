// Loading and multiplying the top of the current mode's stack, and the
// multipliers that apply an operand in place.
#include "core/context.h"
#include "geometry/s_xform.h"

void __glPickMatrixType(GlMatrix *result, const GlMatrix *a, const GlMatrix *b) {
  result->matrixType = a->matrixType < b->matrixType ? a->matrixType : b->matrixType;
}

// target = operand x target in storage order: OpenGL's current x operand.
void __glMultiplyMatrix(GlContext *gc, GlMatrix *target, const void *operand) {
  const GlMatrix *m = static_cast<const GlMatrix *>(operand);
  gc->procs.multMatrix(target, m, target);
  __glPickMatrixType(target, target, m);
}

// Scale and translate act on the target directly: no operand matrix is
// built, and a type above 2D-without-rotation comes down to it.
void __glScaleMatrix(GlContext *gc, GlMatrix *target, const void *operand) {
  const GLfloat *v = static_cast<const GLfloat *>(operand);
  GLfloat *m = target->matrix;
  for (int j = 0; j < 4; ++j) {
    m[j] *= v[0];
    m[4 + j] *= v[1];
    m[8 + j] *= v[2];
  }
  if (target->matrixType > __GL_MT_IS2DNR) target->matrixType = __GL_MT_IS2DNR;
}

void __glTranslateMatrix(GlContext *gc, GlMatrix *target, const void *operand) {
  const GLfloat *v = static_cast<const GLfloat *>(operand);
  long double x = v[0], y = v[1], z = v[2];
  GLfloat *m = target->matrix;
  for (int j = 0; j < 4; ++j)
    m[12 + j] = GLfloat(m[j] * x + m[4 + j] * y + m[8 + j] * z + m[12 + j]);
  if (target->matrixType > __GL_MT_IS2DNR) target->matrixType = __GL_MT_IS2DNR;
}

void __glDoLoadMatrix(GlContext *gc, const GlMatrix *m) {
  GlTransformMachine *tm = &gc->transform;
  switch (gc->state.transform.matrixMode) {
    case GL_PROJECTION:
      gc->procs.copyMatrix(&tm->projection->matrix, m);
      gc->procs.pickMatrixProcs(gc, &tm->projection->matrix);
      __glProjectionChanged(gc);
      break;
    case GL_TEXTURE:
      gc->procs.copyMatrix(&tm->texture->matrix, m);
      gc->procs.pickMatrixProcs(gc, &tm->texture->matrix);
      break;
    default: {
      GlTransform *mv = tm->modelView;
      gc->procs.copyMatrix(&mv->matrix, m);
      gc->procs.pickMatrixProcs(gc, &mv->matrix);
      mv->stale = 1;
      __glModelViewChanged(gc);
      __glRebuildComposite(gc);
      break;
    }
  }
}

void __glDoMultMatrix(GlContext *gc, const void *operand, GlMatrixMultiplier multiply) {
  GlTransformMachine *tm = &gc->transform;
  switch (gc->state.transform.matrixMode) {
    case GL_PROJECTION:
      multiply(gc, &tm->projection->matrix, operand);
      gc->procs.pickMatrixProcs(gc, &tm->projection->matrix);
      __glProjectionChanged(gc);
      break;
    case GL_TEXTURE:
      multiply(gc, &tm->texture->matrix, operand);
      gc->procs.pickMatrixProcs(gc, &tm->texture->matrix);
      break;
    default: {
      // The composite is updated by the same operand, not rebuilt, and
      // keeps its stamp.
      GlTransform *mv = tm->modelView;
      multiply(gc, &mv->matrix, operand);
      gc->procs.pickMatrixProcs(gc, &mv->matrix);
      mv->stale = 1;
      __glModelViewChanged(gc);
      multiply(gc, &mv->mvp, operand);
      gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);
      break;
    }
  }
}
