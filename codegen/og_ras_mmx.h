// What the parts of the MMX span body share: the data-area slots, the
// decisions of one body and the pixel-stage emitters. The body draws
// untextured, unblended RGB spans of 8- or 16-bit pixels four pixels at a
// time, in groups whose destination bytes are one aligned unit.
//
// Registers between stages: esp the span record, edi the destination group,
// esi the depth group, ebx the lanes left, ecx the pass mask (one byte per
// pixel in memory order), mm4 the depth lanes, mm5..mm7 the red, green and
// blue words of the group (or the packed flat pixels in mm7), mm0..mm3
// scratch.
#pragma once

#include <stdint.h>

#include "codegen/og_ras_walk.h"

namespace og_raster {

// Data-area slots (8 bytes each) of the MMX body.
enum MmxSlot : int32_t {
  kSlotColorStep = 0,     // 0..2: red, green, blue per group
  kSlotDepthStep = 6,     // 4 x dz/dx in both dwords
  kSlotColorRows = 7,     // 7..18: start offsets, four rows per channel
  kSlotDepthRows = 31,    // 31..34
  kSlotDitherWords = 35,  // 35..46: per channel four rows of four columns
  kSlotDepthPair = 49,    // the distance of the second depth pair
  kSlotFlat = 51,         // 51, 52, 55: flat red, green, blue words
  kSlotRows = 81,         // scan lines left in the half
  kFrameSlots = 82,       // the slots above are the body's frame
  kSlotDitherTurned = 96, // dither rows turned to a group's lanes (below)
};
// Turned dither rows: for each direction (right to left first), row y & 3
// and the column of lane 0, the red, green and blue words.
constexpr int32_t kDitherTurnedSlots = 2 * 4 * 4 * 3;

struct MmxGen {
  Gen &g;
  int32_t dir = 1;        // the copy being generated: -1 or +1
  uint32_t groupBytes = 8;  // 4 (8-bit pixels) or 8 (16-bit pixels)
  uint32_t depthBytes = 2;  // bytes of one depth element: 2 or 4
  bool iterated = false;  // colour words walk across the span
  bool writesColor = true;  // false in the depth pass
  uint32_t max[3] = {}, shift[3] = {};
  int32_t bits[3] = {};   // floor(log2(max))

  // Slots the body writes while it runs live in its frame on the stack:
  // stores next to code that runs are slow (they look like code changes).
  // The dither words, written at generation, stay in the data area.
  OgCode *Slot(int32_t i) const { return mem2(g.gc, g.V(8 * i), esp); }
  OgCode *SlotIndexed(int32_t i, OgCode *index, uint32_t scale) const {
    return mem(g.gc, g.V(8 * i), esp, index, scale);
  }
  OgCode *Dword(uint32_t v) const { return mxk4(g.gc, v & 0xFFFF, v >> 16, v & 0xFFFF, v >> 16); }
  OgCode *Words(uint32_t w) const { return mxk4(g.gc, w, w, w, w); }
};

// Emission routines of the body, each appending at g.cb.
// Each operand of `fields` shifted left by `by` in place.
void kerrect(Gen &g, const size_t *fields, int count, int32_t by);
// Rounds the 32-bit lanes of `reg` toward zero for a following arithmetic
// shift by 32 - n (mm3 scratch); rtzw does the same on 16-bit lanes.
void rtz(Gen &g, OgCode *reg, int32_t n);
void rtzw(Gen &g, OgCode *reg, int32_t n);
// The colour words advance one group.
void genstep(MmxGen &m);
// Four finished pixels (one a 16-bit lane) into mm0 from mm5..mm7, or the
// packed flat pixels from mm7; the caller steps the words once a group.
void genpix(MmxGen &m);
// Packs the words of mm5..mm7 into mm0 at the buffer's shifts (mm1 scratch).
void PackWords(MmxGen &m);
// The depth test of a group: ecx = pass mask (and-ed with the lane mask in
// ecx when `masked`); writes the passing depths; jumps to `none` when no
// pixel passes. Uses mm0..mm3.
void genz(MmxGen &m, bool masked, OgCode *none);
// Stores the pixels of mm0 whose mask byte in ecx is set, at edi.
void MaskedStore(MmxGen &m);

}  // namespace og_raster
