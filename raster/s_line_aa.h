// Antialiased lines: parallel pixel runs across the line's width, each run
// through procs.line.processLine, and the coverage stage that weighs every
// pixel by its distance from the line's axis and ends and by the blended
// line stipple.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

// The set-up of gc->line for the segment a-b (window x and y with the
// half-pixel shift). majorLength 0: nothing to draw.
void __glInitAALineData(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderAntiAliasLine(GlContext *gc, GlVertex *a, GlVertex *b);
// The coverage stage (plain / stippled twin).
GLbool8 __glAntiAliasLine(GlContext *gc);
GLbool8 __glAntiAliasStippledLine(GlContext *gc);
