// What the parts of the general span share: the out-of-line fix-ups that
// the pixel loop jumps to and that are placed behind the span, and the
// texture code's runs and pixels.
#pragma once

#include <array>
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
// eax limited to [0, max] through a fix-up out of line.
void LimitChannel(Gen &g, SpanLabels &l, uint32_t max);
// The colour index in edx wrapped to the buffer's index bits.
void WrapIndex(Gen &g);
// The pixel in edx stored at edi in the pixel's size.
void StorePixel(Gen &g);
// The fix-ups the pixel code collected.
void EmitFixups(Gen &g, SpanLabels &l);

// Texturing: the span runs in runs of at most 16 pixels; the pixels of the
// current run are counted in the pixel-counter local, so ebx is free for
// the texel address. Entered with ebx = the span's pixel count.
void TextureSpanStart(Gen &g);
// The packed coordinate's step of one pixel.
void TextureStep(Gen &g);
// Counts the pixel; loops to `pixel` inside a run, starts the next run, or
// goes on behind the span.
void TextureRunEnd(Gen &g, OgCode *pixel);
// Behind the span: the perspective values leave the x87 stack.
void TextureSpanEnd(Gen &g);
// The texel of the packed coordinate, combined with the colour, packed and
// stored at edi (or copied from the frame-buffer copy of the level).
void TexturePixel(Gen &g, SpanLabels &l);

// Words the textured pixel writes: the packed coordinate, the packed pixel
// being gathered and the pixel's dither value. They live in the span record
// on the stack, not in the data area in front of the code: a write to a
// page that holds code makes emulators (and some processors) take it for
// changed code.
OgCode *PackedCoord(Gen &g);
OgCode *PixelWord(Gen &g);
OgCode *DitherWord(Gen &g);

// s/q and t/q at the current point of the x87 stack into data words 32 and
// 36 and as fixed point into the doubles at 0 and 8; the point advances by
// `length` pixels and 1/q of the new point is divided at once.
void pcstep(Gen &g, OgCode *length);
// The packed per-pixel step of the run whose length the pixel counter
// holds, from s/q and t/q now and before; now becomes before.
void pcstepnext(Gen &g);

// 0, then 1/n for n = 1 to 16: the per-pixel share of a run of n pixels.
extern const std::array<float, 17> reciprocals;

}  // namespace og_raster
