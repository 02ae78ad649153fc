// The arena: many small blocks handed out one after another and given back
// all at once. List compilation builds the ops of the list under construction
// in one and empties it when the list is done. There is no per-block free
// and no per-block header.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct GlContext;

typedef struct GlArenaBlock {
  uint32_t size;  // bytes of data
  uint32_t used;  // bytes handed out
  uint8_t *data;
  GlArenaBlock *next;
} GlArenaBlock;

typedef struct GlArena {
  GlContext *gc;  // whose imports allocate and free
  GlArenaBlock *first;    // kept until the arena goes
  GlArenaBlock *current;  // the last block, allocations come from it
} GlArena;

#define GL_ARENA_BLOCK_SIZE 0x40000u

// A new arena with one empty standard block, or null (nothing leaked).
GlArena *__glNewArena(GlContext *gc);
void __glDeleteArena(GlArena *arena);
// At least n bytes, 8-aligned, or null when a new block is needed and cannot
// be had (the arena is then unchanged) or n is too large to round.
void *__glArenaAlloc(GlArena *arena, size_t n);
// Forgets every allocation; keeps only the first block.
void __glArenaFreeAll(GlArena *arena);
