// The triangle fill's inner steps, shared by its source files: the row
// walker of one sub-triangle and the start values of a left edge.
#pragma once

#include <stdint.h>

#include "core/gl_convert.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlColor;

// Walks rows iyStart .. iyEnd - 1 with the edges and parameters in the
// context; the edges are left at row iyEnd.
void FillSubTriangle(GlContext *gc, int32_t iyStart, int32_t iyEnd);
// The parts of that walk: the shader's buffer addresses (at the left edge's
// pixel of row iyStart), colour buffer and span arrays; and one row step of
// both edges and every parameter.
void StartSubTriangleRows(GlContext *gc, int32_t iyStart);
struct GlEdge;
void StepRow(GlContext *gc, GlEdge *left, GlEdge *right);

// Start values and row steps of every enabled parameter for a left edge
// starting at vertex v (prepared window coordinates); dx, dy lead from v to
// the centre of the first pixel.
void SetInitialParameters(GlContext *gc, const GlVertex *v, const GlColor *color, GLfloat fog,
                          GLfloat rho, GLfloat dx, GLfloat dy);

// A depth step or start as the 32-bit word the plain depth walk adds with wrapping:
// the low bits of the step truncated toward zero, so that steps beyond 2^31
// (16-bit buffers, whose depths reach 2^32) still land on the right word.
inline int32_t DepthStep(double step) {
  if (!(step > -1099511627776.0 && step < 1099511627776.0)) return 0;  // 2^40; NaN too
  return int32_t(uint32_t(uint64_t(int64_t(step))));
}

// The same step as a value for the offset walk, which keeps a float depth:
// truncated toward zero like the word, but whole.
inline GLfloat DepthStepValue(double step) {
  if (!(step > -1099511627776.0 && step < 1099511627776.0)) return 0;
  return GLfloat(int64_t(step));
}
