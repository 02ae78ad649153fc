// The span walk of the pre-built set-up: which iterator groups of the span
// record are in use, their chunk steps and direction, and the walk of the
// rows of one part of the triangle.
#pragma once

#include <stdint.h>

#include "fastraster/fr_setup.h"

// Groups by the word index of their running value: integer groups have six
// words (P, PEdge, dPdx, dPdxBig, dPEdge, dPEdgeCarry), float groups put
// dPdxHalf after dPdxBig.
struct FrWalkPlan {
  uint8_t intGroups[12];
  uint8_t floatGroups[4];
  int32_t intCount = 0, floatCount = 0;
  void AddInt(size_t offset) { intGroups[intCount++] = uint8_t(offset / 4); }
  void AddFloat(size_t offset) { floatGroups[floatCount++] = uint8_t(offset / 4); }
};

// For right-to-left spans negates the walker's x words and every per-pixel
// step in use; then sets each chunk (and half-chunk) step and the dither
// table.
void FrFinishSteps(FrSpan *span, const FrWalkPlan &plan);
// Walks `rows` rows from the walker's current state, handing each chunk to
// the chain head.
void FrWalkRows(GlContext *gc, FrSpan *span, const FrWalkPlan &plan, int32_t rows);
