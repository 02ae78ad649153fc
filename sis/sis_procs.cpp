// The SiS context's procedure table. Until the hardware pickers exist it is
// the core's, whose viewport, scissor and viewport check are the device's
// too, with empty flush, finish and wait-idle.
#include "core/context.h"
#include "core/s_backend.h"
#include "sis/sis_context_ops.h"

namespace sis {

void InitFnPtrs(GlContext *gc) {
  core::InitFnPtrs(gc);
  gc->procs.applyViewport = ApplyViewport;
  gc->procs.applyScissor = ApplyScissor;
}

GLbool8 ApplyViewport(GlContext *gc) { return core::ApplyViewport(gc); }
GLbool8 ApplyScissor(GlContext *gc) { return core::ApplyScissor(gc); }
void CheckViewport(GlContext *gc) { core::CheckViewport(gc); }

}  // namespace sis
