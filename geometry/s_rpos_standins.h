// Stand-ins for the raster-position procedures the core fills
// procs.rasterPos with, for 2, 3 and 4 coordinates (gc, the coordinates as
// floats). The raster position replaces them.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define GEOMETRY_RPOS_STANDINS(X)                              \
  X(void, __glRasterPos2, (GlContext *gc, const GLfloat *v), ) \
  X(void, __glRasterPos3, (GlContext *gc, const GLfloat *v), ) \
  X(void, __glRasterPos4, (GlContext *gc, const GLfloat *v), )
// clang-format on

GEOMETRY_RPOS_STANDINS(GL_STANDIN_DECLARE)
