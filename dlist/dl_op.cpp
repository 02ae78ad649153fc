#include "dlist/dl_op.h"

#include "core/context.h"
#include "core/dispatch.h"
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

void __glDlistFreeOp(GlContext *, GlDlistOp *) {}

void __glDlistAppendOp(GlContext *gc, GlDlistOp *op, GlDlistExecProc execute) {
  GlDlistState *dl = &gc->dlist;
  dl->appendOp(gc, op);
  if (dl->mode == GL_COMPILE_AND_EXECUTE) {
    // The op runs as an application call would: through the immediate
    // table, published while it runs. What the op changes in that table
    // (a glBegin installs its vertex entries) is kept for later.
    __glCopyDispatch(&gc->savedDispatch, &gc->dispatch);
    gc->dispatchState = &gc->dispatch;
    execute(reinterpret_cast<const GLubyte *>(op->data));
    dl->nesting = 0;  // an outermost list call
    __glCopyDispatch(&gc->dispatch, &gc->savedDispatch);
    __glCopyDispatch(&gc->listCompDispatch, &gc->dispatch);
    gc->dispatchState = &gc->savedDispatch;
  }
  if (dl->listRec.last)
    dl->listRec.last->next = op;
  else
    dl->listRec.first = op;
  dl->listRec.last = op;
}

void __glDlistAppendEmptyOp(GlContext *gc, int16_t opcode, GlDlistExecProc execute) {
  GlDlistOp *op = __glDlistAllocOp2(gc, 0);
  if (op == nullptr) return;
  op->opcode = opcode;
  __glDlistAppendOp(gc, op, execute);
}

void __glDlistReleaseChain(GlContext *gc, GlDlistRecord *list) {
  for (GlDlistOp *op = list->first; op; op = op->next)
    if (op->dlistFree) op->dlistFree(gc, op->data);
  list->first = nullptr;
  list->last = nullptr;
}
