// Client vertex-array state of a context (`gc->vertexArray`).
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

typedef struct GlVertexArrayMachine {
  // Filled in with the vertex arrays.
  uint32_t reserved;
} GlVertexArrayMachine;

void __glInitVertexArrayState(GlContext *gc);
void __glFreeVertexArrayState(GlContext *gc);
