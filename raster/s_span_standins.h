// Stand-ins for the span and line stages, their processors and repeat
// procedures, the alpha- and index-test table validators, and the blend and
// store pickers. The generic rasterizer's span and line pipeline replaces
// them.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define RASTER_SPAN_STANDINS(X)                                            \
  /* Line stages (plain / stippled twins) */                               \
  X(GLbool8, __glAntiAliasLine, (GlContext *gc), 0)                        \
  X(GLbool8, __glAntiAliasStippledLine, (GlContext *gc), 0)
// clang-format on

RASTER_SPAN_STANDINS(GL_STANDIN_DECLARE)
