// Finding a routine in a code cache, or the cell to generate it into, and
// emptying caches.
#include "codegen/og_cache.h"

#include "codegen/og_cache_switch.h"
#include "core/context.h"
#include "core/gl_assert.h"

namespace {

// `previous` is the cell before `cell` on the list, null when `cell` leads.
void MoveToFront(OgCodeCache *cache, OgCacheCell *cell, OgCacheCell *previous) {
  if (previous == nullptr) return;
  previous->next = cell->next;
  cell->next = cache->codeList;
  cache->codeList = cell;
}

GLbool8 Report(OgCacheCell *cell, OgNameSpace **info, void **code, GLbool8 hit) {
  if (info) *info = &cell->info;
  *code = cell->code;
  return hit;
}

}  // namespace

GLbool8 __glAllocCodeSpace(OgCodeCache *cache, uint32_t key1, uint32_t key2, OgNameSpace **info,
                           void **code) {
  OgCacheCell *cell = cache->codeList;
  if (og::CacheDisabled()) {
    // Every request rewrites the front cell, so it can no longer answer for
    // the keys it had once caching is turned on again.
    cell->key1 = OG_CACHE_EMPTY;
    return Report(cell, info, code, 0);
  }

  OgCacheCell *previous = nullptr;
  while (!(cell->key1 == key1 && cell->key2 == key2) && cell->key1 != OG_CACHE_EMPTY) {
    if (cell->next == nullptr) {
      // Every cell is in use: the least recently used one is recycled.
      cell->key1 = key1;
      cell->key2 = key2;
      MoveToFront(cache, cell, previous);
      return Report(cell, info, code, 0);
    }
    previous = cell;
    cell = cell->next;
  }
  if (previous)
    MoveToFront(cache, cell, previous);
  else
    __GL_ASSERT(cell == cache->codeList, "cell == cache->codeList", "og_cache");
  if (cell->key1 != OG_CACHE_EMPTY) return Report(cell, info, code, 1);
  cell->key1 = key1;
  cell->key2 = key2;
  return Report(cell, info, code, 0);
}

void __glFreeCodeSpace(OgCodeCache *cache, const void *code) {
  OgCacheCell *previous = nullptr;
  OgCacheCell *cell = cache->codeList;
  while (cell && cell->code != code) {
    previous = cell;
    cell = cell->next;
  }
  if (cell == nullptr || cell->key1 == OG_CACHE_EMPTY) return;
  // Left with its keys, the next lookup would run the half-written code.
  cell->key1 = OG_CACHE_EMPTY;
  cell->key2 = 0;
  if (cell->next == nullptr) return;
  if (previous)
    previous->next = cell->next;
  else
    cache->codeList = cell->next;
  OgCacheCell *last = cell->next;
  while (last->next) last = last->next;
  last->next = cell;
  cell->next = nullptr;
}

void __glDoInvalidateCodeCache(GlContext *gc, OgCodeCache *cache) {
  for (OgCacheCell *cell = cache->codeList; cell; cell = cell->next) cell->key1 = OG_CACHE_EMPTY;
}

// Only the triangle setup and raster routines; the spanlets and the strip
// routines stay.
void __glInvalidateCodeCache(GlContext *gc) {
  __glDoInvalidateCodeCache(gc, &gc->triSetupCache);
  __glDoInvalidateCodeCache(gc, &gc->triRasterCache);
}
