// Vertex-cache state of a context (`gc->vcache`).
#pragma once

#include <stdint.h>

struct GlContext;

typedef struct GlVertexCacheMachine {
  // 0 until the vertex cache exists: validation and the vertex picker then
  // take the cache-off path.
  uint8_t enabled;
} GlVertexCacheMachine;

void __glInitVertexCacheState(GlContext *gc);
void __glFreeVertexCacheState(GlContext *gc);
