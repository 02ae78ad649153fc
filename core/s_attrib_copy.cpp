// Context copy: the server attribute groups of a mask from one context to
// another, with the per-group enables, marks and calls.
#include "core/context.h"
#include "core/s_attrib.h"
#include "core/s_attrib_groups.h"

namespace {

// A context's state is set up, and its colours scaled, on its first
// binding. Before that a source holds zeros that no setter would store, and
// the first binding would reset whatever a destination was given.
bool StateSetUp(const GlContext *gc) { return (gc->flags & __GL_GC_VALIDATED_ONCE) != 0; }

}  // namespace

GLbool8 __glCopyContext(GlContext *dst, GlContext *src, GLuint mask) {
  if (dst == nullptr || src == nullptr) return 0;
  if (!StateSetUp(dst) || !StateSetUp(src)) return 0;
  if (dst == src) return 1;
  uint32_t dirty = __GL_DIRTY_GENERIC, tableDirty = 0;
  __glAttribTransfer(__glAttribContextSide(dst), __glAttribContextSide(src), mask,
                     __GL_ATTRIB_COPY, &dirty, &tableDirty);
  // The destination, not the caller's current context, waits for
  // validation; a context inside glBegin keeps its begin mode.
  dst->dirtyMask |= dirty;
  dst->tableDirtyMask |= tableDirty;
  if (dst->beginMode != __GL_IN_BEGIN) dst->beginMode = __GL_VALIDATE_PENDING;
  return 1;
}
