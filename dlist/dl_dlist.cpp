#include "dlist/dl_dlist.h"

#include <string.h>

#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_names.h"

GlDlist emptyDlist = {1, __glEmptyFreeDlist, __glEmptyExecuteDlist, nullptr, 0};

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

namespace {

// The allocator promises only word alignment: the block gets 8 spare bytes,
// the code starts at the first 8-aligned address past one word, and that
// word keeps the block's own address for the free.
uint32_t *AllocCode(GlContext *gc, uint32_t codeSize) {
  if (codeSize > UINT32_MAX - 8) return nullptr;
  uint8_t *block = static_cast<uint8_t *>(gc->dlist.malloc(gc, codeSize + 8));
  if (block == nullptr) return nullptr;
  uintptr_t code = (reinterpret_cast<uintptr_t>(block) + 4 + 7) & ~uintptr_t(7);
  uint32_t *words = reinterpret_cast<uint32_t *>(code);
  memcpy(words - 1, &block, sizeof block);
  return words;
}

void FreeCode(GlContext *gc, uint32_t *code) {
  void *block;
  memcpy(&block, code - 1, sizeof block);
  gc->dlist.free(gc, block);
}

}  // namespace

GlDlist *__glGenericAllocDlist(GlContext *gc, uint32_t codeSize, uint32_t pairs) {
  if (pairs > (UINT32_MAX - sizeof(GlDlist)) / sizeof(GlDlistFreePair)) return nullptr;
  size_t recordSize = sizeof(GlDlist) + size_t(pairs) * sizeof(GlDlistFreePair);
  GlDlist *list = static_cast<GlDlist *>(gc->dlist.malloc(gc, recordSize));
  if (list == nullptr) return nullptr;
  list->code = nullptr;
  if (codeSize != 0) {
    list->code = AllocCode(gc, codeSize);
    if (list->code == nullptr) {
      gc->dlist.free(gc, list);
      return nullptr;
    }
  }
  list->refcount = 1;
  list->free = __glGenericFreeDlist;
  list->execute = codeSize != 0 ? __glGenericExecuteDlist : __glEmptyExecuteDlist;
  list->count = pairs + (codeSize != 0 ? 1 : 0);
  return list;
}

void __glGenericFreeDlist(GlContext *gc, GlDlist *list) {
  // The code block counts as one: the rest are pairs, freed in op order
  // while their data is still there.
  uint32_t pairs = list->count - (list->code != nullptr ? 1 : 0);
  GlDlistFreePair *pair = __glDlistPairs(list);
  for (uint32_t i = 0; i < pairs; ++i) pair[i].free(gc, pair[i].data);
  if (list->code != nullptr) FreeCode(gc, list->code);
  gc->dlist.free(gc, list);
}

void __glGenericExecuteDlist(GlContext *gc, GlDlist *list) { __glDoInterpret(list->code); }
