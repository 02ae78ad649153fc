#include "core/s_arena.h"

#include "core/context.h"

namespace {

GlArenaBlock *NewBlock(GlContext *gc, uint32_t size) {
  GlArenaBlock *block = static_cast<GlArenaBlock *>(gc->imports.malloc(gc, sizeof(GlArenaBlock)));
  if (block == nullptr) return nullptr;
  block->data = static_cast<uint8_t *>(gc->imports.malloc(gc, size));
  if (block->data == nullptr) {
    gc->imports.free(gc, block);
    return nullptr;
  }
  block->size = size;
  block->used = 0;
  block->next = nullptr;
  return block;
}

// Frees `block` and every block after it.
void DeleteBlocks(GlContext *gc, GlArenaBlock *block) {
  while (block != nullptr) {
    GlArenaBlock *next = block->next;
    gc->imports.free(gc, block->data);
    gc->imports.free(gc, block);
    block = next;
  }
}

}  // namespace

GlArena *__glNewArena(GlContext *gc) {
  GlArena *arena = static_cast<GlArena *>(gc->imports.malloc(gc, sizeof(GlArena)));
  if (arena == nullptr) return nullptr;
  GlArenaBlock *block = NewBlock(gc, GL_ARENA_BLOCK_SIZE);
  if (block == nullptr) {
    gc->imports.free(gc, arena);
    return nullptr;
  }
  arena->gc = gc;
  arena->first = arena->current = block;
  return arena;
}

void __glDeleteArena(GlArena *arena) {
  GlContext *gc = arena->gc;
  DeleteBlocks(gc, arena->first);
  gc->imports.free(gc, arena);
}

void *__glArenaAlloc(GlArena *arena, size_t n) {
  // Always a multiple of 8 larger than n (0 takes 8, 8 takes 16), so every
  // allocation stays 8-aligned when the block's data is. Sizes within 8 of the top
  // would wrap to a few bytes: refuse them.
  if (n > SIZE_MAX - 8) return nullptr;
  const uint32_t rounded = static_cast<uint32_t>(n + 8 - n % 8);
  GlArenaBlock *block = arena->current;
  if (block->size - block->used >= rounded) {
    void *p = block->data + block->used;
    block->used += rounded;
    return p;
  }
  // The rest of the current block is not searched again until FreeAll.
  GlArenaBlock *fresh =
      NewBlock(arena->gc, rounded > GL_ARENA_BLOCK_SIZE ? rounded : GL_ARENA_BLOCK_SIZE);
  if (fresh == nullptr) return nullptr;
  block->next = fresh;
  arena->current = fresh;
  fresh->used = rounded;
  return fresh->data;
}

void __glArenaFreeAll(GlArena *arena) {
  GlArenaBlock *first = arena->first;
  DeleteBlocks(arena->gc, first->next);
  first->next = nullptr;
  first->used = 0;
  arena->current = first;
}
