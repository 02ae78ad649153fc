// Validation entry and the all-pickers pass.
#include "core/s_validate.h"

#include "core/context.h"
#include "core/dispatch.h"
#include "wgl/wgl_current.h"

void __glGenericValidate(GlContext *gc) {
  gc->procs.pickAllProcs(gc);
  // The current thread's context, not the argument: only its table is the
  // one the operating system calls.
  GlContext *current = __glGetTLSCXValue();
  __glCopyDispatch(&current->dispatch, &current->dispatch);
}

void __glGenericPickAllProcs(GlContext *gc) {
  // Stand-in until the procedure table is built: of the pickers only the
  // transform picker exists (the matrix stack procedures follow the matrix
  // mode); the rest of the pass only marks everything as picked.
  gc->procs.pickTransformProcs(gc);
  gc->dirtyMask = 0;
  gc->tableDirtyMask = 0;
}
