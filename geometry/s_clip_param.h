// The parameter-clip procedures, which make the vertex where a clipper cuts
// an edge, and their picker: which one makes the vertices clippers create,
// for lines and for polygons.
#pragma once

#include "core/procs.h"

struct GlContext;
struct GlVertex;

// The pickParameterClipProcs slot: sets procs.lineClipParam and
// procs.polygonClipParam.
void __glGenericPickParameterClipProcs(GlContext *gc);

namespace geometry {

// dst = b + t (a - b) for what each name spells, besides clip x, y, z, w and
// 1/w: B back colour too, C RGBA colour, I colour index, F fog (or eye z
// when a has no fog value), T texture as stored, TP texture with each end
// brought back to its undivided form. `has` becomes 0xFFFF0000.
#define GEOMETRY_CLIP_PARAM_DECLARE(name) \
  void name(GlContext *gc, GlVertex *dst, const GlVertex *a, const GlVertex *b, GLfloat t);
GEOMETRY_CLIP_PARAM_DECLARE(Clip)
GEOMETRY_CLIP_PARAM_DECLARE(ClipI)
GEOMETRY_CLIP_PARAM_DECLARE(ClipC)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBI)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBC)
GEOMETRY_CLIP_PARAM_DECLARE(ClipF)
GEOMETRY_CLIP_PARAM_DECLARE(ClipIF)
GEOMETRY_CLIP_PARAM_DECLARE(ClipCF)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBIF)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBCF)
GEOMETRY_CLIP_PARAM_DECLARE(ClipT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipIT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipCT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBIT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBCT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipFT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipIFT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipCFT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBIFT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBCFT)
GEOMETRY_CLIP_PARAM_DECLARE(ClipTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipITP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipCTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBITP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBCTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipFTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipIFTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipCFTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBIFTP)
GEOMETRY_CLIP_PARAM_DECLARE(ClipBCFTP)
#undef GEOMETRY_CLIP_PARAM_DECLARE

// Indexed by colour kind + 5 x fog + 10 x texture kind. Colour kinds: 0
// none, 1 index, 2 RGBA, 3 front and back index, 4 front and back RGBA.
// Texture kinds: 0 none, 1 as stored, 2 divided by w.
extern const GlClipParamProc clipProcs[30];

}  // namespace geometry
