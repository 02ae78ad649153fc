// What every bitmap renderer does before its pixels, and the raster move
// after them.
#pragma once

#include <stdint.h>

#include "raster/s_buffers.h"

struct GlContext;
struct GlBitmap;

// Where bit 0 of the bitmap's first row lands, and the fragment every set
// bit becomes.
typedef struct GlBitmapStart {
  int64_t x, y;   // window column and row, within +-2^40
  int32_t ydir;   // +1, or -1 on drawables whose rows run downwards
  GlFragment frag;  // z and colour, textured and fogged once
} GlBitmapStart;

// The render-mode steps: an invalid raster position does nothing,
// selection only moves, feedback writes its record and moves; false then,
// for the renderer is done. In GL_RENDER fills `start` and gives true.
bool __glStartBitmap(GlContext *gc, const GlBitmap *bitmap, GlBitmapStart *start);
// raster x += xmove, raster y += ymove in the drawable's row direction.
void __glMoveBitmapRaster(GlContext *gc, const GlBitmap *bitmap);
