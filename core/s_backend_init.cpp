// What the first binding of a context sets up: its buffer objects and its
// generic procedure table.
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_entry.h"
#include "core/s_nop.h"
#include "core/s_prim.h"
#include "core/s_validate.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"

namespace core {

void InitBuffers(GlContext *gc) {
  __glDelayValidate(gc, __GL_DIRTY_ALL);
  const GlModes &modes = gc->modes;
  gc->front = &gc->frontBuffer;
  gc->drawBuffer = gc->front;
  gc->readBuffer = gc->front;
  if (modes.doubleBufferMode) gc->back = &gc->backBuffer;
  void (*initColor)(GlColorBuffer *, GlContext *) =
      modes.colorIndexMode ? __glInitCI : __glInitRGB;
  initColor(gc->front, gc);
  if (gc->back) initColor(gc->back, gc);
  if (modes.haveAccumBuffer) __glInitAccum64(&gc->accumBuffer, gc);
  if (modes.haveDepthBuffer)
    __glInitDepth(&gc->depthBuffer, gc);
  else
    gc->depthBuffer.scale = __GL_NO_DEPTH_BUFFER_SCALE;
  if (modes.haveStencilBuffer) __glInitStencil8(&gc->stencilBuffer, gc);
  gc->obtainSLock = ObtainSLock;
  gc->releaseSLock = ReleaseSLock;
  gc->lockDevice = LockDevice;
  gc->unlockDevice = UnlockDevice;
}

// Pickers and slots whose procedures arrive with later subsystems hold
// no-ops until then, so that no caller tests a slot.
void InitFnPtrs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.flush = Flush;
  p.finish = Finish;
  p.waitIdle = WaitIdle;
  p.validate = __glGenericValidate;

  p.pickBlendProcs = __glNop1;
  p.pickTextureProcs = __glNop1;
  p.pickCalcTextureProcs = __glNop1;
  p.pickFogProcs = __glNop1;
  p.pickTransformProcs = __glGenericPickTransformProcs;
  p.pickPointProcs = __glNop1;
  p.pickLineProcs = __glNop1;
  p.pickTriangleProcs = __glNop1;
  p.pickRenderBitmapProcs = __glNop1;
  p.pickPixelProcs = __glNop1;
  p.pickClipProcs = __glNop1;
  p.pickParameterClipProcs = __glNop1;
  p.pickBufferProcs = __glNop1;
  p.pickStoreProcs = __glNop1;
  p.pickSpanProcs = __glNop1;
  p.pickVertexProcs = __glNop1;
  p.pickVertexArrayProcs = __glNop1;
  p.pickMatrixProcs = __glGenericPickMatrixProcs;
  p.pickInvTransposeProcs = __glGenericPickInvTransposeProcs;
  p.pickMvpMatrixProcs = __glGenericPickMvpMatrixProcs;
  p.pickDepthProcs = __glNop1;
  p.pickAllProcs = __glGenericPickAllProcs;

  p.copyMatrix = __glCopyMatrix;
  p.invertTransposeMatrix = __glInvertTransposeMatrix;
  p.makeIdentity = __glMakeIdentity;
  p.multMatrix = __glMultMatrix;
  p.computeInverseTranspose = __glComputeInverseTranspose;
  p.normalize = __glNormalize;

  p.applyScissor = ApplyScissor;
  p.applyViewport = ApplyViewport;
  p.computeClipBox = __glComputeClipBox;

  p.primVertex = __glNopProc<decltype(p.primVertex)>();
  for (auto &begin : p.beginPrim) begin = __glNop1;
  p.endPrim = __glEndPrim;
}

}  // namespace core
