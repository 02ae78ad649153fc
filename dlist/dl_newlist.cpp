// glNewList and glEndList: opening a list makes the list-compile table
// current, closing it brings the immediate table back. Recording ops and
// compiling them into a list arrive with the display-list subsystem.
#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "core/gl_entries.h"
#include "core/s_error.h"

void GLENTRY __glim_NewList(GLuint list, GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  // In this order: a bad mode is reported even while a list is open.
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (gc->dlist.currentList) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (list == 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  __glCopyDispatch(&gc->dispatch, &gc->savedDispatch);
  __glCopyDispatch(&gc->listCompDispatch, &gc->dispatch);  // published
  gc->dispatchState = &gc->savedDispatch;
  gc->dlist.currentList = list;
  gc->dlist.mode = mode;
  gc->dlist.listRec.contents = 0;
  gc->dlist.listRec.first = nullptr;
  gc->dlist.listRec.last = nullptr;
  if (gc->dlist.beginList) gc->dlist.beginList(gc);
}

void GLENTRY __glim_EndList(void) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN || !gc->dlist.currentList) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  gc->dlist.listRec.first = nullptr;
  gc->dlist.listRec.last = nullptr;
  __glCopyDispatch(&gc->savedDispatch, &gc->dispatch);  // published
  gc->dispatchState = &gc->dispatch;
  gc->dlist.currentList = 0;
}
