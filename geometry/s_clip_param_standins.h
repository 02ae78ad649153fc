// Stand-ins for the thirty parameter-clip procedures: each makes the vertex
// where a clipper cuts an edge, interpolating what its name spells (B back
// colour too, C RGBA colour, I colour index, F fog, T texture, TP
// perspective-divided texture). Polygon clipping replaces them.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
// Parameter lists several stand-ins share.
#define GEOMETRY_CLIP_PARAM_ARGS (GlContext *gc, GlVertex *dst, const GlVertex *a, \
  const GlVertex *b, GLfloat t)

#define GEOMETRY_CLIP_PARAM_STANDINS(X)          \
  X(void, Clip, GEOMETRY_CLIP_PARAM_ARGS, )      \
  X(void, ClipI, GEOMETRY_CLIP_PARAM_ARGS, )     \
  X(void, ClipC, GEOMETRY_CLIP_PARAM_ARGS, )     \
  X(void, ClipBI, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipBC, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipF, GEOMETRY_CLIP_PARAM_ARGS, )     \
  X(void, ClipIF, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipCF, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipBIF, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipBCF, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipT, GEOMETRY_CLIP_PARAM_ARGS, )     \
  X(void, ClipIT, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipCT, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipBIT, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipBCT, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipFT, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipIFT, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipCFT, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipBIFT, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipBCFT, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipTP, GEOMETRY_CLIP_PARAM_ARGS, )    \
  X(void, ClipITP, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipCTP, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipBITP, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipBCTP, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipFTP, GEOMETRY_CLIP_PARAM_ARGS, )   \
  X(void, ClipIFTP, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipCFTP, GEOMETRY_CLIP_PARAM_ARGS, )  \
  X(void, ClipBIFTP, GEOMETRY_CLIP_PARAM_ARGS, ) \
  X(void, ClipBCFTP, GEOMETRY_CLIP_PARAM_ARGS, )
// clang-format on

namespace geometry {
GEOMETRY_CLIP_PARAM_STANDINS(GL_STANDIN_DECLARE)
}  // namespace geometry
