// The context's run-time code caches. Each of the five keeps a fixed number
// of cells, each with its own fixed slice of executable memory and the pair
// of key words of the routine generated into it; a lookup finds the routine
// for a key pair or hands out the least recently used cell to generate into.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "codegen/og_ns.h"
#include "core/calling.h"

struct GlContext;

#define OG_CACHE_EMPTY 0xFFFFFFFFu  // key1 of a cell that holds no routine

typedef struct OgCacheCell {
  uint32_t key1;
  uint32_t key2;
  uint8_t *code;      // the cell's own slice of the code space; never changes
  OgNameSpace info;   // the layout of the routine's variables (raster cache)
  OgCacheCell *next;  // in most-recently-used order; null at the last cell
} OgCacheCell;

static_assert(offsetof(OgCacheCell, key1) == 0 && offsetof(OgCacheCell, key2) == 4 &&
                  offsetof(OgCacheCell, code) == 8 && offsetof(OgCacheCell, info) == 12,
              "cell words");

// Cells in use lead `codeList`, most recently used first; empty cells follow.
typedef struct OgCodeCache {
  OgCacheCell *codeInfo;  // the cells, one block from the context's allocator
  OgCacheCell *codeList;
  uint8_t *codeSpace;  // cells x bytes per cell of executable memory
} OgCodeCache;

// Builds the five caches from the code-cache sizes of the constants, then
// the setup data block; false when memory runs out (what was made stays for
// __glReleaseCodeCache).
GLbool8 __glInitializeCodeCache(GlContext *gc);
// One cache of `count` cells of `size` bytes, every cell empty; the list
// runs from the highest cell down to cell 0. False when memory runs out or
// the sizes make no cache.
GLbool8 __glDoInitializeCodeCache(GlContext *gc, OgCodeCache *cache, uint32_t count, uint32_t size);
// Frees the five caches and the setup data block; safe on caches never made
// or left half made.
void __glReleaseCodeCache(GlContext *gc);
void __glDoReleaseCodeCache(GlContext *gc, OgCodeCache *cache);

// True when the routine for (key1, key2) is in the cache. Either way *code
// receives the slice to use and, when `info` is not null, *info the cell's
// name space; on false the cell already carries the keys and the caller
// generates the routine into the slice before anything runs it.
GLbool8 __glAllocCodeSpace(OgCodeCache *cache, uint32_t key1, uint32_t key2, OgNameSpace **info,
                           void **code);

// For a generator that gave up half-way: the cell of the slice `code` no
// longer answers for the keys the miss gave it, and it moves behind the
// cells in use. A slice of no cell, or of an empty one, changes nothing.
void __glFreeCodeSpace(OgCodeCache *cache, const void *code);

// Empties every cell of the setup and raster caches, keeping the order.
void __glInvalidateCodeCache(GlContext *gc);
void __glDoInvalidateCodeCache(GlContext *gc, OgCodeCache *cache);
