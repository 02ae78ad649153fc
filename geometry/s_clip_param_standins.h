// Stand-ins for the thirty parameter-clip procedures: each makes the vertex
// where a clipper cuts an edge, interpolating what its name spells (B back
// colour too, C RGBA colour, I colour index, F fog, T texture, TP
// perspective-divided texture). Polygon clipping replaces them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

namespace geometry {
#define GL_CLIP_PARAM(name) \
  void name(GlContext *gc, GlVertex *dst, const GlVertex *a, const GlVertex *b, GLfloat t)
GL_CLIP_PARAM(Clip);
GL_CLIP_PARAM(ClipI);
GL_CLIP_PARAM(ClipC);
GL_CLIP_PARAM(ClipBI);
GL_CLIP_PARAM(ClipBC);
GL_CLIP_PARAM(ClipF);
GL_CLIP_PARAM(ClipIF);
GL_CLIP_PARAM(ClipCF);
GL_CLIP_PARAM(ClipBIF);
GL_CLIP_PARAM(ClipBCF);
GL_CLIP_PARAM(ClipT);
GL_CLIP_PARAM(ClipIT);
GL_CLIP_PARAM(ClipCT);
GL_CLIP_PARAM(ClipBIT);
GL_CLIP_PARAM(ClipBCT);
GL_CLIP_PARAM(ClipFT);
GL_CLIP_PARAM(ClipIFT);
GL_CLIP_PARAM(ClipCFT);
GL_CLIP_PARAM(ClipBIFT);
GL_CLIP_PARAM(ClipBCFT);
GL_CLIP_PARAM(ClipTP);
GL_CLIP_PARAM(ClipITP);
GL_CLIP_PARAM(ClipCTP);
GL_CLIP_PARAM(ClipBITP);
GL_CLIP_PARAM(ClipBCTP);
GL_CLIP_PARAM(ClipFTP);
GL_CLIP_PARAM(ClipIFTP);
GL_CLIP_PARAM(ClipCFTP);
GL_CLIP_PARAM(ClipBIFTP);
GL_CLIP_PARAM(ClipBCFTP);
#undef GL_CLIP_PARAM
}  // namespace geometry
