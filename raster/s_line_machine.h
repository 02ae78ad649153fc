// The per-line record of the line rasterizer (`gc->line`): the run of one
// aliased or antialiased segment as its set-up leaves it for the line
// stages. The design calls it the line state; that name is the GL line
// state's (`gc->state.line`), so this one is the line machine, as the other
// rasterizer sub-records are named. Its stipple-restart byte is the
// context's `lineStippleStarted`, which primitive assembly clears.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlVertex;

typedef struct GlLineMachine {
  int32_t stippleBit;          // 0..15, the pattern bit of the next pixel
  int32_t stippleRepeatCount;  // pixels drawn with that bit so far
  int32_t majorAxis;           // 0 x-major, 1 y-major
  int32_t pixelCount;          // 0: nothing to draw
  GLfloat startOffset;  // along the major axis, first vertex to first pixel centre
  GLfloat majorLength;  // |major delta|
  int32_t xStart, yStart;
  int32_t xLittle, yLittle;  // step when the minor coordinate stays
  int32_t xBig, yBig;        // step when it moves
  int32_t fraction;          // minor position, 31 bits
  int32_t dfraction;         // minor slope times 2^31
  int32_t width;             // aliased width; runs of an antialiased line
  GlVertex *vertexA, *vertexB;
  // Antialiased lines only.
  GLfloat lineLength;
  GLfloat dirX, dirY;    // unit direction
  GLfloat perpX, perpY;  // unit normal
  GLfloat dlLittle, dlBig;  // along-distance change per DDA step
  GLfloat ddLittle, ddBig;  // cross-distance change per DDA step
  GLfloat lStart, dStart;   // at the first pixel of the current run
  GLfloat stippleStart;     // stipple position at the line's start, minus a half
  GLfloat oneOverRepeat;
} GlLineMachine;
