// Vertex-cache state of a context (`gc->vcache`).
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

typedef struct GlVertexCacheMachine {
  GlVertex *vertices;  // the batch buffer of the vertex-array state
  int32_t vertexCount;
  int32_t vertexIncrement;  // 1 between the cache's glBegin and glEnd
  uint32_t flags;
  // 0 until the vertex cache exists: validation and the vertex picker then
  // take the cache-off path.
  uint8_t enabled;
  // Set by the immediate colour and index entries; cleared by the cache's
  // glBegin.
  uint8_t colorChanged;
} GlVertexCacheMachine;

void __glInitVertexCacheState(GlContext *gc);
void __glFreeVertexCacheState(GlContext *gc);
