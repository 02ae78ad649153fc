#include "tests/geometry/xform/xform_fixture.h"

#include <stdlib.h>
#include <string.h>

#include "core/current.h"
#include "core/dispatch.h"
#include "geometry/s_xform.h"
#include "tests/support/counting_imports.h"

XformCounts &XformContext::counts() {
  static XformCounts c;
  return c;
}

XformContext::XformContext(DrawableSize size) {
  counts() = XformCounts();
  gc_ = static_cast<GlContext *>(CountingImports::imports.calloc(nullptr, 1, sizeof(GlContext)));
  GlContext *gc = gc_;
  gc->imports = CountingImports::imports;
  gc->renderMode = GL_RENDER;
  memcpy(&gc->dispatch, &__glImmedState, sizeof gc->dispatch);
  gc->dispatchState = &gc->dispatch;

  GlConstants *k = &gc->constants;
  k->half = 0.5f;
  k->one = 1.0f;
  k->numberOfClipPlanes = 6;
  k->maxViewportWidth = k->maxViewportHeight = 2048;
  k->viewportXAdjust = k->viewportYAdjust = 6144;
  k->fviewportXAdjust = k->fviewportYAdjust = 6144.0f;
  k->viewportEpsilon = kViewportEpsilon;
  k->depthScale = k->oneOverDepthScale = 1.0f;
  k->width = size.width;
  k->height = size.height;
  k->yInverted = size.yInverted;
  k->maxModelViewStackDepth = 32;
  k->maxProjectionStackDepth = 2;
  k->maxTextureStackDepth = 10;

  GlProcs *p = &gc->procs;
  p->copyMatrix = __glCopyMatrix;
  p->invertTransposeMatrix = __glInvertTransposeMatrix;
  p->makeIdentity = __glMakeIdentity;
  p->multMatrix = __glMultMatrix;
  p->computeInverseTranspose = __glComputeInverseTranspose;
  p->normalize = __glNormalize;
  p->pickMatrixProcs = __glGenericPickMatrixProcs;
  p->pickInvTransposeProcs = __glGenericPickInvTransposeProcs;
  p->pickMvpMatrixProcs = __glGenericPickMvpMatrixProcs;
  p->pickTransformProcs = __glGenericPickTransformProcs;
  p->pickVertexProcs = [](GlContext *) { counts().pickVertex++; };
  p->applyViewport = [](GlContext *gc) -> GLbool8 {
    counts().applyViewport++;
    __glUpdateViewport(gc);
    return 1;
  };
  p->applyScissor = [](GlContext *) -> GLbool8 {
    counts().applyScissor++;
    return 1;
  };
  p->computeClipBox = [](GlContext *gc) {
    counts().computeClipBox++;
    __glComputeClipBox(gc);
  };

  __glSetTLSCXValue(gc);
  if (!__glEarlyInitTransformState(gc)) abort();
  gc->beginMode = __GL_VALIDATE_PENDING;
  __glInitTransformState(gc);
  p->pickTransformProcs(gc);
  gc->state.viewport.width = size.width;
  gc->state.viewport.height = size.height;
  __glUpdateViewport(gc);
  __glComputeClipBox(gc);
  gc->dirtyMask = 0;
  gc->beginMode = __GL_NOT_IN_BEGIN;
  counts() = XformCounts();
}

XformContext::~XformContext() {
  __glSetTLSCXValue(&__wglPlaceholderContext);
  __glFreeTransformState(gc_);
  CountingImports::imports.free(nullptr, gc_);
}

GLenum XformContext::error() {
  GLenum e = gc_->error;
  gc_->error = GL_NO_ERROR;
  return e;
}
