// What the setup generator's tests share: a context with the code caches, a
// colour, depth and stencil buffer in test memory, a stub span routine that
// copies the span record out and ends the triangle, a name space standing
// for the raster routine's, and a C reference of the setup's arithmetic.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include <gtest/gtest.h>

#include "codegen/og_ras.h"
#include "core/context.h"
#include "core/drawable.h"
#include "fastraster/fr_setup.h"
#include "tests/codegen/emitter/og_support.h"

namespace setup_test {

// The words the stub copied out and how often it ran.
extern uint32_t gFrame[sizeof(FrSpan) / 4];
extern int gReached;

struct Buffer {
  GlDrawableBuffer record = {};
  std::vector<uint8_t> memory;
  // width x height pixels of `size` bytes; a negative pitch starts at the
  // last row (bottom-up).
  void Make(uint32_t width, uint32_t height, uint32_t size, bool bottomUp = false);
};

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes a triangle's vertex (window x, y, z already in window units).
  GlVertex *Vertex(int i, float x, float y, float z = 0.25f);
  // Generates for the current flags and runs the setup on (a, b, c) with
  // the x87 control word `cw`; returns eax. Copies the span words out of
  // gFrame through `ns` into `span` when the stub was reached.
  uint32_t Run(GlVertex *a, GlVertex *b, GlVertex *c, uint16_t cw = 0x027F);
  void *Generate(bool spanlet = false) { return __glGenerateSetup(gc, spanlet); }
  // The span word of field `id` as the stub saw it.
  uint32_t Word(size_t id) const;
  float FloatWord(size_t id) const;
  // A compacted raster name space: every FrSpan word, in a shuffled but
  // block-preserving order.
  void UseCompactedSpace();

  GlContext *gc = nullptr;
  uint8_t *stub = nullptr;
  OgNameSpace rasterNs;
  Buffer color, depth, stencil, front2;
  GlVertex vertices[4];
  GlColor colors[4];
  GLbool8 spanlet = 0;
  int liveBefore = 0;
};

// The setup's arithmetic in C, from the vertices as given.
struct Reference {
  bool rejected = false;
  GlVertex *top, *bottom, *middle;
  float area;
  int32_t direction;
  int32_t iyTop, iyBottom, iyMiddle;
  int32_t ix[3], dx[3], dxCarry[3];  // long, short (upper), lower
  uint32_t frac[3];
  int32_t dfrac[3];
  float xTop, yTop, xPre, yPre;  // adjusted top vertex, the planes' presteps
  int32_t ixLongBeforeNegation, dxLongTrue, dxLongCarryTrue;
  float dxL, dyL, dxU, dyU;  // before the snap, over their area
  bool slopeNegative;
};
Reference Compute(const GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// A quantity's plane as the double model sees it.
struct PlaneModel {
  double edge, dx, dy;  // dy: the row step without carry, true direction
};
PlaneModel Plane(const Reference &r, double top, double bottom, double middle);

}  // namespace setup_test
