// The 8-bit stencil buffer: the stencil state folded into four byte maps
// indexed by the stored value, so that the test and each operation are one
// look-up per pixel.
#pragma once

#include <stdint.h>

#include "raster/s_buffers.h"

struct GlContext;

// Each map has an entry for every byte, so that any stored byte indexes it;
// bytes beyond the stencil bits act as the value of the bits there are.
#define __GL_STENCIL_MAP_SIZE 256

// Rebuilds the four maps from the stencil state (allocating them the first
// time). When they cannot be allocated the maps of "no stencil work" stand
// in (every test passes, every operation keeps), and the next pick tries
// again.
void __glValidateStencil(GlContext *gc);
