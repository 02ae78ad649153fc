// Set-up, reset and release of the transform state. Everything is allocated
// at creation, where a failure can still fail the creation cleanly; the
// reset of the first binding only fills it in.
#include <string.h>

#include "core/context.h"
#include "geometry/s_xform.h"

namespace {

const GlCoord kCullDefault = {0.0f, 0.0f, 1.0f, 0.0f};

int32_t ClipPoolSize(const GlContext *gc) { return 2 * gc->constants.numberOfClipPlanes + 12; }

template <typename T>
bool Allocate(GlContext *gc, T **p, int32_t count) {
  *p = count > 0 ? static_cast<T *>(gc->imports.calloc(gc, size_t(count), sizeof(T))) : nullptr;
  return *p != nullptr;
}

template <typename T>
void Release(GlContext *gc, T **p) {
  if (*p) gc->imports.free(gc, *p);
  *p = nullptr;
}

}  // namespace

GLbool8 __glEarlyInitTransformState(GlContext *gc) {
  const GlConstants *k = &gc->constants;
  GlTransformMachine *tm = &gc->transform;
  return Allocate(gc, &gc->state.transform.eyeClipPlanes, k->numberOfClipPlanes) &&
         Allocate(gc, &tm->modelViewStack, k->maxModelViewStackDepth) &&
         Allocate(gc, &tm->projectionStack, k->maxProjectionStackDepth) &&
         Allocate(gc, &tm->textureStack, k->maxTextureStackDepth) &&
         Allocate(gc, &tm->clipTemp, ClipPoolSize(gc));
}

void __glInitTransformState(GlContext *gc) {
  const GlConstants *k = &gc->constants;
  GlTransformMachine *tm = &gc->transform;
  // As new: every stamp 0 and the counter too, so the identity composite
  // built below is current; the clip planes (0, 0, 0, 0).
  memset(tm->modelViewStack, 0, sizeof(GlTransform) * size_t(k->maxModelViewStackDepth));
  memset(tm->projectionStack, 0, sizeof(GlTransform) * size_t(k->maxProjectionStackDepth));
  memset(tm->textureStack, 0, sizeof(GlTransform) * size_t(k->maxTextureStackDepth));
  memset(tm->clipTemp, 0, sizeof(GlVertex) * size_t(ClipPoolSize(gc)));
  memset(gc->state.transform.eyeClipPlanes, 0, sizeof(GlCoord) * size_t(k->numberOfClipPlanes));
  tm->projectionSequence = 0;

  gc->state.transform.matrixMode = GL_MODELVIEW;
  SetDepthRange(gc, 0.0, 1.0);

  GlTransform *mv = tm->modelView = tm->modelViewStack;
  gc->procs.makeIdentity(&mv->mvp);
  __glIdentityModelView(gc, mv);

  GlTransform *p = tm->projection = tm->projectionStack;
  gc->procs.makeIdentity(&p->matrix);
  gc->procs.pickMatrixProcs(gc, &p->matrix);
  gc->procs.pickMvpMatrixProcs(gc, &mv->mvp);

  GlTransform *t = tm->texture = tm->textureStack;
  gc->procs.makeIdentity(&t->matrix);
  gc->procs.pickMatrixProcs(gc, &t->matrix);

  tm->cullEyePos = kCullDefault;
  tm->cullObjPos = kCullDefault;
  tm->cullObjPosInForce = 0;

  for (int32_t i = 0; i < ClipPoolSize(gc); ++i) {
    GlVertex *v = &tm->clipTemp[i];
    v->color = &v->colors[__GL_FRONTFACE];
    v->has |= __GL_HAS_SIZE4;
  }

  gc->state.current.normal[2] = 1.0f;
}

void __glFreeTransformState(GlContext *gc) {
  GlTransformMachine *tm = &gc->transform;
  Release(gc, &gc->state.transform.eyeClipPlanes);
  Release(gc, &tm->modelViewStack);
  Release(gc, &tm->projectionStack);
  Release(gc, &tm->textureStack);
  Release(gc, &tm->clipTemp);
  tm->modelView = tm->projection = tm->texture = nullptr;
}
