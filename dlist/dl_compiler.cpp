// Two passes over the op chain: the first sizes the code block, the second
// writes it. An aligned op's execute word sits 4 modulo 8 into the 8-aligned
// block, so its data starts on an 8-byte boundary; a __glle_Nop word is put
// in front of it where the offset is not already so.
#include "dlist/dl_compiler.h"

#include <string.h>

#include "core/context.h"
#include "core/s_error.h"
#include "dlist/dl_op.h"

GlDlistExecProc __glDlistExecProc(const GlDlistState *dl, int16_t opcode) {
  if (opcode < 1000) return dl->listExecTable[opcode];
  if (opcode < 10000) return dl->genericDlOps[opcode - 1000];
  return dl->machineDlOps[opcode - 10000];
}

namespace {

bool NeedsNop(const GlDlistOp *op, uint64_t offset) { return op->aligned == 1 && offset % 8 != 4; }

void PutWord(uint8_t *code, uint64_t offset, const void *word) { memcpy(code + offset, word, 4); }

// The list was never made: nothing stays open and the ops are gone, with
// what their data owned (no list will ever free it).
GlDlist *GiveUp(GlContext *gc, GlDlistRecord *list) {
  __glDlistReleaseChain(gc, list);
  if (gc->dlist.arena) gc->procs.arenaFreeAll(gc->dlist.arena);
  gc->dlist.currentList = 0;
  __glSetError(GL_OUT_OF_MEMORY);
  return nullptr;
}

}  // namespace

GlDlist *__glGenericDlistCompiler(GlContext *gc, GlDlistRecord *list) {
  // Sizes are summed in 64 bits: a chain too long for one block fails
  // cleanly instead of wrapping.
  uint64_t offset = 0;
  uint32_t pairs = 0;
  for (const GlDlistOp *op = list->first; op; op = op->next) {
    if (NeedsNop(op, offset)) offset += 4;
    offset += 4 + uint64_t(op->size);
    if (op->dlistFree) pairs++;
  }
  if (list->first == nullptr) {
    GlDlist *empty = __glGenericAllocDlist(gc, 0, 0);
    // The name keeps what it had; the caller learns why.
    if (empty == nullptr) __glSetError(GL_OUT_OF_MEMORY);
    return empty;
  }
  const uint64_t codeSize = offset + 4;
  GlDlist *dlist =
      codeSize <= UINT32_MAX ? __glGenericAllocDlist(gc, uint32_t(codeSize), pairs) : nullptr;
  if (dlist == nullptr) return GiveUp(gc, list);

  const GlDlistState *dl = &gc->dlist;
  uint8_t *code = reinterpret_cast<uint8_t *>(dlist->code);
  GlDlistFreePair *pair = __glDlistPairs(dlist);
  GlDlistExecProc nop = __glle_Nop, sentinel = __glle_Sentinel;
  offset = 0;
  for (const GlDlistOp *op = list->first; op; op = op->next) {
    if (NeedsNop(op, offset)) {
      PutWord(code, offset, &nop);
      offset += 4;
    }
    GlDlistExecProc execute = __glDlistExecProc(dl, op->opcode);
    PutWord(code, offset, &execute);
    offset += 4;
    if (op->dlistFree) *pair++ = {op->dlistFree, code + offset};
    memcpy(code + offset, op->data, op->size);
    offset += op->size;
  }
  PutWord(code, offset, &sentinel);
  return dlist;
}
