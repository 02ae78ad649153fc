// What the triangle render procedures share: the signed area in single
// precision, the face it shows, the colour set and needs of that face, and
// lazy validation of one vertex.
#pragma once

#include <math.h>
#include <stdint.h>

#include "core/context.h"
#include "geometry/s_vertex.h"
#include "raster/s_shader.h"

// What the provoking vertex of a flat-shaded triangle must carry before its
// colour is taken: front and back colour, normal and eye position.
constexpr uint32_t kProvokingNeedsMask =
    __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR | __GL_HAS_NORMAL | __GL_HAS_EYE;

// Twice the signed area from (a - c) and (b - c), every step rounded to
// single precision: the face must not depend on the compiler's precision.
inline GLfloat __glTriangleArea(const GlVertex *a, const GlVertex *b, const GlVertex *c) {
  const GLfloat dxAC = a->window.x - c->window.x;
  const GLfloat dxBC = b->window.x - c->window.x;
  const GLfloat dyAC = a->window.y - c->window.y;
  const GLfloat dyBC = b->window.y - c->window.y;
  const GLfloat left = dxAC * dyBC;
  const GLfloat right = dyAC * dxBC;
  return left - right;
}

// By the sign bit alone: -0.0 and a NaN whose sign bit is set take entry 0,
// like any negative area.
inline uint32_t __glTriangleFace(const GlContext *gc, GLfloat area) {
  return gc->polygon.facing[signbit(area) ? 0 : 1];
}

// The face a fill-only procedure draws: false for a triangle without area
// (dropped before anything else) or with its face culled.
inline bool __glTriangleFilledFace(const GlContext *gc, const GlVertex *a, const GlVertex *b,
                                   const GlVertex *c, uint32_t *face) {
  const GLfloat area = __glTriangleArea(a, b, c);
  if (area == 0.0f) return false;
  *face = __glTriangleFace(gc, area);
  return *face != gc->polygon.cullFace;
}

// The colour set drawn: the face's own under two-sided lighting, else the
// front set.
inline uint32_t __glTriangleColorIndex(const GlContext *gc, uint32_t face) {
  return (gc->polygon.shader.modeFlags & __GL_SHADE_TWOSIDED) ? face : __GL_FRONTFACE;
}

// The further needs of the colour set drawn.
inline uint32_t __glTriangleFaceNeeds(const GlContext *gc, uint32_t colorIndex) {
  const GlVertexBuffer &vb = gc->vertexBuffer;
  return colorIndex == __GL_BACKFACE ? vb.backNeeds : vb.frontNeeds;
}

// Completes v only when the mask asks for a field it lacks.
inline void __glTriangleValidate(GlContext *gc, GlVertex *v, uint32_t mask) {
  if (mask & ~v->has) gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, mask);
}

// The vertex whose colour a flat triangle takes; c when primitive assembly
// named none, so a stray call cannot reach through a null pointer.
inline GlVertex *__glTriangleProvoking(GlContext *gc, GlVertex *c) {
  GlVertex *pv = gc->vertexBuffer.provoking;
  return pv ? pv : c;
}
