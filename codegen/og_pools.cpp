// The constant pools: 32-bit floats for x87 code and quadwords for MMX
// code, interned by bit pattern and addressed absolutely by generated code.
// A full block is never freed while the context lives; a new block, twice
// as large, becomes the current one and the blocks stay chained.
#include <float.h>
#include <math.h>
#include <string.h>

#include "codegen/og.h"
#include "core/context.h"

#define OG_POOL_LARGEST_CAPACITY (1u << 24)

namespace {

// One pool seen through the OgState fields that describe it.
typedef struct Pool {
  OgPoolBlock **chain;
  uint32_t *used;
  uint32_t *capacity;
  uint32_t entrySize;
} Pool;

Pool FloatPool(OgState *ogs) {
  return {&ogs->fpchain, &ogs->fpconstant_next, &ogs->fpconstant_capacity, 4};
}

Pool MmxPool(OgState *ogs) {
  return {&ogs->mxchain, &ogs->mxconstant_count, &ogs->mxconstant_capacity, 8};
}

uint8_t *Entries(const Pool &p) {
  return *p.chain ? reinterpret_cast<uint8_t *>(*p.chain + 1) : nullptr;
}

// The typed entry pointers follow the chains.
void SyncEntries(OgState *ogs) {
  ogs->fpconstant = ogs->fpchain ? reinterpret_cast<float *>(ogs->fpchain + 1) : nullptr;
  ogs->mxconstant = ogs->mxchain ? reinterpret_cast<uint64_t *>(ogs->mxchain + 1) : nullptr;
}

bool NewBlock(GlContext *gc, const Pool &p, uint32_t capacity) {
  if (capacity == 0 || capacity > OG_POOL_LARGEST_CAPACITY) return false;
  void *block = gc->imports.calloc(gc, 1, sizeof(OgPoolBlock) + size_t(capacity) * p.entrySize);
  if (block == nullptr) return false;
  OgPoolBlock *header = static_cast<OgPoolBlock *>(block);
  header->older = *p.chain;
  header->capacity = capacity;
  *p.chain = header;
  *p.used = 0;
  *p.capacity = capacity;
  SyncEntries(&gc->ogs);
  return true;
}

// A block that holds `count` more entries: the current one, or a new one of
// twice its capacity (more when the run needs it).
bool MakeRoom(GlContext *gc, const Pool &p, uint32_t count) {
  if (*p.chain && *p.used + count <= *p.capacity) return true;
  uint32_t capacity = *p.chain ? *p.capacity * 2 : OG_POOL_FIRST_CAPACITY;
  while (capacity < count && capacity <= OG_POOL_LARGEST_CAPACITY) capacity *= 2;
  return NewBlock(gc, p, capacity);
}

// The first place in the current block where `count` entries equal to
// `values` lie in a row; otherwise they are stored behind the used ones.
// Null when no block can hold them.
uint8_t *Intern(GlContext *gc, const Pool &p, const void *values, uint32_t count) {
  const size_t bytes = size_t(count) * p.entrySize;
  if (uint8_t *e = Entries(p)) {
    for (uint32_t i = 0; i + count <= *p.used; i++)
      if (memcmp(e + size_t(i) * p.entrySize, values, bytes) == 0) return e + size_t(i) * p.entrySize;
  }
  if (!MakeRoom(gc, p, count)) {
    og_fail(gc, "a constant block could be allocated");
    return nullptr;
  }
  uint8_t *entry = Entries(p) + size_t(*p.used) * p.entrySize;
  memcpy(entry, values, bytes);
  *p.used += count;
  // A full block is replaced at once; when that fails the next constant
  // tries again.
  if (*p.used == *p.capacity) NewBlock(gc, p, *p.capacity * 2);
  return entry;
}

OgCode *Address(GlContext *gc, const uint8_t *entry) {
  if (entry == nullptr) return nullptr;
  return mem2(gc, value(gc, int32_t(uintptr_t(entry))), nullptr);
}

void FreeChain(GlContext *gc, OgPoolBlock **chain) {
  for (OgPoolBlock *block = *chain; block != nullptr;) {
    OgPoolBlock *older = block->older;
    gc->imports.free(gc, block);
    block = older;
  }
  *chain = nullptr;
}

// A run longer than the largest block could never be stored; refusing it
// here also keeps the sums of entry counts from wrapping.
bool RunFits(GlContext *gc, const void *values, uint32_t count) {
  if (values == nullptr || count == 0) {
    og_fail(gc, "values && count > 0");
    return false;
  }
  if (count > OG_POOL_LARGEST_CAPACITY) {
    og_fail(gc, "count <= OG_POOL_LARGEST_CAPACITY");
    return false;
  }
  return true;
}

}  // namespace

GLbool8 og_init_pools(GlContext *gc) {
  OgState *ogs = &gc->ogs;
  return NewBlock(gc, FloatPool(ogs), OG_POOL_FIRST_CAPACITY) &&
         NewBlock(gc, MmxPool(ogs), OG_POOL_FIRST_CAPACITY);
}

void og_free_pools(GlContext *gc) {
  OgState *ogs = &gc->ogs;
  FreeChain(gc, &ogs->mxchain);
  FreeChain(gc, &ogs->fpchain);
  ogs->fpconstant_next = ogs->fpconstant_capacity = 0;
  ogs->mxconstant_count = ogs->mxconstant_capacity = 0;
  SyncEntries(ogs);
}

OgCode *fpk(GlContext *gc, double v) {
  // Only a value a float holds exactly; a NaN stands for itself.
  const bool exact = isnan(v) || isinf(v) || (fabs(v) <= FLT_MAX && double(float(v)) == v);
  if (!exact) {
    og_fail(gc, "(double)pool[ogs->fpconstant_next] == v");
    return nullptr;
  }
  const float f = float(v);
  return Address(gc, Intern(gc, FloatPool(&gc->ogs), &f, 1));
}

OgCode *mxk4(GlContext *gc, int32_t a, int32_t b, int32_t c, int32_t d) {
  const uint16_t words[1][4] = {{uint16_t(a), uint16_t(b), uint16_t(c), uint16_t(d)}};
  return mxk4_run(gc, words, 1);
}

OgCode *fpk_run(GlContext *gc, const float *values, uint32_t count) {
  if (!RunFits(gc, values, count)) return nullptr;
  return Address(gc, Intern(gc, FloatPool(&gc->ogs), values, count));
}

OgCode *mxk4_run(GlContext *gc, const uint16_t (*words)[4], uint32_t count) {
  if (!RunFits(gc, words, count)) return nullptr;
  return Address(gc, Intern(gc, MmxPool(&gc->ogs), words, count));
}
