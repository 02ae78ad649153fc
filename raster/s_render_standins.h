// Stand-ins for the render, fill and trap procedures of points, lines and
// triangles and for the independent-line clippers. The generic rasterizer's
// primitive front end (points, lines, triangle set-up and fill) replaces
// them.
#pragma once

#include "core/calling.h"

struct GlContext;
struct GlVertex;

// ---- Points (gc, v) ----
void __glRenderAliasedPoint1(GlContext *gc, GlVertex *v);
void __glRenderAliasedPoint1_NoTex(GlContext *gc, GlVertex *v);
void __glRenderAliasedPointN(GlContext *gc, GlVertex *v);
void __glRenderAntiAliasedRGBPoint(GlContext *gc, GlVertex *v);
void __glRenderAntiAliasedCIPoint(GlContext *gc, GlVertex *v);
void __glRenderFlatFogPoint(GlContext *gc, GlVertex *v);
void __glRenderPointSyncTrap(GlContext *gc, GlVertex *v);

// ---- Lines (gc, a, b) ----
void __glRenderAliasLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderAntiAliasLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderFlatFogLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderLineSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b);
void __glFastClipSmoothLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glFastClipFlatLine(GlContext *gc, GlVertex *a, GlVertex *b);

// ---- Triangles (gc, a, b, c) ----
void __glRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glDontRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderLineTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderPointTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderTriangleSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
// The fills sit in a fastcall slot: generated set-ups are stored there too.
void GLFASTCALL __glFillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glFillAntiAliasedTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glFillFlatFogTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
