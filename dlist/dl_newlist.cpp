// glNewList and glEndList: opening a list makes the list-compile table
// current; closing it compiles the recorded ops, binds the new list to its
// name and brings the immediate table back.
#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "core/s_names.h"
#include "dlist/dl_dlist.h"

void GLENTRY __glim_NewList(GLuint list, GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  GlDlistState *dl = &gc->dlist;
  // In this order: a bad mode is reported even while a list is open.
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (dl->currentList) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (list == 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  // Contexts make their arena at creation; one that lost it (or never had
  // one) makes it here.
  if (dl->genericDlOps != nullptr && dl->arena == nullptr) {
    dl->arena = gc->procs.newArena(gc);
    if (dl->arena == nullptr) {
      __glSetError(GL_OUT_OF_MEMORY);
      return;
    }
  }
  __glCopyDispatch(&gc->dispatch, &gc->savedDispatch);
  __glCopyDispatch(&gc->listCompDispatch, &gc->dispatch);  // published
  gc->dispatchState = &gc->savedDispatch;
  dl->currentList = list;
  dl->mode = mode;
  dl->listRec.contents = 0;
  dl->listRec.first = nullptr;
  dl->listRec.last = nullptr;
  dl->beginList(gc);
}

void GLENTRY __glim_EndList(void) {
  GlContext *gc = __glGetTLSCXValue();
  GlDlistState *dl = &gc->dlist;
  if (gc->beginMode == __GL_IN_BEGIN || !dl->currentList) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  // The compiler may give up and close the list itself: the name is read
  // first.
  const GLuint name = dl->currentList;
  dl->optimizer(gc, &dl->listRec);
  GlDlist *list = dl->compiler(gc, &dl->listRec);
  if (dl->genericDlOps != nullptr && dl->arena != nullptr) gc->procs.arenaFreeAll(dl->arena);
  dl->listRec.first = nullptr;
  dl->listRec.last = nullptr;
  if (list != nullptr) {
    // Replaces (and disposes) what the name held. A list the name manager
    // could not take is nobody's: it goes at once.
    if (dl->namesArray == nullptr) {
      __glSetError(GL_OUT_OF_MEMORY);
      list->free(gc, list);
    } else if (!__glNamesNewData(gc, dl->namesArray, name, list)) {
      list->free(gc, list);
    }
  }
  __glCopyDispatch(&gc->savedDispatch, &gc->dispatch);  // published
  gc->dispatchState = &gc->dispatch;
  dl->currentList = 0;
}
