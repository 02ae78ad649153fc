// Switching and publishing dispatch tables.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "core/dispatch_handoff.h"

void __glCopyDispatch(const GlDispatchState *source, GlDispatchState *destination) {
  if (source && destination && source != destination)
    memcpy(destination, source, sizeof *destination);
  // Publishing also when nothing was copied: validation calls this with the
  // current table as both, only to hand over entries it replaced in place.
  // A null source is never handed over: the operating system would call
  // through it.
  GlContext *gc = __glGetTLSCXValue();
  if (source && destination == &gc->dispatch) __wglSetProcTable(gc, source);
}

GlDispatchState *__glGetCurrentDispatch(void) { return &__glGetTLSCXValue()->dispatch; }

void __glCoreNopDispatch(void) {
  GlContext *gc = __glGetTLSCXValue();
  // The static placeholder holds the no-op table from the start; it is shared
  // by every thread without a context, so it is never written.
  if (gc == &__wglPlaceholderContext) return;
  memcpy(&gc->dispatch, &__glNopDispatchState, sizeof gc->dispatch);
}

GlDispatchState *__glDispatchExec(GlContext *gc) { return &gc->dispatch; }
