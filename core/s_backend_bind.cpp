// Binding a context to the calling thread, with the steps every back end
// shares, and releasing it.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "core/s_entry.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"

namespace core {

GLbool8 BindContext(GlContext *gc, const BindSteps *steps) {
  __glSetTLSCXValue(gc);
  gc->dispatchState = &gc->dispatch;
  memcpy(&gc->dispatch, &__glImmedState, sizeof gc->dispatch);
  memcpy(&gc->listCompDispatch, &__glListCompState, sizeof gc->listCompDispatch);
  __glDelayValidate(gc, __GL_DIRTY_DEPTH);

  if (steps->recordWords) steps->recordWords(gc);
  const bool initialized = (gc->flags & __GL_GC_INITIALIZED) != 0;
  if (!initialized) steps->initBuffers(gc);
  __glMakeCurrentBuffers(gc);
  if (!initialized) steps->initFnPtrs(gc);
  __glUpdateDepthRange(gc);

  if (gc->flags & (__GL_GC_INITIALIZED | __GL_GC_REAPPLY_VIEWPORT)) {
    // The buffers took the drawable's size as it is now, which makes the
    // size change below look like none: the clip box is computed here, or
    // it would keep the bounds of the window the context last drew into.
    gc->procs.computeClipBox(gc);
    gc->procs.applyViewport(gc);
    gc->procs.applyScissor(gc);
  } else {
    __glSoftResetContext(gc);
    if (steps->setStrings) steps->setStrings(gc);
    int32_t x = 0, y = 0;
    uint32_t width = 0, height = 0;
    gc->imports.getDrawableSize(gc, &x, &y, &width, &height);
    // Through the table, as the application would call them.
    gc->dispatch.Viewport(0, 0, GLsizei(width), GLsizei(height));
    gc->dispatch.Scissor(0, 0, GLsizei(width), GLsizei(height));
  }

  if (!(gc->flags & __GL_GC_VALIDATED_ONCE)) {
    __glContextSetColorScales(gc);
    gc->procs.validate(gc);  // hands the table to the operating system
  }

  // A list left open when the context was released is still being
  // compiled: the compile table goes back in force.
  if (gc->dlist.currentList) {
    gc->dispatchState = &gc->savedDispatch;
    __glCopyDispatch(&gc->listCompDispatch, &gc->dispatch);
  } else {
    gc->dispatchState = &gc->dispatch;
  }
  gc->flags = (gc->flags | __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED) &
              ~__GL_GC_REAPPLY_VIEWPORT;
  return 1;
}

GLbool8 MakeCurrent(GlContext *gc) {
  static const BindSteps kSteps = {InitBuffers, InitFnPtrs, nullptr, nullptr};
  return BindContext(gc, &kSteps);
}

GLbool8 LoseCurrent(GlContext *gc) {
  // Selection and feedback write into the application's buffers until the
  // mode is left; a primitive under way is not finished.
  if (gc->renderMode != GL_RENDER || gc->beginMode == __GL_IN_BEGIN) return 0;
  __glLoseCurrentBuffers(gc);
  // Threads without a context hold the placeholder, never null.
  __glSetTLSCXValue(&__wglPlaceholderContext);
  return 1;
}

}  // namespace core
