// Client vertex-array state of a context (`gc->vertexArray`).
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

typedef struct GlVertexArrayMachine {
  // Filled in with the vertex arrays.
  uint32_t reserved;
  // The client arrays glEnableClientState turned on, twice: as the masks of
  // their fields in the format word (vertex 0xFF, normal 0xF00, colour
  // 0xFF000, texture coordinate 0x7F00000, edge flag 0x8000000, index
  // 0xF0000000) and one bit each (normal 0x1, colour 0x2, texture coordinate
  // 0x4, index 0x8, edge flag 0x10, vertex 0x20).
  uint32_t enableFields;
  uint32_t enables;
} GlVertexArrayMachine;

void __glInitVertexArrayState(GlContext *gc);
void __glFreeVertexArrayState(GlContext *gc);
