// An op record: one call recorded while a list is compiled. Records live in
// the context's compile arena and are never freed one by one.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "dlist/dl_state.h"

struct GlContext;

typedef struct GlDlistOp {
  GlDlistOp *next;
  // Called with the op's data when the compiled list is freed (ops whose data
  // owns memory); null for the others.
  void (*dlistFree)(GlContext *gc, void *data);
  uint32_t size;   // bytes of data, a multiple of 4
  int16_t opcode;  // read as signed
  uint8_t aligned;  // 1: data holds doubles and must start 8-aligned in the list
  uint8_t reserved;
  uint32_t data[];  // GL_DLIST_OP_HEADER bytes into the record
} GlDlistOp;

#define GL_DLIST_OP_HEADER 16u
static_assert(offsetof(GlDlistOp, data) == GL_DLIST_OP_HEADER,
              "arena allocations are 8-aligned, so data is too");

// An op with room for `size` bytes of data from the compile arena, next,
// dlistFree and aligned cleared; null after recording GL_OUT_OF_MEMORY.
GlDlistOp *__glDlistAllocOp2(GlContext *gc, uint32_t size);
// Ops go with the arena: nothing to do.
void __glDlistFreeOp(GlContext *gc, GlDlistOp *op);
// Links the op at the tail of the open list. In GL_COMPILE_AND_EXECUTE the
// op runs first, through `execute`, with the immediate table current.
void __glDlistAppendOp(GlContext *gc, GlDlistOp *op, GlDlistExecProc execute);
// Calls the free procedure of every op of the chain whose data owns memory
// and empties the chain: for ops that will never reach a list.
void __glDlistReleaseChain(GlContext *gc, GlDlistRecord *list);
// A data-less op of `opcode` appended with `execute` (the error ops).
void __glDlistAppendEmptyOp(GlContext *gc, int16_t opcode, GlDlistExecProc execute);
