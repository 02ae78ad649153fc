// The span record of the fast rasterizer and the pre-built triangle set-up
// that fills it. One record per triangle lives on the set-up's stack (the
// generated set-ups lay out the same words in their frame); every spanlet
// receives its address. Generated code finds the fields by offset, so the
// order below is fixed and pinned by the asserts after the record.
//
// The code generator's texts name some of these words differently:
//   yStart, yBottom, yEnd                 -> iyTop, iyBottom, iyMiddle
//   xA, xB, xBLower                       -> ixLong, ixShort, ixLower
//   xAStep[2], xBStep[2], xBStepLower[2]  -> dxLong/dxLongCarry, dxShort/dxShortCarry,
//                                            dxLower/dxLowerCarry
//   errA, errB, errBLower                 -> fracLong, fracShort, fracLower
//   errAStep, errBStep, errBStepLower     -> dfracLong, dfracShort, dfracLower
//   block q, qEdge, qDx, qDx32, qDy[2]    -> group P, PEdge, dPdx, dPdxBig, dPEdge/dPEdgeCarry
//   dst, zPtr, sPtr, dst2 blocks          -> pixel, zbuf, sbuf, pixel2 groups
//   packed flat pixel in rEdge            -> flatPixel (shares rEdge)
//   ps, pt, pq (Dx32, Dx16, Dy[2], d/dy)  -> sf, tf, qf (dPdxBig, dPdxHalf,
//                                            dPEdge/dPEdgeCarry, dPdy)
//   lod (lodDx32, lodDx16, lodDy[2])      -> rho (drhodxBig, drhodxHalf, drhoEdge/drhoEdgeCarry)
//   texels (level 0's image)              -> texImage (texels is the texel buffer)
//   spanContext                           -> gc
//   the MMX 8.24 q, qEdge, qDx, qDy[2]    -> q, qEdge, dqdx, dqEdge/dqEdgeCarry
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

// A byte address in a buffer (one declarator type, so groups of them work).
typedef uint8_t *FrAddress;

// Integer iterator words of one quantity: value at the chunk's first pixel,
// at the span's first pixel, per pixel in walk order, per 32-pixel chunk,
// per row (long edge without and with its carry).
#define FR_INT_GROUP(type, P) \
  type P, P##Edge;            \
  int32_t d##P##dx, d##P##dxBig, d##P##Edge, d##P##EdgeCarry;
// Float iterator words: as above plus half a chunk and the y derivative.
#define FR_FLOAT_GROUP(P)                                                                 \
  GLfloat P, P##Edge, d##P##dx, d##P##dxBig, d##P##dxHalf, d##P##Edge, d##P##EdgeCarry, \
      d##P##dy;

typedef struct FrSpan {
  // ---- The chunk and the edge walker ----
  int32_t x;  // first pixel of the chunk; negated for right-to-left spans
  int32_t y;
  int32_t iyTop, iyBottom, iyMiddle;
  int32_t ixLong, ixShort, ixLower;
  int32_t dxLong, dxLongCarry, dxShort, dxShortCarry, dxLower, dxLowerCarry;
  uint32_t fracLong, fracShort, fracLower;  // 0.31, bit 31 clear between rows
  int32_t dfracLong, dfracShort, dfracLower;  // signed 0.31
  int32_t direction;  // +1 left to right, -1 right to left
  // ---- Buffer addresses ----
  FR_INT_GROUP(FrAddress, pixel)
  FR_INT_GROUP(FrAddress, zbuf)
  FR_INT_GROUP(FrAddress, sbuf)
  uint32_t passMask;  // written by the stencil test
  // ---- Integer iterators: depth in depth units, colours 16.16 ----
  FR_INT_GROUP(uint32_t, z)
  int32_t r;
  union {
    int32_t rEdge;
    uint32_t flatPixel;  // flat, undithered: the packed pixel (or the index)
  };
  int32_t drdx, drdxBig, drEdge, drEdgeCarry;
  FR_INT_GROUP(int32_t, g)
  FR_INT_GROUP(int32_t, b)
  FR_INT_GROUP(int32_t, a)
  FR_INT_GROUP(int32_t, s)  // affine texture coordinates, 16.16
  FR_INT_GROUP(int32_t, t)
  GLfloat drhodxSeg;        // scratch of the perspective texel spanlets
  FR_INT_GROUP(int32_t, q)  // generated set-ups only
  // ---- Float iterators: perspective texture and level of detail ----
  FR_FLOAT_GROUP(sf)
  FR_FLOAT_GROUP(tf)
  FR_FLOAT_GROUP(qf)
  GLfloat rho, rhoEdge, drhodx, drhodxBig, drhodxHalf, drhoEdge, drhoEdgeCarry;
  // ---- Texture level 0 ----
  FrAddress texImage;
  int32_t texWidth, texWidthLog2, texHeight, texHeightLog2;
  // ---- Per-chunk buffers: entry i belongs to mask bit 31 - i ----
  uint32_t colors[32];
  uint32_t texels[32];
  const uint32_t *ditherTable;
  const uint32_t *ditherRow;
  FR_INT_GROUP(FrAddress, pixel2)  // the front buffer while drawing into both
  // Polygon offset in depth units; halves of a unit on a 16-bit buffer.
  int32_t offsetZ;
  GlContext *gc;
  // Written by every generated set-up, read by the MMX size test.
  GLfloat sizeMeasure;
} FrSpan;

#undef FR_INT_GROUP
#undef FR_FLOAT_GROUP

// Generated set-ups build the record in an 864-byte frame, and name-space
// ids (which are offsets) must stay below 1000.
static_assert(sizeof(FrSpan) == 200 * 4, "FrSpan is 200 words");
static_assert(sizeof(FrSpan) <= 864, "FrSpan fits the generated set-up's frame");
static_assert(offsetof(FrSpan, sizeMeasure) < 1000, "every FrSpan offset is a valid name id");
#define FR_SPAN_AT(field, words) \
  static_assert(offsetof(FrSpan, field) == (words) * 4, "FrSpan." #field " moved")
FR_SPAN_AT(x, 0);
FR_SPAN_AT(y, 1);
FR_SPAN_AT(iyTop, 2);
FR_SPAN_AT(iyBottom, 3);
FR_SPAN_AT(iyMiddle, 4);
FR_SPAN_AT(ixLong, 5);
FR_SPAN_AT(ixShort, 6);
FR_SPAN_AT(ixLower, 7);
FR_SPAN_AT(dxLong, 8);
FR_SPAN_AT(dxLowerCarry, 13);
FR_SPAN_AT(fracLong, 14);
FR_SPAN_AT(dfracLong, 17);
FR_SPAN_AT(dfracLower, 19);
FR_SPAN_AT(direction, 20);
FR_SPAN_AT(pixel, 21);
FR_SPAN_AT(dpixelEdgeCarry, 26);
FR_SPAN_AT(zbuf, 27);
FR_SPAN_AT(sbuf, 33);
FR_SPAN_AT(passMask, 39);
FR_SPAN_AT(z, 40);
FR_SPAN_AT(dzEdgeCarry, 45);
FR_SPAN_AT(r, 46);
FR_SPAN_AT(rEdge, 47);
FR_SPAN_AT(flatPixel, 47);
FR_SPAN_AT(g, 52);
FR_SPAN_AT(b, 58);
FR_SPAN_AT(a, 64);
FR_SPAN_AT(s, 70);
FR_SPAN_AT(dsdx, 72);
FR_SPAN_AT(t, 76);
FR_SPAN_AT(dtdx, 78);
FR_SPAN_AT(drhodxSeg, 82);
FR_SPAN_AT(q, 83);
FR_SPAN_AT(sf, 89);
FR_SPAN_AT(dsfdy, 96);
FR_SPAN_AT(tf, 97);
FR_SPAN_AT(qf, 105);
FR_SPAN_AT(rho, 113);
FR_SPAN_AT(drhoEdgeCarry, 119);
FR_SPAN_AT(texImage, 120);
FR_SPAN_AT(texWidth, 121);
FR_SPAN_AT(texWidthLog2, 122);
FR_SPAN_AT(texHeight, 123);
FR_SPAN_AT(texHeightLog2, 124);
FR_SPAN_AT(colors, 125);
FR_SPAN_AT(texels, 157);
FR_SPAN_AT(ditherTable, 189);
FR_SPAN_AT(ditherRow, 190);
FR_SPAN_AT(pixel2, 191);
FR_SPAN_AT(offsetZ, 197);
FR_SPAN_AT(gc, 198);
FR_SPAN_AT(sizeMeasure, 199);
#undef FR_SPAN_AT

// The pre-built set-up and walk, a procs.fillTriangle candidate: context in
// ECX, a in EDX, b and c on the stack. Hands every chunk of up to 32 pixels
// to procs.fillTriangleSpan. The vertices are left as they came.
void GLFASTCALL __glFRRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// The level-of-detail group (rhoEdge, drhodx, drhoEdge, drhoEdgeCarry) of a
// triangle. Generated set-ups call it directly: context in ECX, span in EDX,
// the ten other words pushed from dyA back to a and removed by the callee.
// a, b, c are sorted top, bottom, middle; the four deltas are already
// divided by the area; dxLong must be in walk direction.
void GLFASTCALL __glFRSetupRho(GlContext *gc, FrSpan *span, GlVertex *a, GlVertex *b,
                               GlVertex *c, GLfloat dxAB, GLfloat dyAB, GLfloat dxAC,
                               GLfloat dyAC, GLfloat slopeAB, GLfloat dxA, GLfloat dyA);
// The squared texel-space scale of a one-pixel step at (s, t, q), from the
// span's float texture derivatives; the result comes back in ST(0).
GLfloat GLFASTCALL __glFRComputePolygonRho(GlContext *gc, FrSpan *span, GLfloat s, GLfloat t,
                                           GLfloat q);
