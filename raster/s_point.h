// The point rasterizer (procs.renderPoint): aliased points of size 1 and N,
// antialiased RGBA and colour-index points, and the flat-fog wrapper. Each
// turns one window-space vertex into fragments for the fragment store;
// the caller's vertex is never written.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

void __glRenderAliasedPoint1_NoTex(GlContext *gc, GlVertex *v);
void __glRenderAliasedPoint1(GlContext *gc, GlVertex *v);
void __glRenderAliasedPointN(GlContext *gc, GlVertex *v);
void __glRenderAntiAliasedRGBPoint(GlContext *gc, GlVertex *v);
void __glRenderAntiAliasedCIPoint(GlContext *gc, GlVertex *v);
void __glRenderFlatFogPoint(GlContext *gc, GlVertex *v);

// A colour index with its low four bits replaced by the coverage c (0..1)
// in sixteenths.
GLfloat __glBuildAntiAliasIndex(GLfloat index, GLfloat coverage);
