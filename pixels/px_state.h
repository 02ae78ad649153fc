// Pixel-path and colour-table state of a context (`gc->pixel`).
#pragma once

#include <stdint.h>

struct GlContext;

typedef struct GlPixelMachine {
  // Filled in with the pixel paths.
  uint32_t reserved;
} GlPixelMachine;

void __glInitPixelState(GlContext *gc);
void __glFreePixelState(GlContext *gc);
void __glInitColorTables(GlContext *gc);
void __glFreeColorTables(GlContext *gc);
