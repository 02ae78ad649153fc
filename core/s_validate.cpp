// The core's validation entry.
#include "core/s_validate.h"

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"

void __glGenericValidate(GlContext *gc) {
  gc->procs.pickAllProcs(gc);
  // The current thread's context, not the argument: only its table is the
  // one the operating system calls.
  GlContext *current = __glGetTLSCXValue();
  __glCopyDispatch(&current->dispatch, &current->dispatch);
}
