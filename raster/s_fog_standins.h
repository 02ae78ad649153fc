// Stand-ins for the fog procedures the fog picker installs. The rasterizer's
// fog procedures replace them.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlVertex;
struct GlFragment;
struct GlColor;

// clang-format off
#define RASTER_FOG_STANDINS(X)                                                               \
  X(GLfloat, __glFogVertex, (GlContext *gc, GlVertex *v), 1.0f)                              \
  X(GLfloat, __glFogVertexLinear, (GlContext *gc, GlVertex *v), 1.0f)                        \
  X(void, __glFogFragmentSlow, (GlContext *gc, GlFragment *frag, GLfloat eyeDistance), )     \
  X(void, __glFogColorSlow, (GlContext *gc, GlColor *out, const GlColor *in, GLfloat fog), )
// clang-format on

RASTER_FOG_STANDINS(GL_STANDIN_DECLARE)
