// What the parts of the general span share: the out-of-line fix-ups that
// the pixel loop jumps to and that are placed behind the span.
#pragma once

#include <vector>

#include "codegen/og_ras_walk.h"

namespace og_raster {

// A channel outside [0, max]: `fix` limits eax and jumps back to `back`.
struct SpanFixup {
  OgCode *fix, *back;
  uint32_t max;
};

struct SpanLabels {
  std::vector<SpanFixup> fixups;
};

// The colour of the pixel at edi, packed and stored. Uses eax, ecx, edx.
void SpanPixel(Gen &g, SpanLabels &l);
// The fix-ups the pixel code collected.
void EmitFixups(Gen &g, SpanLabels &l);

}  // namespace og_raster
