// The parameter-clip picker: which procedure makes the vertices clippers
// create, for lines and for polygons.
#pragma once

struct GlContext;

// The pickParameterClipProcs slot: sets procs.lineClipParam and
// procs.polygonClipParam.
void __glGenericPickParameterClipProcs(GlContext *gc);
