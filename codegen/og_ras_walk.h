// What the parts of the span rasterizer generator share: the routine being
// written, the decisions the state fixes, its locals and operands for span
// words, locals and the data area.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "codegen/og.h"
#include "codegen/og_ns.h"
#include "codegen/og_ras_emit.h"
#include "core/context.h"

namespace og_raster {

// Bits of the second raster key word.
enum : uint32_t {
  kKeySpanlet = 0x1u,
  kKeyEnvShift = 1,              // bits 1-3
  kKeyWidthShift = 4,            // bits 4-7 (or the source blend factor)
  kKeyHeightShift = 8,           // bits 8-11 (or the destination blend factor)
  kKeyColorIndexTexture = 0x1000u,
  kKeyBaseFormatShift = 13,      // bits 13-15
  kKeyAuxImage = 0x10000u,       // the routine copies level 0's frame-buffer copy
  kKeyDepthFuncShift = 24,       // bits 24-26
  kKeyDeepDepth = 0x8000000u,    // more than 16 depth bits
  kKeyDepthWrite = 0x10000000u,
  kKeyDoubleStore = 0x20000000u,
  kKeyLevelOfDetail = 0x40000000u,
  kKeyEffectiveDepth = 0x80000000u,  // in every mode: the depth fields are walked
};
// The mode flags the first key keeps.
constexpr uint32_t kKey1Mask = 0xFFFEFBEFu;
// Data area in front of the code.
constexpr uint32_t kDataArea = 2000u;
// The MMX body ends less than this far behind the code start.
constexpr uint32_t kMmxLimit = 0x3800u;

// Integer blocks of FrSpan: value, edge, per pixel, per chunk, row steps.
constexpr size_t kEdge = 4, kDx = 8, kDx32 = 12, kDy = 16;
// Float blocks put the half-chunk step before the row steps and d/dy after.
constexpr size_t kFDx16 = 16, kFDy = 20, kFDdy = 28;

struct Gen {
  GlContext *gc;
  uint8_t *start;  // code start: cell + kDataArea
  uint8_t *cb;
  uint8_t *end;    // the cell's end
  uint8_t *data;   // the data area, 8-aligned
  OgNameSpace *ns;
  uint32_t key1, key2, flags;
  bool spanlet, rgba, texturing, perspective, lod, dither, stencil, doubleStore;
  bool colorIterated;  // the span code iterates colour (not under GL_REPLACE)
  bool walkColor;      // the colour planes exist and are walked (flag 0x2)
  bool walkAlpha;
  bool depth;          // effective depth: a test that can fail or a write
  bool flatFill;
  bool mmx;            // the body is the MMX rasterizer
  bool dual;           // an MMX body in front, small triangles below
  uint32_t bpp;
  GLenum env;          // effective; 0 without texturing
  int32_t widthLog2, heightLog2;

  // Locals below the span record; `bias` is their size once allocated, so
  // span words lie at esp + bias + place.
  int32_t bias;
  int32_t pixelCount, pixelsLeft, rowsLeft, ditherColumn, blendRows, ditherRowLocal,
      ditherPixels;
  OgCode *scratch[10];    // the data-area variables of the texture code
  OgCode *rounding[16];   // 1.5 x 2^(36 + i)

  void E(OgCode *c) { cb = emit_code(gc, cb, c); }
  OgCode *V(int32_t v) { return value(gc, v); }
  OgCode *Abs(const void *p) {
    return mem(gc, value(gc, int32_t(uintptr_t(p))), nullptr, nullptr, 1);
  }
  uint32_t Place(size_t id) { return __glNSWhereIs(ns, uint32_t(id), 4); }
  // A span word, declared at its first use.
  OgCode *F(size_t id) { return mem2(gc, V(bias + int32_t(Place(id))), esp); }
  // Word `index` (a register holding 0 or 1) of a pair declared together;
  // the MMX body interleaves two blocks, which puts the pair 8 bytes apart.
  OgCode *Pair(size_t id, OgCode *index) {
    const uint32_t first = Place(id);
    const uint32_t apart = Place(id + 4) - first;
    return mem(gc, V(bias + int32_t(first)), esp, index, apart == 8 ? 8 : 4);
  }
  OgCode *Local(int32_t offset) { return mem2(gc, offset ? V(offset) : nullptr, esp); }
  void Mark(OgCode *l) { resolve(gc, l, cb); }
};

// The MMX generator's factor index (0..10) of a blend factor.
uint32_t bf_to_index(GLenum factor);

// Both key words of the current state.
uint32_t RasterKey2(GlContext *gc, bool spanlet);
// Fills the decisions of `g` from the state and key words.
void Decide(Gen &g);

// Generation steps.
void DeclareFields(Gen &g);         // the declaration order of the record
void MakeDataVariables(Gen &g);     // scratch operands and rounding constants
void EmitGuard(Gen &g);
void AllocateLocals(Gen &g);
void EmitTriangleSetupCode(Gen &g); // flat modulate rows, affine steps, flat table
void EmitWalk(Gen &g);              // halves, rows, spans and edges to the end
void EmitChunks(Gen &g);            // spanlet mode: the span in 32-pixel chunks
// edx = carry (0 or 1) of one edge: e = err + step, err = e & 0x7FFFFFFF.
void Carry(Gen &g, size_t err, size_t step);
// Edge B takes the lower half's values; the rows of the lower half follow.
void NextHalf(Gen &g);
// Places `half`: eax = the half's rows and y = its top row; an empty half
// goes on at `halfDone`.
void HalfStart(Gen &g, OgCode *half, OgCode *halfDone);
// Places `halfDone`: after the lower half on to `done`, else the lower
// half's edge and back to `half`.
void HalfEnd(Gen &g, OgCode *half, OgCode *halfDone, OgCode *done);
// ditherRow for column `x` (an operand) of the current row.
void set_dither(Gen &g, OgCode *x);

// Span code of the routines outside spanlet mode, entered with ebx = the
// span's pixel count: the flat fill, and the general span. Both declare
// the setup's words first. The MMX body is the whole routine of textured
// and blended states and the front of a dual routine otherwise.
void flatspan(Gen &g);
void span(Gen &g);
void BuildMMXRasterizer(Gen &g);
// Every span word the setup writes for this state, so that a compacted
// layout holds them all.
void DeclareSetupWords(Gen &g);

}  // namespace og_raster
