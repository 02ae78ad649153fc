// What the parts of the MMX span body share: the data-area slots, the
// decisions of one body and the pixel-stage emitters. The body draws RGB
// spans of 8- or 16-bit pixels four pixels at a time, in groups whose
// destination bytes are one aligned unit, with affine texturing, and
// blends them with the destination group.
//
// Registers between stages: esp the span record, edi the destination group,
// esi the depth group, ebx the lanes left, ecx the pass mask (one byte per
// pixel in memory order), mm4 the depth lanes, mm5..mm7 the red, green and
// blue words of the group (or the packed flat pixels in mm7), mm0..mm3
// scratch. Textured, mm6 and mm7 are the s and t words, green and blue
// live in slots 52 and 55, and ebp is the texel base.
#pragma once

#include <stdint.h>

#include <array>

#include "codegen/og_ras_walk.h"

namespace og_raster {

// Data-area slots (8 bytes each) of the MMX body.
enum MmxSlot : int32_t {
  kSlotColorStep = 0,     // 0..3: red, green, blue, alpha per group
  kSlotTexStep = 4,       // 4, 5: s and t per group
  kSlotDepthStep = 6,     // 4 x dz/dx in both dwords
  kSlotColorRows = 7,     // 7..22: start offsets, four rows per channel
  kSlotTexRows = 23,      // 23..30: s, then t
  kSlotDepthRows = 31,    // 31..34
  kSlotDitherWords = 35,  // 35..46: per channel four rows of four columns
  kSlotPassMask = 48,     // ecx while a texel fetch uses it
  kSlotDepthPair = 49,    // the distance of the second depth pair
  kSlotFlat = 51,         // 51, 52, 55: flat red, green, blue words
  kSlotAlpha = 53,        // the group's alpha words (iterated or flat)
  kSlotSourceAlpha = 54,  // alpha as the blend factors read it
  kSlotDitherRow = 57,    // 57..59: the span's dither words, blended spans
  kSlotBlendSource = 61,  // 61..63: source (or texel) red, green, blue at top bit 14
  kSlotOne = 64,          // 16384 (1.0) in all words
  kSlotBlendDest = 65,    // 65..67: destination red, green, blue
  kSlotDestAlpha = 68,    // 16384: the buffer keeps no alpha
  kSlotDestFactor = 69,   // 69..71
  kSlotSourceFactor = 73, // 73..75
  kSlotTexels = 78,       // the index bytes' base in both dwords (palette textures)
  kSlotSubStart = 79,     // s and t at the perspective sub-span's start
  kSlotSubBoundary = 80,  // lanes left when the next sub-span starts (-1: none)
  kSlotRows = 81,         // scan lines left in the half
  kSlotSubCount = 82,     // the sub-span's pixels, and its first lane row
  kSlotTexShift = 83,     // 83, 84: 16 - widthLog2, 16 - heightLog2 as 64-bit counts
  kSlotPaletteMask = 87,  // the palette's width - 1
  kFrameSlots = 88,       // the slots above are the body's frame
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
  bool blend = false;       // the group is blended with its destination
  bool blendAlpha = false;  // a blend factor reads alpha
  GLenum sourceFactor = GL_ONE, destFactor = GL_ZERO;
  bool texturing = false;
  GLenum env = 0;           // GL_MODULATE combines; every other takes the texel
  GLenum baseFormat = 0;    // the texel's (for palette textures the palette's)
  bool indexed = false;     // texels are index bytes into the palette
  bool direct = false;      // texels are frame-buffer pixels
  bool colorWords = true;   // red, green and blue words exist
  uint32_t max[3] = {}, shift[3] = {};
  int32_t bits[3] = {};   // floor(log2(max))

  // Slots the body writes while it runs live in its frame on the stack:
  // stores next to code that runs are slow (they look like code changes).
  // The dither words, written at generation, stay in the data area.
  OgCode *Slot(int32_t i) const { return mem2(g.gc, g.V(8 * i), esp); }
  OgCode *SlotIndexed(int32_t i, OgCode *index, uint32_t scale) const {
    return mem(g.gc, g.V(8 * i), esp, index, scale);
  }
  // Where channel k's words live: green and blue of a textured body in
  // slots, the rest in mm5..mm7; flat textured colour stays in its slots.
  bool InSlot(int k) const { return texturing && (k > 0 || !iterated); }
  OgCode *ColorWords(int k) const {
    static const int32_t flat[3] = {kSlotFlat, kSlotFlat + 1, kSlotFlat + 4};
    OgCode *const regs[3] = {mm5, mm6, mm7};
    return InSlot(k) ? Slot(flat[k]) : regs[k];
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
// Blended groups read the destination group at edi.
void genpix(MmxGen &m);
// Limits the words of `reg` to [0, 0x7FFF]: words past the top (below
// 0xC000) give 0x7FFF, those above 0xC000 (below 0) give 0.
void ClampWords(MmxGen &m, OgCode *reg);
// The blend of the source words (slots 61..63, alpha in slot 54) with the
// destination group at edi, finished and packed into mm0 (mm1..mm3 scratch).
void genblend(MmxGen &m);
// The three words of a blend factor (one operand per colour channel),
// computed into slots from `at` on where they depend on the group.
void calc_blend_factor(MmxGen &m, OgCode *out[3], GLenum factor, int32_t at);
// Brings a blend sum (top bit 12) back to top bit 14, saturating.
void clamp_blend_factor(MmxGen &m, OgCode *reg);
// The source alpha the factors read (slot 54) from the colour's (slot 53),
// limited to [0, 1.0].
void SourceAlpha(MmxGen &m);
// Limits the words of `reg` to [0, 16384].
void ClampAlpha(MmxGen &m, OgCode *reg);
// genpix for a textured body: the colour of a group into mm0 from its
// texel addresses, fetch and environment, then blend or dither and pack.
void TexturePix(MmxGen &m);
// Whether a blend factor reads alpha; whether a base format has alpha.
bool uses_alpha(GLenum factor);
bool has_alpha(GLenum baseFormat);
// Packs the words of mm5..mm7 into mm0 at the buffer's shifts (mm1 scratch).
void PackWords(MmxGen &m);
// Channel k's word in `reg`, its top bit at `top`, moved to the channel's
// place in the pixel and masked.
void PackChannel(MmxGen &m, OgCode *reg, int k, int32_t top);
// The depth test of a group: ecx = pass mask (and-ed with the lane mask in
// ecx when `masked`); writes the passing depths; jumps to `none` when no
// pixel passes. Uses mm0..mm3.
void genz(MmxGen &m, bool masked, OgCode *none);
// Stores the pixels of mm0 whose mask byte in ecx is set, at edi.
void MaskedStore(MmxGen &m);

// Perspective texturing. The q words of the span record are paired with
// words of their own (ids past the record), stepped along with them.
constexpr size_t kQPartner = 900;
static_assert(kQPartner > 800 && kQPartner + 20 < 1000, "partner ids lie past the record");
// Reciprocal mantissas: low half 2^23 / (256 + i) (at most 0x7FFF), high
// half twice the difference to the next entry.
extern const std::array<uint32_t, 256> recips;
// 1/n with 15 fraction bits; the first sub-span's length by direction (0
// right to left) and start lane; the start lane's pixel offset.
extern const std::array<uint32_t, 20> fracs;
extern const uint32_t spanlen[2][4];
extern const int32_t initials[2][4];
// (a x r) >> 15 per 32-bit lane of `a`, r a 15-bit fraction in every word.
void mul32x16(Gen &g, OgCode *a, OgCode *r, OgCode *scratch);
// a x n per 32-bit lane (low 32 bits), n a small integer in every word.
void mul32x16i(Gen &g, OgCode *a, OgCode *n, OgCode *scratch, OgCode *odd);
// a times the reciprocal in mm0 (words) and mm2 (shift count).
void perspective(Gen &g, OgCode *a, OgCode *scratch);
// The reciprocal subroutine: ecx = a positive 8.24 q; returns its mantissa
// in the four words of mm0 and the shift count in mm2 (eax, ecx, edx
// scratch). Ends with ret.
void reciprocal(Gen &g);
// The per-sub-span subroutine of one direction, entered at `start` at the
// span's start or at `next` at a sub-span boundary: new lane words in mm6
// and mm7, group steps in slots 4 and 5.
void PerspectiveSubSpan(Gen &g, int32_t dir, OgCode *start, OgCode *next, OgCode *recip);
// At a span's start (ebx = length, ecx = start lane; ecx kept).
void PerspectiveSpanStart(Gen &g, int32_t dir, OgCode *start);
// At the top of the whole-group loop: the next sub-span when it starts here.
void PerspectiveBoundary(Gen &g, int32_t dir, OgCode *next);

}  // namespace og_raster
