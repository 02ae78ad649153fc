// Handing a context's dispatch table to the operating system's GL library
// through the callback its record took at the last bind.
#include "core/dispatch_handoff.h"

#include "core/context.h"
#include "wgl/wgl_context.h"

void __wglSetProcTable(GlContext *gc, const GlDispatchState *table) {
  WglContext *wc = static_cast<WglContext *>(gc->imports.other);
  if (wc && wc->setProcTable) wc->setProcTable(table);
}
