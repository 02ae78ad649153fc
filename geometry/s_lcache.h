// Shared power tables for the specular and spotlight terms of lighting.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

typedef struct GlSpecLUT {
  int32_t refcount;  // holders, the cache counting as one; changed atomically
  GLfloat threshold;
  GLfloat scale;
  GLfloat exponent;
  GLfloat table[256];
} GlSpecLUT;

// The lighting routines read tables by offset.
static_assert(offsetof(GlSpecLUT, threshold) == 4 && offsetof(GlSpecLUT, scale) == 8 &&
                  offsetof(GlSpecLUT, exponent) == 12 && offsetof(GlSpecLUT, table) == 16,
              "GlSpecLUT layout");

typedef struct GlSpecLUTEntry {
  GLfloat exponent;
  GlSpecLUT *table;
} GlSpecLUTEntry;

typedef struct GlSpecLUTCache {
  int32_t count;
  int32_t capacity;
  GlSpecLUTEntry entries[1];  // capacity of them, sorted by exponent
} GlSpecLUTCache;

// The context's table cache (`gc->light.lutCache`): created empty by the
// soft reset, released at destruction after the light and material caches
// gave back their tables. The reset cannot fail: when the block cannot be
// had there, the pointer stays null and the first table request makes it.
void __glInitLUTCache(GlContext *gc);
void __glFreeLUTCache(GlContext *gc);
// A table for the exponent with one reference for the caller; null when
// memory runs out (the cache stays consistent).
GlSpecLUT *__glCreateSpecLUT(GlContext *gc, GLfloat exponent);
// One more reference to a table the caller holds one of already.
void __glHoldSpecLUT(GlSpecLUT *table);
// Drops one reference; a null table is ignored.
void __glFreeSpecLUT(GlContext *gc, GlSpecLUT *table);
