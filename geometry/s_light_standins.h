// Stand-ins for the per-vertex lighting procedures that ComputeLightProcs
// installs in procs.calcColor, until the vertex lighting code exists. Each
// takes the face (0 front, 1 back) and the vertex whose colour it writes.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define GEOMETRY_LIGHT_STANDINS(X)                                                     \
  X(void, __glFastCalcRGBColor, (GlContext *gc, GLint face, GlVertex *v), )            \
  X(void, __glK3DFastCalcRGBColor, (GlContext *gc, GLint face, GlVertex *v), )         \
  X(void, __glI386CalcRGBColor, (GlContext *gc, GLint face, GlVertex *v), )            \
  X(void, __glK3DCalcRGBColor, (GlContext *gc, GLint face, GlVertex *v), )             \
  X(void, __glFastCalcCIColor, (GlContext *gc, GLint face, GlVertex *v), )             \
  X(void, __glFastCalcCIColor_ShiftOffset, (GlContext *gc, GLint face, GlVertex *v), ) \
  X(void, __glCalcCIColor, (GlContext *gc, GLint face, GlVertex *v), )
// clang-format on

GEOMETRY_LIGHT_STANDINS(GL_STANDIN_DECLARE)
