// Stand-ins for the evaluation procedures the core fills procs.evalCoord
// with (gc, u, v; v unused by the one-parameter form). The evaluators
// replace them.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define GEOMETRY_EVAL_STANDINS(X)                                    \
  X(void, __glDoEvalCoord1, (GlContext *gc, GLfloat u, GLfloat v), ) \
  X(void, __glDoEvalCoord2, (GlContext *gc, GLfloat u, GLfloat v), )
// clang-format on

GEOMETRY_EVAL_STANDINS(GL_STANDIN_DECLARE)
