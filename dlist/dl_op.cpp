#include "dlist/dl_op.h"

#include "core/context.h"
#include "core/s_error.h"

GlDlistOp *__glDlistAllocOp2(GlContext *gc, uint32_t size) {
  GlArena *arena = gc->dlist.arena;
  // The header is added first: a size near the top must not wrap to a few
  // bytes.
  GlDlistOp *op = nullptr;
  if (arena != nullptr && size <= UINT32_MAX - GL_DLIST_OP_HEADER)
    op = static_cast<GlDlistOp *>(gc->procs.arenaAlloc(arena, size + GL_DLIST_OP_HEADER));
  if (op == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return nullptr;
  }
  op->next = nullptr;
  op->dlistFree = nullptr;
  op->size = size;
  op->aligned = 0;
  return op;
}
