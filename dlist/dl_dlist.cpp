#include "dlist/dl_dlist.h"

#include "core/gl_assert.h"
#include "core/s_names.h"

GlDlist emptyDlist = {1, __glEmptyFreeDlist, __glEmptyExecuteDlist};

void __glEmptyFreeDlist(GlContext *gc, GlDlist *list) {}

void __glEmptyExecuteDlist(GlContext *gc, GlDlist *list) {}

void __glDisposeDlist(GlContext *gc, void *item) {
  GlDlist *list = static_cast<GlDlist *>(item);
  // Lists are shared between contexts on other threads: the count changes
  // under the names lock, wherever the release comes from.
  __glNamesEnterLock();
  list->refcount--;
  __GL_ASSERT(list->refcount >= 0, "list->refcount >= 0", "dl_dlist");
  if (list->refcount == 0) list->free(gc, list);
  __glNamesLeaveLock();
}
