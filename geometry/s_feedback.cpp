// The render procedures of GL_FEEDBACK mode: points, lines and triangles
// written as records instead of drawn.
#include "core/context.h"
#include "geometry/s_feedback.h"
#include "geometry/s_feedback_vertex.h"
#include "raster/s_shader.h"
#include "raster/s_tri_render_face.h"

namespace {

constexpr uint32_t kColorNormalEye =
    __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR | __GL_HAS_NORMAL | __GL_HAS_EYE;
static_assert(kColorNormalEye == 0x1B, "what a flat colour is computed from");

void Validate(GlContext *gc, GlVertex *v, uint32_t needs) {
  if (needs & ~v->has) gc->procs.validateVertex[(v->has & __GL_HAS_SIZE_MASK) >> 14](gc, v, needs);
}

bool Boundary(const GlVertex *v) { return (v->has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0; }

void PointRecord(GlContext *gc, GlVertex *v) {
  __glFeedbackTag(gc, GL_POINT_TOKEN);
  feedback(gc, v);
}

}  // namespace

void __glFeedbackPoint(GlContext *gc, GlVertex *v) { PointRecord(gc, v); }

void __glFeedbackLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  if (gc->polygon.shader.modeFlags & __GL_SHADE_SMOOTH_LIGHT) {
    __glFeedbackLineRecord(gc, a, b);
    return;
  }
  // Flat: the second vertex provokes the line's colour.
  GlColor *own = a->color;
  a->color = b->color;
  __glFeedbackLineRecord(gc, a, b);
  a->color = own;
}

void GLFASTCALL __glFeedbackTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  const GlPolygonMachine &poly = gc->polygon;
  const GlVertexBuffer &vb = gc->vertexBuffer;
  const uint32_t face = poly.facing[__glTriangleArea(a, b, c) >= 0.0f ? 1 : 0];
  if (face == poly.cullFace) return;

  const uint32_t flags = poly.shader.modeFlags;
  // Only two-sided lighting gives the back a colour of its own.
  const bool twoSided = (flags & __GL_SHADE_TWOSIDED) != 0;
  const uint32_t colorFace = twoSided ? face : __GL_FRONTFACE;
  const uint32_t faceNeeds = colorFace == __GL_BACKFACE ? vb.backNeeds : vb.frontNeeds;
  GlVertex *provoking = vb.provoking ? vb.provoking : c;
  uint32_t needs;
  if (flags & __GL_SHADE_SMOOTH_LIGHT) {
    a->color = &a->colors[colorFace];
    b->color = &b->colors[colorFace];
    c->color = &c->colors[colorFace];
    needs = vb.baseNeeds | faceNeeds;
  } else {
    Validate(gc, provoking, faceNeeds & kColorNormalEye);
    a->color = b->color = c->color = &provoking->colors[colorFace];
    needs = vb.baseNeeds;
  }
  Validate(gc, a, needs);
  Validate(gc, b, needs);
  Validate(gc, c, needs);

  switch (poly.mode[face]) {
    case __GL_POLYGON_MODE_POINT:
      if (Boundary(a)) PointRecord(gc, a);
      if (Boundary(b)) PointRecord(gc, b);
      if (Boundary(c)) PointRecord(gc, c);
      break;
    case __GL_POLYGON_MODE_LINE:
      if (Boundary(a)) __glFeedbackLineRecord(gc, a, b);
      if (Boundary(b)) __glFeedbackLineRecord(gc, b, c);
      if (Boundary(c)) __glFeedbackLineRecord(gc, c, a);
      break;
    default:
      __glFeedbackTag(gc, GL_POLYGON_TOKEN);
      __glFeedbackTag(gc, 3.0f);
      feedback(gc, a);
      feedback(gc, b);
      feedback(gc, c);
      break;
  }
  a->color = &a->colors[__GL_FRONTFACE];
  b->color = &b->colors[__GL_FRONTFACE];
  c->color = &c->colors[__GL_FRONTFACE];
  provoking->color = &provoking->colors[__GL_FRONTFACE];
}
