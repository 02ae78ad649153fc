// The pre-built triangle set-up: snaps the vertices to 1/16 pixel, sorts
// them, sets up the edge walker and every iterator group in use in a span
// record on its stack, and walks the rows into chunks for the chain. It
// works on copies of the vertices' window coordinates and colours, so the
// caller's vertices are never written.
#include <math.h>

#include <utility>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "core/gl_convert.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_setup_fixed.h"
#include "fastraster/fr_setup_walk.h"
#include "geometry/s_prim.h"
#include "raster/s_pgdraw_prepare.h"

namespace {

// A vertex as the set-up sees it: window x and y half a pixel on, snapped
// for the edges and as they came (ux, uy) for the planes, z in depth units.
struct Corner {
  GlVertex *v;
  GLfloat x, y, z;
  GLfloat ux, uy;
};

// False when x or y lies outside the range the bit tricks hold for.
bool Take(const GlContext *gc, GlVertex *v, Corner *out) {
  const GLfloat x = v->window.x + 0.5f, y = v->window.y + 0.5f;
  if (!FrInRange(x) || !FrInRange(y)) return false;
  const GLfloat snappedY = gc->constants.yInverted ? FrSnapTopDown(y) : FrSnap(y);
  if (!FrInRange(snappedY)) return false;
  *out = {v, FrSnap(x), snappedY, v->window.z * gc->constants.depthMax, x, y};
  return true;
}

void SetEdge(GLfloat x, GLfloat slope, int32_t *ix, int32_t *dx, int32_t *dxCarry,
             uint32_t *frac, int32_t *dfrac) {
  *ix = FrIntegerPart(x);
  *frac = FrFraction31(x - GLfloat(*ix + 6144));
  *dx = __glTruncateToInt(slope);
  *dxCarry = slope >= 0.0f ? *dx + 1 : *dx - 1;
  *dfrac = int32_t(FrFraction31(slope - GLfloat(*dx)));
}

// The plane of one quantity over the triangle, from the 1/area-scaled edge
// deltas; values at the first pixel of the first row and per row.
struct Plane {
  GLfloat dxAB, dyAB, dxAC, dyAC;  // over the area
  GLfloat dxA, dyA;                // from vertex a to the first pixel's centre
  GLfloat dxLong;                  // the long edge's row step, true direction
  bool slopeNonNegative;

  struct Gradient {
    GLfloat first, dx, dy, edge;
  };
  Gradient Of(GLfloat pa, GLfloat pb, GLfloat pc) const {
    Gradient g;
    g.dx = (pc - pa) * dyAB - dyAC * (pb - pa);
    g.dy = (pb - pa) * dxAC - (pc - pa) * dxAB;
    g.first = pa + g.dy * dyA + g.dx * dxA;
    g.edge = dxLong * g.dx + g.dy;
    return g;
  }
  // The carry step of an integer group from its row and pixel steps.
  uint32_t Carry(uint32_t edge, uint32_t dx) const {
    return slopeNonNegative ? edge + dx : edge - dx;
  }
};

// An address group: the pixel of the first row's first pixel, per-pixel and
// per-row steps (element sizes are 1, 2, 3 or 4 bytes).
void SetAddresses(const GlDrawableBuffer *db, const FrSpan &span, FrAddress *edge,
                  int32_t *dx, int32_t *dEdge, int32_t *dEdgeCarry) {
  const uint32_t size = db->elementSize, pitch = uint32_t(db->pitchBytes);
  *edge = FrAddress(uintptr_t(db->base) + uint32_t(span.iyTop) * pitch +
                    uint32_t(span.ixLong) * size);
  *dx = int32_t(size);
  *dEdge = int32_t(uint32_t(span.dxLong) * size + pitch);
  *dEdgeCarry = int32_t(uint32_t(span.dxLongCarry) * size + pitch);
}

// A 16.16 group (colours, affine texture coordinates).
void SetFixed(const Plane &plane, const Plane::Gradient &g, GLfloat bias, int32_t *edge,
              int32_t *dx, int32_t *dEdge, int32_t *dEdgeCarry) {
  *edge = FrFixed16(g.first + bias);
  *dx = FrFixed16(g.dx);
  *dEdge = FrFixed16(g.edge);
  *dEdgeCarry = int32_t(plane.Carry(uint32_t(*dEdge), uint32_t(*dx)));
}

// A float group (perspective texture coordinates).
void SetFloat(const Plane &plane, const Plane::Gradient &g, GLfloat *edge, GLfloat *dx,
              GLfloat *dEdge, GLfloat *dEdgeCarry, GLfloat *dy) {
  *edge = g.first;
  *dx = g.dx;
  *dEdge = g.edge;
  *dEdgeCarry = plane.slopeNonNegative ? g.edge + g.dx : g.edge - g.dx;
  *dy = g.dy;
}

const GlColor kNoColor = {0, 0, 0, 0};

GlColor ScaledColor(const GlContext *gc, const GlVertex *v) {
  return tri_prepare::Rescaled(gc->constants, v && v->color ? *v->color : kNoColor);
}

// The flat colour packed into a pixel of the draw buffer. Alpha has a field
// only in buffers with alpha bits; elsewhere its shift is 0 and would land
// on blue.
uint32_t FlatPixel(const GlContext *gc, const FrSpan &span) {
  const GlColorBuffer *cfb = gc->drawBuffer;
  const auto field = [](int32_t v, uint32_t shift) { return uint32_t(v >> 16) << shift; };
  uint32_t pixel = field(span.g, cfb->greenShift) | field(span.r, cfb->redShift) |
                   field(span.b, cfb->blueShift);
  if (gc->modes.alphaMask) pixel |= field(span.a, cfb->alphaShift);
  return pixel;
}

// `last` stands in when primitive assembly named no provoking vertex, as in
// the generic fill, so a stray call reads no null pointer.
void SetFlatColor(const GlContext *gc, const GlVertex *last, uint32_t flags, GLfloat bias,
                  FrSpan *span) {
  const GlVertex *pv = gc->vertexBuffer.provoking ? gc->vertexBuffer.provoking : last;
  const GlColor c = ScaledColor(gc, pv);
  span->r = FrFixed16(c.r + bias);
  if (!(flags & __GL_SHADE_RGB)) {
    if (!(flags & __GL_SHADE_DITHER)) span->flatPixel = uint32_t(span->r >> 16);
    return;
  }
  span->g = FrFixed16(c.g + bias);
  span->b = FrFixed16(c.b + bias);
  span->a = FrFixed16(c.a + bias);
  if (!(flags & __GL_SHADE_DITHER)) span->flatPixel = FlatPixel(gc, *span);
}

void SetSmoothColor(const GlContext *gc, uint32_t flags, GLfloat bias, const Plane &plane,
                    const Corner &a, const Corner &b, const Corner &c, FrSpan *span,
                    FrWalkPlan *walk) {
  const GlColor ca = ScaledColor(gc, a.v), cb = ScaledColor(gc, b.v), cc = ScaledColor(gc, c.v);
  SetFixed(plane, plane.Of(ca.r, cb.r, cc.r), bias, &span->rEdge, &span->drdx, &span->drEdge,
           &span->drEdgeCarry);
  walk->AddInt(offsetof(FrSpan, r));
  if (!(flags & __GL_SHADE_RGB)) return;
  SetFixed(plane, plane.Of(ca.g, cb.g, cc.g), bias, &span->gEdge, &span->dgdx, &span->dgEdge,
           &span->dgEdgeCarry);
  SetFixed(plane, plane.Of(ca.b, cb.b, cc.b), bias, &span->bEdge, &span->dbdx, &span->dbEdge,
           &span->dbEdgeCarry);
  SetFixed(plane, plane.Of(ca.a, cb.a, cc.a), bias, &span->aEdge, &span->dadx, &span->daEdge,
           &span->daEdgeCarry);
  walk->AddInt(offsetof(FrSpan, g));
  walk->AddInt(offsetof(FrSpan, b));
  walk->AddInt(offsetof(FrSpan, a));
}

// Polygon offset in depth units, saturated: the slope term of a steep
// polygon or many units must not wrap round and push depth the other way.
// A 16-bit buffer's depths run to 0xFFFF0000, past what a signed word
// reaches; its depth test takes the offset in halves of a unit.
int32_t OffsetZ(const GlContext *gc, const Plane::Gradient &z) {
  const double slope = fmax(fabs(double(z.dx)), fabs(double(z.dy)));
  double offset = slope * double(gc->state.polygon.factor) +
                  double(gc->state.polygon.units) * double(gc->depthBuffer.offsetUnit);
  if (gc->depthBuffer.scale == kFrDepthScale16) offset *= 0.5;
  return __glTruncateToInt(nearbyint(offset));
}

void SetDepth(const GlContext *gc, uint32_t flags, const Plane &plane, const Corner &a,
              const Corner &b, const Corner &c, FrSpan *span, FrWalkPlan *walk) {
  const Plane::Gradient z = plane.Of(a.z, b.z, c.z);
  span->zEdge = FrInteger(z.first + 0.5f);
  span->dzdx = int32_t(FrInteger(z.dx));
  span->dzEdge = int32_t(FrInteger(z.edge));
  span->dzEdgeCarry = int32_t(plane.Carry(uint32_t(span->dzEdge), uint32_t(span->dzdx)));
  if (flags & __GL_SHADE_POLYGON_OFFSET) span->offsetZ = OffsetZ(gc, z);
  walk->AddInt(offsetof(FrSpan, z));
}

void SetTexture(GlContext *gc, uint32_t flags, const Plane &plane, GLfloat slopeAB,
                const Corner &a, const Corner &b, const Corner &c, FrSpan *span,
                FrWalkPlan *walk) {
  const GlTextureObject *tex = gc->texture.current;
  const GlTextureLevel *level = tex && tex->levels ? tex->levels[0] : nullptr;
  if (!level) return;
  span->texImage = level->image;
  span->texWidth = level->width;
  span->texWidthLog2 = level->widthLog2;
  span->texHeight = level->height;
  span->texHeightLog2 = level->heightLog2;
  const GlCoord &ta = a.v->texture, &tb = b.v->texture, &tc = c.v->texture;
  const Plane::Gradient s = plane.Of(ta.x, tb.x, tc.x), t = plane.Of(ta.y, tb.y, tc.y);
  const bool lod = tex->minFilter != tex->magFilter;
  if (!lod && !(flags & __GL_SHADE_PERSPECTIVE)) {
    SetFixed(plane, s, 0.0f, &span->sEdge, &span->dsdx, &span->dsEdge, &span->dsEdgeCarry);
    SetFixed(plane, t, 0.0f, &span->tEdge, &span->dtdx, &span->dtEdge, &span->dtEdgeCarry);
    walk->AddInt(offsetof(FrSpan, s));
    walk->AddInt(offsetof(FrSpan, t));
    return;
  }
  SetFloat(plane, s, &span->sfEdge, &span->dsfdx, &span->dsfEdge, &span->dsfEdgeCarry,
           &span->dsfdy);
  SetFloat(plane, t, &span->tfEdge, &span->dtfdx, &span->dtfEdge, &span->dtfEdgeCarry,
           &span->dtfdy);
  SetFloat(plane, plane.Of(ta.w, tb.w, tc.w), &span->qfEdge, &span->dqfdx, &span->dqfEdge,
           &span->dqfEdgeCarry, &span->dqfdy);
  walk->AddFloat(offsetof(FrSpan, sf));
  walk->AddFloat(offsetof(FrSpan, tf));
  walk->AddFloat(offsetof(FrSpan, qf));
  if (!lod) return;
  // The level-of-detail set-up takes dxLong in walk direction.
  const int32_t dxLong = span->dxLong;
  if (span->direction < 0) span->dxLong = -dxLong;
  __glFRSetupRho(gc, span, a.v, b.v, c.v, plane.dxAB, plane.dyAB, plane.dxAC, plane.dyAC,
                 slopeAB, plane.dxA, plane.dyA);
  span->dxLong = dxLong;
  walk->AddFloat(offsetof(FrSpan, rho));
}

}  // namespace

void GLFASTCALL __glFRRenderTriangle(GlContext *gc, GlVertex *va, GlVertex *vb, GlVertex *vc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  // Coordinates outside the range (NaN, infinities, beyond the largest
  // window) would give rows and columns outside the buffers: nothing is
  // drawn, as for a triangle of no area.
  Corner a, b, c;
  if (!Take(gc, va, &a) || !Take(gc, vb, &b) || !Take(gc, vc, &c)) return;
  // a top, b bottom, c middle; equal heights are never swapped.
  const auto above = [](const Corner &p, const Corner &q) {
    return int32_t(FrFloatBits(p.y)) < int32_t(FrFloatBits(q.y));
  };
  if (above(b, a)) std::swap(a, b);
  if (above(c, a)) std::swap(a, c);
  if (above(b, c)) std::swap(b, c);

  const GLfloat dxAB = b.x - a.x, dyAB = b.y - a.y, dxAC = c.x - a.x, dyAC = c.y - a.y;
  const GLfloat dxCB = b.x - c.x, dyCB = b.y - c.y;
  const GLfloat area = dyAB * dxAC - dyAC * dxAB;
  if ((FrFloatBits(area) & 0x7FFFFFFFu) == 0) return;
  // The same unsnapped: none means the vertices as they came lie on a line,
  // and the generic fill draws nothing of them either.
  const GLfloat pdxAB = b.ux - a.ux, pdyAB = b.uy - a.uy, pdxAC = c.ux - a.ux, pdyAC = c.uy - a.uy;
  const GLfloat planeArea = pdyAB * pdxAC - pdyAC * pdxAB;
  if ((FrFloatBits(planeArea) & 0x7FFFFFFFu) == 0) return;

  FrSpan span;
  span.direction = signbit(area) ? -1 : 1;
  const GLfloat slopeAB = dyAB != 0.0f ? dxAB / dyAB : 0.0f;
  const GLfloat slopeAC = dyAC != 0.0f ? dxAC / dyAC : 0.0f;
  const GLfloat slopeCB = dyCB != 0.0f ? dxCB / dyCB : 0.0f;
  span.iyTop = FrIntegerPart(a.y);
  span.iyBottom = FrIntegerPart(b.y);
  span.iyMiddle = FrIntegerPart(c.y);
  const GLfloat dyA = GLfloat(span.iyTop + 6145) - a.y;
  const GLfloat dyC = GLfloat(span.iyMiddle + 6145) - c.y;
  SetEdge(a.x + dyA * slopeAB, slopeAB, &span.ixLong, &span.dxLong, &span.dxLongCarry,
          &span.fracLong, &span.dfracLong);
  SetEdge(a.x + dyA * slopeAC, slopeAC, &span.ixShort, &span.dxShort, &span.dxShortCarry,
          &span.fracShort, &span.dfracShort);
  SetEdge(c.x + dyC * slopeCB, slopeCB, &span.ixLower, &span.dxLower, &span.dxLowerCarry,
          &span.fracLower, &span.dfracLower);
  if (span.direction < 0) {
    // From the last pixel inside the right edge to before the first inside
    // the left one: the pixels a left-to-right walk would cover.
    span.ixLong--;
    span.ixShort--;
    span.ixLower--;
  }

  __glRenderLock(gc);
  FrWalkPlan walk;
  if (gc->drawBuffer && gc->drawBuffer->buf.drawableBuf) {
    SetAddresses(gc->drawBuffer->buf.drawableBuf, span, &span.pixelEdge, &span.dpixeldx,
                 &span.dpixelEdge, &span.dpixelEdgeCarry);
    walk.AddInt(offsetof(FrSpan, pixel));
  }
  if (gc->drawBoth) {
    __GL_ASSERT(gc->drawBuffer == gc->back, "gc->drawBuffer == gc->back", "fr_setup");
    const GlDrawableBuffer *front = gc->front->buf.drawableBuf;
    __GL_ASSERT(front->elementSize == gc->drawBuffer->buf.drawableBuf->elementSize,
                "elementSize == gc->drawBuffer->buf.drawableBuf->elementSize", "fr_setup");
    SetAddresses(front, span, &span.pixel2Edge, &span.dpixel2dx, &span.dpixel2Edge,
                 &span.dpixel2EdgeCarry);
    walk.AddInt(offsetof(FrSpan, pixel2));
  }
  if ((flags & __GL_SHADE_STENCIL_TEST) && gc->stencilBuffer.buf.drawableBuf) {
    SetAddresses(gc->stencilBuffer.buf.drawableBuf, span, &span.sbufEdge, &span.dsbufdx,
                 &span.dsbufEdge, &span.dsbufEdgeCarry);
    walk.AddInt(offsetof(FrSpan, sbuf));
  }
  if ((flags & __GL_SHADE_DEPTH_TEST) && gc->depthBuffer.buf.drawableBuf) {
    SetAddresses(gc->depthBuffer.buf.drawableBuf, span, &span.zbufEdge, &span.dzbufdx,
                 &span.dzbufEdge, &span.dzbufEdgeCarry);
    walk.AddInt(offsetof(FrSpan, zbuf));
  }

  const GLfloat bias = (flags & __GL_SHADE_DITHER) ? 1.0f / 32.0f : 0.5f;
  if (!(flags & __GL_SHADE_ITERATE_COLOR)) SetFlatColor(gc, vc, flags, bias, &span);

  // The planes run through the vertices where they are, not where the snap
  // put them: a vertex the clipper made lies off the 1/16 grid, and moving
  // it while its depth and colour stay would tilt a thin piece's planes far
  // off the triangle it was cut from.
  const GLfloat oneOverArea = 1.0f / planeArea;
  Plane plane;
  plane.dxAB = pdxAB * oneOverArea;
  plane.dyAB = pdyAB * oneOverArea;
  plane.dxAC = pdxAC * oneOverArea;
  plane.dyAC = pdyAC * oneOverArea;
  plane.dxA = GLfloat(span.ixLong + 6145) - a.ux;
  plane.dyA = GLfloat(span.iyTop + 6145) - a.uy;
  plane.dxLong = GLfloat(span.dxLong);
  plane.slopeNonNegative = slopeAB >= 0.0f;
  if (flags & __GL_SHADE_DEPTH_TEST) SetDepth(gc, flags, plane, a, b, c, &span, &walk);
  if (flags & __GL_SHADE_ITERATE_COLOR)
    SetSmoothColor(gc, flags, bias, plane, a, b, c, &span, &walk);
  if (flags & __GL_SHADE_TEXTURE) SetTexture(gc, flags, plane, slopeAB, a, b, c, &span, &walk);

  FrFinishSteps(&span, walk);
  span.gc = gc;
  span.y = span.iyTop;
  FrWalkRows(gc, &span, walk, span.iyMiddle - span.iyTop);
  if (span.iyBottom != span.iyMiddle) {
    const int32_t rows = span.iyBottom - span.iyMiddle;
    span.iyTop = span.iyMiddle;
    span.iyMiddle = span.iyBottom;
    span.ixShort = span.ixLower;
    span.dxShort = span.dxLower;
    span.dxShortCarry = span.dxLowerCarry;
    span.fracShort = span.fracLower;
    span.dfracShort = span.dfracLower;
    FrWalkRows(gc, &span, walk, rows);
  }
  __glRenderUnlock(gc);
}
