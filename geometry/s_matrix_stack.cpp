// The three matrix stacks: push, pop and load-identity of each, and the
// projection stamps that tell whether a model-view composite is current.
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"

namespace {

// Rebuilds the top model-view composite from the top projection when it was
// computed with another one.
void CatchUpComposite(GlContext *gc) {
  GlTransform *mv = gc->transform.modelView;
  GlTransform *p = gc->transform.projection;
  if (mv->sequence != p->sequence) {
    mv->sequence = p->sequence;
    gc->procs.multMatrix(&mv->mvp, &mv->matrix, &p->matrix);
  }
}

}  // namespace

void __glProjectionChanged(GlContext *gc) {
  GlTransform *mv = gc->transform.modelView;
  GlTransform *p = gc->transform.projection;
  __glStampProjection(gc, p);
  mv->sequence = p->sequence;
  gc->procs.multMatrix(&mv->mvp, &mv->matrix, &p->matrix);
  gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);
}

void __glModelViewChanged(GlContext *gc) {
  __GL_ASSERT(gc->beginMode != __GL_IN_BEGIN, "__gl_beginMode != __GL_IN_BEGIN", "s_xform");
  __glDelayValidate(gc, __GL_DIRTY_TRANSFORM);
}

void __glInvalidateSequenceNumbers(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  for (int32_t i = 0; i < gc->constants.maxModelViewStackDepth; ++i)
    tm->modelViewStack[i].sequence = 0;
  for (int32_t i = 0; i < gc->constants.maxProjectionStackDepth; ++i)
    tm->projectionStack[i].sequence = uint32_t(i) + 1;
  tm->projectionSequence = uint32_t(gc->constants.maxProjectionStackDepth) + 1;
}

void __glStampProjection(GlContext *gc, GlTransform *projection) {
  if (++gc->transform.projectionSequence == 0)
    __glInvalidateSequenceNumbers(gc);  // numbers the top by its position
  else
    projection->sequence = gc->transform.projectionSequence;
}

// ---- Push ----

void __glPushModelViewMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->modelView == tm->modelViewStack + gc->constants.maxModelViewStackDepth - 1) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  tm->modelView[1] = tm->modelView[0];
  ++tm->modelView;
}

void __glPushProjectionMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->projection == tm->projectionStack + gc->constants.maxProjectionStackDepth - 1) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  tm->projection[1].matrix = tm->projection[0].matrix;
  tm->projection[1].sequence = tm->projection[0].sequence;
  ++tm->projection;
}

void __glPushTextureMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->texture == tm->textureStack + gc->constants.maxTextureStackDepth - 1) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  tm->texture[1].matrix = tm->texture[0].matrix;
  ++tm->texture;
}

// ---- Pop ----

void __glPopModelViewMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->modelView == tm->modelViewStack) {
    __glSetError(GL_STACK_UNDERFLOW);
    return;
  }
  --tm->modelView;
  CatchUpComposite(gc);
  gc->procs.pickMvpMatrixProcs(gc, &tm->modelView->mvp);
  __glModelViewChanged(gc);
}

void __glPopProjectionMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->projection == tm->projectionStack) {
    __glSetError(GL_STACK_UNDERFLOW);
    return;
  }
  --tm->projection;
  CatchUpComposite(gc);
  gc->procs.pickMvpMatrixProcs(gc, &tm->modelView->mvp);
}

void __glPopTextureMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (tm->texture == tm->textureStack) {
    __glSetError(GL_STACK_UNDERFLOW);
    return;
  }
  --tm->texture;
}

// ---- Load identity ----

void __glLoadIdentityModelViewMatrix(GlContext *gc) {
  GlTransform *mv = gc->transform.modelView;
  gc->procs.makeIdentity(&mv->matrix);
  gc->procs.makeIdentity(&mv->inverseTranspose);
  gc->procs.pickMatrixProcs(gc, &mv->matrix);
  gc->procs.pickInvTransposeProcs(gc, &mv->inverseTranspose);
  mv->stale = 0;
  __glModelViewChanged(gc);
  mv->sequence = gc->transform.projection->sequence;
  gc->procs.multMatrix(&mv->mvp, &mv->matrix, &gc->transform.projection->matrix);
  gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);
}

void __glLoadIdentityProjectionMatrix(GlContext *gc) {
  GlTransform *p = gc->transform.projection;
  gc->procs.makeIdentity(&p->matrix);
  gc->procs.pickMatrixProcs(gc, &p->matrix);
  __glProjectionChanged(gc);
}

void __glLoadIdentityTextureMatrix(GlContext *gc) {
  GlTransform *t = gc->transform.texture;
  gc->procs.makeIdentity(&t->matrix);
  gc->procs.pickMatrixProcs(gc, &t->matrix);
}
