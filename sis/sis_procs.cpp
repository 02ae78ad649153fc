// The SiS context's procedure table: the core's, with the SiS validation,
// pickers, viewport and scissor, and the wait-idle that drains the chip.
#include "core/context.h"
#include "core/s_backend.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_hw.h"
#include "sis/sis_pick.h"
#include "sis/sis_pixels.h"
#include "sis/sis_registers.h"

namespace sis {

void InitFnPtrs(GlContext *gc) {
  core::InitFnPtrs(gc);
  GlProcs &p = gc->procs;
  p.validate = __glSiSValidate;
  p.pickBlendProcs = __glSiSPickBlendProcs;
  p.pickBufferProcs = __glSiSPickBufferProcs;
  p.pickFogProcs = __glSiSPickFogProcs;
  p.pickLineProcs = __glSiSPickLineProcs;
  p.pickPixelProcs = __glSiSPickPixelProcs;
  p.pickPointProcs = __glSiSPickPointProcs;
  p.pickRenderBitmapProcs = __glSiSPickRenderBitmapProcs;
  p.pickTextureProcs = __glSiSPickTextureProcs;
  p.pickTriangleProcs = __glSiSPickTriangleProcs;
  p.pickVertexArrayProcs = __glSiSPickVertexArrayProcs;
  p.pickDepthProcs = __glSiSPickDepthProcs;
  p.applyViewport = ApplyViewport;
  p.applyScissor = ApplyScissor;
  p.flush = Flush;
  p.finish = Finish;
  p.waitIdle = WaitIdle;
}

GLbool8 ApplyViewport(GlContext *gc) { return core::ApplyViewport(gc); }
GLbool8 ApplyScissor(GlContext *gc) { return core::ApplyScissor(gc); }
void CheckViewport(GlContext *gc) { core::CheckViewport(gc); }

void Flush(GlContext *) {}
void Finish(GlContext *) {}

// Inside the device lock the queued work is fired and drained, so that
// what software draws next lands after it; outside it the outermost unlock
// has fired everything already.
void WaitIdle(GlContext *gc) {
  const GlSiSTail *sis = __glSiSTail(gc);
  if (sis->lockDepth == 0 || !Sends(sis)) return;
  mWait3DCmdQueue(1);
  SiS6326Store8(sis->mmioBase + kRegFire, 0xFF);
  while ((SiS6326Load16(sis->mmioBase + kRegQueueStatus) & kQueueStatusMask) < SIS6326_QUEUE_SLOTS) {
  }
}

}  // namespace sis
