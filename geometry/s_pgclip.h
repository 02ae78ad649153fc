// Polygon clipping: the clip-space clipper that cuts polygons against the
// frustum and the user planes and renders what is left as a fan, and the
// window-space clipper that cuts triangles drawn into the front buffer to
// each visible rectangle of the drawable.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "core/procs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlRect;
struct GlDrawable;

// The six frustum planes (a, b, c, d) in clip-code bit order: a point is
// inside when a x + b y + c z + d w >= 0.
extern const GLfloat __gl_frustumClipPlanes[6][4];

// The procs.clipPolygon procedure: `count` consecutive vertices, the first
// provoking.
void __glClipPolygon(GlContext *gc, GlVertex *first, int32_t count);
// The procs.clipTriangle procedure: a, b, c in winding order and the OR of
// their `has` words.
void __glClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes);
// The clipper proper: cuts the polygon by the code bits of `orCodes` (upper
// sixteen bits) and renders what is left as a fan through
// procs.renderTriangle. At most 15 input vertices.
void __glDoPolygonClip(GlContext *gc, GlVertex **list, int32_t count, uint32_t orCodes);

// Renders the convex polygon v[0] .. v[n-1] as the fan from v[0]. The
// boundary bit of a vertex marks the edge that starts at it, so each inner
// diagonal is hidden by clearing that bit for the one call that draws it.
void __glRenderFan(GlContext *gc, GlTriangleProc render, GlVertex **v, int32_t n);

// Window outcode bits against a clip rectangle.
#define __GL_CLIP2D_LEFT 0x10000u
#define __GL_CLIP2D_RIGHT 0x20000u
#define __GL_CLIP2D_TOP 0x40000u     // beyond the second y bound
#define __GL_CLIP2D_BOTTOM 0x80000u  // before the first y bound

// A vertex of the window-space clippers: a whole vertex and its window
// outcode against the rectangle being cut to.
typedef struct GlClipVertex2D {
  GlVertex v;
  uint32_t outcode;
} GlClipVertex2D;

// Stores the record's outcode against `rect` (drawable coordinates; each
// bound is compared after adding the float window bias).
void __glCalc2DOutcode(GlContext *gc, GlClipVertex2D *record, const GlRect *rect);
// Whether the drawable's one visible rectangle is the clip box (less the
// window bias) while the viewport lies inside it: then nothing drawn can
// fall outside the window's visible part.
bool __glWholeDrawableVisible(const GlContext *gc, const GlDrawable *d);
// A procs.renderTriangle procedure for front-buffer drawing: cuts the
// triangle to every visible rectangle of the drawable and hands each portion
// to procs.renderClippedTriangle.
void GLFASTCALL __glClipAndRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
