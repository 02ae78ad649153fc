#include "dlist/dl_names.h"

#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "core/s_names.h"
#include "dlist/dl_op.h"

GlDlistArray *__glDlistNewArray(GlContext *gc) {
  GlDlistState *dl = &gc->dlist;
  GlDlistArray *array = static_cast<GlDlistArray *>(dl->malloc(gc, sizeof(GlDlistArray)));
  if (array == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return nullptr;
  }
  memset(array, 0, sizeof *array);
  array->refcount = 1;
  if (dl->newArray) dl->newArray(gc, array);
  return array;
}

void __glDlistFreeArray(GlContext *gc, GlDlistArray *array) {
  if (gc->dlist.freeArray) gc->dlist.freeArray(gc, array);
  gc->dlist.free(gc, array);
}

GLbool8 __glInitDlistState(GlContext *gc) {
  GlDlistState *dl = &gc->dlist;
  dl->nesting = 0;
  dl->currentList = 0;
  dl->malloc = gc->imports.malloc;
  dl->realloc = gc->imports.realloc;
  dl->free = gc->imports.free;
  if (dl->dlistArray == nullptr) dl->dlistArray = __glDlistNewArray(gc);
  if (dl->namesArray == nullptr) dl->namesArray = __glNamesNewArray(gc, GL_NAMES_DLIST);
  return dl->dlistArray != nullptr && dl->namesArray != nullptr;
}

GLbool8 __glInitDlistArena(GlContext *gc) {
  GlDlistState *dl = &gc->dlist;
  if (dl->arena == nullptr) dl->arena = gc->procs.newArena(gc);
  return dl->arena != nullptr;
}

namespace {

// Contexts of a share group live on different threads: the record's count
// changes under the names lock, like every other shared count.
void ReleaseDlistArray(GlContext *gc, GlDlistArray *array) {
  __glNamesEnterLock();
  bool last = --array->refcount == 0;
  __glNamesLeaveLock();
  if (last) __glDlistFreeArray(gc, array);
}

void ReleaseShared(GlContext *gc) {
  GlDlistState *dl = &gc->dlist;
  if (dl->namesArray) __glNamesReleaseArray(gc, dl->namesArray);
  dl->namesArray = nullptr;
  if (dl->dlistArray) ReleaseDlistArray(gc, dl->dlistArray);
  dl->dlistArray = nullptr;
}

}  // namespace

void __glFreeDlistState(GlContext *gc) {
  ReleaseShared(gc);
  GlDlistState *dl = &gc->dlist;
  // A list still open loses its ops with the arena, and what they own.
  if (dl->currentList) __glDlistReleaseChain(gc, &dl->listRec);
  if (dl->arena) gc->procs.deleteArena(dl->arena);
  dl->arena = nullptr;
}

void __glShareDlist(GlContext *gc, GlContext *other) {
  GlDlistState *dl = &gc->dlist;
  GlDlistArray *dlists = other->dlist.dlistArray;
  GlNamesArray *names = other->dlist.namesArray;
  // References to the new records first: gc may already hold them, and
  // dropping its own must not free them on the way.
  if (names) __glNamesAddRef(gc, names);
  if (dlists) {
    __glNamesEnterLock();
    dlists->refcount++;
    __glNamesLeaveLock();
  }
  ReleaseShared(gc);
  dl->dlistArray = dlists;
  dl->namesArray = names;
  // The compile arena is the context's own and may hold the ops of a list
  // being compiled: it stays.
}

GLuint GLENTRY __glim_GenLists(GLsizei range) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return 0;
  }
  if (range < 0) {
    __glSetError(GL_INVALID_VALUE);
    return 0;
  }
  if (range == 0) return 0;
  // A context whose name manager could not be made has no names to give.
  if (gc->dlist.namesArray == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return 0;
  }
  return __glNamesGenRange(gc, gc->dlist.namesArray, range);
}

void GLENTRY __glim_DeleteLists(GLuint list, GLsizei range) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (range < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  // A range running past the last name stops there.
  if (range == 0 || gc->dlist.namesArray == nullptr) return;
  __glNamesDeleteRange(gc, gc->dlist.namesArray, list, GLuint(range));
}

GLboolean GLENTRY __glim_IsList(GLuint list) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return GL_FALSE;
  }
  if (gc->dlist.namesArray == nullptr) return GL_FALSE;
  return __glNamesIsName(gc, gc->dlist.namesArray, list) ? GL_TRUE : GL_FALSE;
}

void GLENTRY __glim_ListBase(GLuint base) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  gc->state.list.listBase = base;
}
