// Stand-ins for the evaluation procedures the core fills procs.evalCoord
// with (gc, u, v; v unused by the one-parameter form). The evaluators
// replace them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __glDoEvalCoord1(GlContext *gc, GLfloat u, GLfloat v);
void __glDoEvalCoord2(GlContext *gc, GLfloat u, GLfloat v);
