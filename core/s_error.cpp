#include "core/s_error.h"

#include <stdio.h>
#include <stdlib.h>

#include "core/current.h"

void __glSetError(GLenum code) {
  // Checked first and on every error, also one that would not be recorded.
  if (getenv("GLERRORABORT")) {
    fputs("__glSetError(): GLERRORABORT set, aborting.\n", stderr);
    abort();
  }
  GlContext *gc = __glGetTLSCXValue();
  // A thread without a context holds the shared placeholder, which no
  // glGetError can read; contexts are created on such threads, and their
  // allocation failures are reported by the creator instead.
  if (gc == &__wglPlaceholderContext) return;
  if (gc->error == GL_NO_ERROR) gc->error = code;
  if (gc->procs.errorHook) gc->procs.errorHook(gc, code);
}
