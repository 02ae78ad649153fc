// GlImports for tests: a zero-filling allocator that counts live blocks and
// can refuse the Nth allocation, and a drawable size the test sets.
#pragma once

#include <stdint.h>

#include "core/imports.h"

struct CountingImports {
  // Live blocks (allocated and not yet freed) and all allocations so far.
  static int live();
  static int allocations();
  // Refuses the allocation numbered `n` (1 = the next one); 0 refuses none.
  static void failAllocation(int n);
  // What getDrawableSize reports; `bound` false reports zeros and false.
  static void setDrawableSize(int32_t x, int32_t y, uint32_t width, uint32_t height,
                              bool bound = true);
  static void reset();  // counters to zero, no failure, size 0 x 0 bound
  static const GlImports imports;
};

// A GlModes for tests: RGBA 5-6-5 (or colour index 8 bits), with the buffers asked for.
GlModes TestModes(bool rgba = true, bool doubleBuffer = true, uint32_t depthBits = 16,
                  uint32_t stencilBits = 8, bool accum = true);
