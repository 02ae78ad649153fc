// The emitter's per-context state (`gc->ogs`): the pool of instruction
// records every constructor takes from, the two constant pools, and what
// guards one generation (the buffer it writes, its first failed check).
#pragma once

#include <stdint.h>

#include "codegen/og_code.h"
#include "core/calling.h"

struct GlContext;

#define OG_RECORD_COUNT 8000
// The check that fails once every record of `ready` is taken.
#define OG_RECORDS_EXHAUSTED "(char*)ogs->next < ((char*)ogs->ready + sizeof(ogs->ready))"
#define OG_POOL_FIRST_CAPACITY 1000u

// Every constant-pool block starts with this header; the entries follow it.
// Generated code addresses entries of full blocks for as long as the context
// lives, so a pool keeps all its blocks chained and frees them together.
typedef struct OgPoolBlock {
  struct OgPoolBlock *older;
  uint32_t capacity;  // entries in this block
} OgPoolBlock;

static_assert(sizeof(OgPoolBlock) == 8, "entries after the header stay 8-byte aligned");

typedef struct OgState {
  OgCode ready[OG_RECORD_COUNT];
  OgCode *next;  // first untaken record of `ready`; null before the first warm-up

  // Float pool: 32-bit floats for x87 code.
  float *fpconstant;  // entries of the current block
  uint32_t fpconstant_next;
  uint32_t fpconstant_capacity;
  // MMX pool: quadwords of four 16-bit words.
  uint64_t *mxconstant;  // entries of the current block
  uint32_t mxconstant_count;
  uint32_t mxconstant_capacity;
  OgPoolBlock *fpchain;  // header of the current float block, linking the older ones
  OgPoolBlock *mxchain;

  // One generation, reset by og_warmup.
  uint8_t *start;         // the buffer emit_code may write: [start, end)
  uint8_t *end;
  const char *failure;    // text of the first failed check, null while none failed
  uint32_t failures;      // failed checks
  GLbool8 size16;         // the operand-size prefix was just written
  GLbool8 exhausted;      // the record pool ran out: nothing more is written
} OgState;

// Early initialisation gives both constant pools their first zeroed block of
// 1000 entries; false when memory runs out. Destruction frees every block.
GLbool8 og_init_pools(GlContext *gc);
void og_free_pools(GlContext *gc);
