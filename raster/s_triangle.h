// The generic rasterizer's triangles: the render front end (facing,
// culling, face colours, polygon modes), the traps that wait for the back
// end once per change of primitive kind, and the scan converter that walks
// the triangle's rows into spans.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "raster/s_shader.h"

struct GlContext;
struct GlVertex;

// ---- Front end: procs.renderTriangle candidates ----
void GLFASTCALL __glRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glRenderSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glRenderFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glDontRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
// Polygon modes GL_LINE and GL_POINT: the edges or vertices whose
// boundary-edge bit is set, through procs.renderLine or procs.renderPoint.
void GLFASTCALL __glRenderLineTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glRenderPointTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// ---- Traps: wait for the back end, re-arm the other kinds, draw ----
void GLFASTCALL __glRenderTriangleSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glRenderLineSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderPointSyncTrap(GlContext *gc, GlVertex *v);

// ---- Fill: procs.fillTriangle candidates (a fastcall slot, since generated
//      set-ups sit there too) ----
void GLFASTCALL __glFillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
// Flat shading with per-vertex fog: fogs three copies of the flat colour and
// fills through procs.fillTriangleUnfogged.
void GLFASTCALL __glFillFlatFogTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// ---- Parts of the fill shared with the line rasterizer ----
// The left edge of the walker from its x at the centre of the first row and
// its slope (pixels per row); also the depth and stencil address steps.
void __glSnapXLeft(GlContext *gc, GLfloat x, GLfloat dxdy);
void __glSnapXRight(GlEdge *edge, GLfloat x, GLfloat dxdy);
// Polygon-offset depth of the first pixel (truncated, not clamped); fills the
// shader's offset fields.
int32_t __glPolygonOffsetZ(GlContext *gc, const GlVertex *v, GLfloat dx, GLfloat dy);
