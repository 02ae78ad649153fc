// What the parts of the setup generator share: the routine being written,
// the layout of the context's setup data area, and operands for span,
// vertex, data-area and context words.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "codegen/og.h"
#include "core/context.h"

namespace og_setup {

// Offsets in the setup data area (gc->triSetupData rounded up to 8).
enum : uint32_t {
  kScratchA = 0,
  kTruncCw = 0,  // in scratch A while the edges are set up: truncation
  kStartCw = 4,  // and the control word of the edges' first-row x
  kScratchB = 8,
  kScratchC = 16,
  kTop = 24,
  kBottom = 28,
  kMiddle = 32,
  kDxLong = 36,
  kDyLong = 40,
  kDxUpper = 44,
  kDyUpper = 48,
  kDxLower = 52,
  kDyLower = 56,
  kSlopeLong = 60,
  kSlopeUpper = 64,
  kSlopeLower = 68,
  kXPrestep = 72,
  kYPrestepTop = 76,
  kRecipArea = 80,  // the spare word: 1 / area between steps 13 and 16
  kYPrestepMiddle = 84,
  kXStepLongFloat = 88,
  kDirectionMask = 92,
  kSlopeSignMask = 96,  // XOR the direction mask
  kCallerCw = 100,
  kDirectionFloat = 104,
  kSlopeSignFloat = 108,
  kSave = 112,  // vertex save area
  kSaveSize = 252,
  // Adjusted window x and y before the snap, 8 bytes a vertex in the order
  // of eax, ebx, ecx (top, bottom, middle once sorted): the planes' corners.
  kPlaneCorners = kSave + kSaveSize,
  kPlaneArea = kPlaneCorners + 24,  // the area of those corners
  kScratchTriples = kPlaneArea + 4,
};
// Inside the save area.
constexpr uint32_t kSavePointers = 0;     // a, b, c
constexpr uint32_t kSaveWindow = 12;      // 16 bytes a vertex: x, y, z, spare
constexpr uint32_t kSaveColors = 60;      // 16 bytes a vertex
constexpr uint32_t kSaveProvoking = 108;  // 16 bytes
static_assert(kSaveProvoking + 16 <= kSaveSize, "the save area holds what it saves");
constexpr int32_t kDataBias = 128;  // multiple of 8: doubles stay aligned

// The bits of the float 6144 + 1 and of 6144 itself; a row or column shifted
// left by 11 and added gives its pixel centre, or its left edge, as an
// adjusted coordinate.
constexpr int32_t kBits6145 = 0x45C00800;
constexpr int32_t kBits6144 = 0x45C00000;

struct Gen {
  GlContext *gc;
  uint8_t *cb;
  OgNameSpace *ns;     // the raster routine's: where span fields lie
  uint32_t flags;      // the mode flags the routine is made for
  uint32_t stateBits;  // the second key's state bits
  bool spanlet;
  bool needColor;
  uint8_t *data;       // the data area, 8-aligned
  OgCode *reject;      // rejection before the control word changes
  OgCode *rejectCw;    // rejection after it: restores it first
  OgCode *fixedPlane;  // near-called plane subroutines, placed behind the jump
  OgCode *floatPlane;
  bool usesFixed, usesFloat;
  // Distances from a fixed-point block's edge word to its per-pixel step,
  // per-32-pixel step and row steps, as the subroutine stores them.
  int32_t fixedDx, fixedDx32, fixedDy, fixedDyCarry;
  bool fixedMeasured;
  // The same for float blocks: per pixel, row steps, d/dy.
  int32_t floatDx, floatDy, floatDyCarry, floatDdy;
  bool floatMeasured;
  uint32_t triples;    // next free scratch triple of the data area

  void E(OgCode *c) { cb = emit_code(gc, cb, c); }
  OgCode *V(int32_t v) { return value(gc, v); }
  OgCode *Abs(const void *p) {
    return mem(gc, value(gc, int32_t(uintptr_t(p))), nullptr, nullptr, 1);
  }
  // Data-area words through ebp, which holds data + kDataBias from the body's
  // start, so that most of them take a one-byte displacement.
  OgCode *D(uint32_t offset) { return mem2(gc, value(gc, int32_t(offset) - kDataBias), ebp); }
  // A span-record word; the raster routine must have declared it.
  OgCode *Span(size_t id);
  uint32_t SpanPlace(size_t id);
  // A vertex word at `offset` of the GlVertex in `reg`.
  OgCode *Vtx(OgCode *reg, size_t offset) {
    return mem2(gc, value(gc, int32_t(__glNSWhereIs(&gc->vertexShape, uint32_t(offset), 4))), reg);
  }
  void Place(OgCode *l) { resolve(gc, l, cb); }
  OgCode *At(OgCode *reg, int32_t offset) { return mem2(gc, offset ? V(offset) : nullptr, reg); }
};

// true: blending or alpha test on, texturing off, or an environment other
// than GL_REPLACE (a replacing texture supplies the whole colour).
bool NeedColor(uint32_t flags, GLenum env);
// The texture environment, with GL_DECAL on an RGB texture counted as
// GL_REPLACE.
GLenum EffectiveEnv(const GlContext *gc);

// Emission in the order of the routine.
void AdjustVertices(Gen &g);    // save, half a pixel, depth and colour scales
void RejectOutOfRange(Gen &g);  // NaN, infinities, beyond the window range
void SnapAndSort(Gen &g);       // plane corners, snap, the range check, sort
void EdgesAndRows(Gen &g);      // deltas, area, rejection, slopes, rows, edges
void BufferAddresses(Gen &g);
void FinishEdges(Gen &g);       // control word back, negation, presteps
void RestoreVertices(Gen &g);

}  // namespace og_setup
