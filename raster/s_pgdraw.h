// The triangle fill's inner steps, shared by its source files: the row
// walker of one sub-triangle and the start values of a left edge.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlColor;

// Walks rows iyStart .. iyEnd - 1 with the edges and parameters in the
// context; the edges are left at row iyEnd.
void FillSubTriangle(GlContext *gc, int32_t iyStart, int32_t iyEnd);

// Start values and row steps of every enabled parameter for a left edge
// starting at vertex v (prepared window coordinates); dx, dy lead from v to
// the centre of the first pixel.
void SetInitialParameters(GlContext *gc, const GlVertex *v, const GlColor *color, GLfloat fog,
                          GLfloat rho, GLfloat dx, GLfloat dy);
