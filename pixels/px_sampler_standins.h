// Stand-ins for the texture sampler's procedures (fragment, level of detail
// and filters) that the texture picker installs, until the sampler computes
// the level of detail and filters texels.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;
struct GlEdgeWalker;

// clang-format off
// Parameter lists several stand-ins share.
#define PIXELS_FRAGMENT_ARGS (GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho)

#define PIXELS_SAMPLER_STANDINS(X)                                                       \
  /* Level of detail of lines and polygons. */                                           \
  X(GLfloat, __glComputeLineRho, (GlContext *gc, GLfloat s, GLfloat t, GLfloat q), 0.0f) \
  X(GLfloat, __glComputePolygonRho,                                                      \
    (GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t, GLfloat q), 0.0f)
// clang-format on

PIXELS_SAMPLER_STANDINS(GL_STANDIN_DECLARE)

// The fragment procedures (GlTextureFragmentProc) stand in by hand: each
// reports its name and gives the colour one constant texel, opaque white at
// the draw buffer's scale, so that textured spans draw something defined.
void __glFastTextureFragment PIXELS_FRAGMENT_ARGS;
void __glTextureFragment PIXELS_FRAGMENT_ARGS;
void __glMipMapFragment PIXELS_FRAGMENT_ARGS;
