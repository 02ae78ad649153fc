#include "dlist/dl_call.h"

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "core/s_names.h"
#include "dlist/dl_dlist.h"

const int8_t __GLdlsize_tab[10] = {
    1,  // GL_BYTE
    1,  // GL_UNSIGNED_BYTE
    2,  // GL_SHORT
    2,  // GL_UNSIGNED_SHORT
    4,  // GL_INT
    4,  // GL_UNSIGNED_INT
    4,  // GL_FLOAT
    2,  // GL_2_BYTES
    3,  // GL_3_BYTES
    4,  // GL_4_BYTES
};

void DoCallList(GlContext *gc, GLuint name) {
  GlDlistState *dl = &gc->dlist;
  if (dl->nesting >= GL_DLIST_MAX_NESTING) {
    dl->nesting = GL_DLIST_NESTING_HIT;
    return;
  }
  if (dl->namesArray == nullptr) return;
  // The lock keeps the list alive while it runs, even when another context
  // of the share group deletes or replaces it meanwhile.
  GlDlist *list = static_cast<GlDlist *>(__glNamesLockData(gc, dl->namesArray, name));
  if (list == nullptr) return;
  dl->nesting++;
  list->execute(gc, list);
  dl->nesting--;
  __glNamesUnlockData(gc, dl->namesArray, list);
}

void DoCallLists(GlContext *gc, GLsizei n, GLenum type, const GLvoid *lists) {
  GlDlistState *dl = &gc->dlist;
  if (dl->nesting >= GL_DLIST_MAX_NESTING) {
    dl->nesting = GL_DLIST_NESTING_HIT;
    return;
  }
  if (dl->namesArray == nullptr || lists == nullptr) return;
  const int32_t size = __glCallListsNameSize(type);
  const GLubyte *names = static_cast<const GLubyte *>(lists);
  void *batch[GL_DLIST_CALL_BATCH];
  dl->nesting++;
  while (n > 0) {
    const GLsizei count = n < GL_DLIST_CALL_BATCH ? n : GL_DLIST_CALL_BATCH;
    // The base is read per batch: a list of the batch may change it for
    // the next one.
    __glNamesLockDataList(gc, dl->namesArray, count, type, gc->state.list.listBase, names, batch);
    for (GLsizei i = 0; i < count; ++i) {
      GlDlist *list = static_cast<GlDlist *>(batch[i]);
      list->execute(gc, list);
    }
    __glNamesUnlockDataList(gc, dl->namesArray, count, batch);
    names += count * size;
    n -= count;
  }
  dl->nesting--;
}

void GLENTRY __glim_CallList(GLuint list) {
  GlContext *gc = __glGetTLSCXValue();
  if (list == 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  DoCallList(gc, list);
  gc->dlist.nesting = 0;
}

void GLENTRY __glim_CallLists(GLsizei n, GLenum type, const GLvoid *lists) {
  GlContext *gc = __glGetTLSCXValue();
  if (n < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (__glCallListsNameSize(type) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  DoCallLists(gc, n, type, lists);
  gc->dlist.nesting = 0;
}
