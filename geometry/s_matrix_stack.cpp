// The three matrix stacks: push, pop and load-identity of each, and the
// projection stamps that tell whether a model-view composite is current.
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"

namespace {

// After a pop of either stack: the top model-view composite is rebuilt only
// when it was computed with another projection; its procedures are picked
// again either way.
void CompositeAfterPop(GlContext *gc) {
  GlTransform *mv = gc->transform.modelView;
  if (mv->sequence != gc->transform.projection->sequence)
    __glRebuildComposite(gc);
  else
    gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);
}

// False, with GL_STACK_OVERFLOW recorded, when the top is the last element.
bool CanPush(const GlTransform *top, const GlTransform *stack, int32_t depth) {
  if (top != stack + depth - 1) return true;
  __glSetError(GL_STACK_OVERFLOW);
  return false;
}

// False, with GL_STACK_UNDERFLOW recorded, when the top is the first element.
bool CanPop(const GlTransform *top, const GlTransform *stack) {
  if (top != stack) return true;
  __glSetError(GL_STACK_UNDERFLOW);
  return false;
}

}  // namespace

void __glRebuildComposite(GlContext *gc) {
  GlTransform *mv = gc->transform.modelView;
  GlTransform *p = gc->transform.projection;
  mv->sequence = p->sequence;
  gc->procs.multMatrix(&mv->mvp, &mv->matrix, &p->matrix);
  gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);
}

void __glProjectionChanged(GlContext *gc) {
  __glStampProjection(gc, gc->transform.projection);
  __glRebuildComposite(gc);
}

void __glIdentityModelView(GlContext *gc, GlTransform *mv) {
  gc->procs.makeIdentity(&mv->matrix);
  gc->procs.makeIdentity(&mv->inverseTranspose);
  gc->procs.pickMatrixProcs(gc, &mv->matrix);
  gc->procs.pickInvTransposeProcs(gc, &mv->inverseTranspose);
  mv->stale = 0;
  __glModelViewChanged(gc);
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
  if (!CanPush(tm->modelView, tm->modelViewStack, gc->constants.maxModelViewStackDepth)) return;
  tm->modelView[1] = tm->modelView[0];
  ++tm->modelView;
}

void __glPushProjectionMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (!CanPush(tm->projection, tm->projectionStack, gc->constants.maxProjectionStackDepth)) return;
  tm->projection[1].matrix = tm->projection[0].matrix;
  tm->projection[1].sequence = tm->projection[0].sequence;
  ++tm->projection;
}

void __glPushTextureMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (!CanPush(tm->texture, tm->textureStack, gc->constants.maxTextureStackDepth)) return;
  tm->texture[1].matrix = tm->texture[0].matrix;
  ++tm->texture;
}

// ---- Pop ----

void __glPopModelViewMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (!CanPop(tm->modelView, tm->modelViewStack)) return;
  --tm->modelView;
  CompositeAfterPop(gc);
  __glModelViewChanged(gc);
}

void __glPopProjectionMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (!CanPop(tm->projection, tm->projectionStack)) return;
  --tm->projection;
  CompositeAfterPop(gc);
}

void __glPopTextureMatrix(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  if (!CanPop(tm->texture, tm->textureStack)) return;
  --tm->texture;
}

// ---- Load identity ----

void __glLoadIdentityModelViewMatrix(GlContext *gc) {
  __glIdentityModelView(gc, gc->transform.modelView);
  __glRebuildComposite(gc);
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
