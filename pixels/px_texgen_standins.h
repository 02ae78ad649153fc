// Stand-ins for the per-vertex texture-coordinate procedures the
// texture-coordinate picker installs, until texture-coordinate generation
// (eye-linear, object-linear, sphere map) and the perspective divide exist.
#pragma once

#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define PIXELS_TEXGEN_STANDINS(X)                                                 \
  X(void, __glCalcEyeLinear, (GlContext *gc, GlVertex *v), )                      \
  X(void, __glCalcObjectLinear, (GlContext *gc, GlVertex *v), )                   \
  X(void, __glCalcSphereMap, (GlContext *gc, GlVertex *v), )                      \
  X(void, __glCalcMixedTexture, (GlContext *gc, GlVertex *v), )                   \
  /* Run procs.calcTextureBase, then divide by w; the fast form skips the base */ \
  /* under an identity texture matrix. */                                         \
  X(void, __glCalcTexturePersp, (GlContext *gc, GlVertex *v), )                   \
  X(void, __glFastCalcTexturePersp, (GlContext *gc, GlVertex *v), )
// clang-format on

PIXELS_TEXGEN_STANDINS(GL_STANDIN_DECLARE)
